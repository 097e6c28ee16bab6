# Builds every fuzz target with a plain main that replays its corpus, and
# registers that replay with ctest. Used when libFuzzer is not available.
file(GLOB TELIO_FUZZERS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_fuzzer.cpp)
foreach(src IN LISTS TELIO_FUZZERS)
  get_filename_component(stem ${src} NAME_WE)
  string(REGEX REPLACE "_fuzzer$" "" name ${stem})
  set(target telio_${name}_replay)
  add_executable(${target} ${src} ${CMAKE_CURRENT_LIST_DIR}/ReplayMain.cpp)
  target_link_libraries(${target} PRIVATE telio)
  set(corpus ${CMAKE_CURRENT_LIST_DIR}/corpus/${name})
  if(EXISTS ${corpus})
    add_test(NAME replay_corpus_${name} COMMAND ${target} ${corpus})
  endif()
endforeach()
