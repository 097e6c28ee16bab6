# Installs the build into a scratch prefix and checks that the tool finds
# what was installed with it: its data folder (without --suite or a
# settings file), its bash completion and its man page.
#   cmake -DBUILD=<build tree> -DPREFIX=<scratch> -DBINDIR=bin -DDATADIR=share -DMANDIR=share/man -P InstallCheck.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                OUTPUT_QUIET RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed: ${rc}")
endif()
set(tool ${PREFIX}/${BINDIR}/telio)
foreach(f ${tool} ${PREFIX}/${DATADIR}/telio/GRADES.INI ${PREFIX}/${MANDIR}/man1/telio.1
          ${PREFIX}/${DATADIR}/bash-completion/completions/telio)
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

# An empty settings folder: the suite must come from beside the tool.
file(MAKE_DIRECTORY ${PREFIX}/config)
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${PREFIX}/config ${tool} grades --json
                OUTPUT_VARIABLE grades RESULT_VARIABLE rc)
string(JSON source GET "${grades}" suite_source)
string(JSON loaded GET "${grades}" table_loaded)
if(NOT rc EQUAL 0 OR NOT source STREQUAL "installed" OR NOT loaded)
  message(FATAL_ERROR "telio grades from the installed tool: ${rc}\n${grades}")
endif()

execute_process(COMMAND ${tool} completion OUTPUT_VARIABLE script)
file(READ ${PREFIX}/${DATADIR}/bash-completion/completions/telio installed)
if(NOT script STREQUAL installed)
  message(FATAL_ERROR "the installed completion differs from telio completion")
endif()
file(REMOVE_RECURSE ${PREFIX})
