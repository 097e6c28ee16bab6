// Symbol visibility for the telio library. The shared library hides every
// symbol that is not marked TELIO_EXPORT.
#pragma once

#if defined(TELIO_SHARED)
#  if defined(_WIN32)
#    if defined(TELIO_BUILDING_LIBRARY)
#      define TELIO_EXPORT __declspec(dllexport)
#    else
#      define TELIO_EXPORT __declspec(dllimport)
#    endif
#  else
#    define TELIO_EXPORT __attribute__((visibility("default")))
#  endif
#else
#  define TELIO_EXPORT
#endif
