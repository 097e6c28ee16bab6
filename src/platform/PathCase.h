// Finding files whose names differ in letter case from the name asked for.
//
// The suite's jobs come from Windows, where "TELMARO.INI" and "telmaro.ini"
// are one file. On a case-sensitive file system a lookup must still find it.
#pragma once

#include <string>

#include "platform/Export.h"

namespace telio {

// The path with backslashes read as separators and each component replaced
// by the existing entry of its folder whose name equals it ignoring ASCII
// letter case (an exact match wins). Components from the first one that has
// no such entry on are kept as given, so the result also names a file to be
// created. Null gives an empty string. On Windows the path is returned as is.
TELIO_EXPORT std::string ResolvePathCase(const char* path);

}  // namespace telio
