// Start-up and shut-down of the library's process-wide tables.
//
// At start-up the library takes the grade standard from the settings file
// "TELMARO.INI" and reads the steel grades and the bolt tables from the
// programs' data folder; at shut-down it frees them. A shared build does
// this when the library is loaded and unloaded; a static build does it on
// the first call of EnsureLibraryTablesLoaded, which every exported steel
// grade and bolt table function makes first (the lookups, and the calls a
// caller loads or frees its own tables with, so that the start-up never
// comes after them and undoes them), and at process exit. Start-up touches
// only the settings folder (see telio::SetSpecialFolder) and does nothing
// more when there is no suite installation.
#pragma once

#include "platform/Export.h"

namespace telio {

// Runs the start-up once per process; later calls return at once.
TELIO_EXPORT void EnsureLibraryTablesLoaded();
// Runs the start-up when it has not run, then frees the tables; a later
// EnsureLibraryTablesLoaded does not read them again.
TELIO_EXPORT void UnloadLibraryTables();

}  // namespace telio
