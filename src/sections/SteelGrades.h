// The process-wide steel grade table of the active grade standard.
//
// The standard's name comes from the settings file (section "Grade", key
// "Standard"); its grades from "GRADES.INI" in the programs' data folder.
// Names and numbers are taken from the table only for the standard
// "EN10147"; every other case answers with the six built-in grades S235,
// S275, S355, SUSR, S420, S460 (numbers 1 to 6). Not thread-safe: the table
// is written at library start-up and read afterwards.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"

// 1 at once when the table is loaded; 0 when settingsFile does not exist;
// otherwise reads the standard name (default "EN10025") and returns 1.
TELIO_EXPORT int InitializeSteelGradesTable(const char* settingsFile);
// 1 at once when loaded; 0 when "GRADES.INI" is not in folder; otherwise
// reads the standard's section and returns 1.
TELIO_EXPORT int ReadSteelGradesTable(const char* folder);
TELIO_EXPORT int GetCountGradesTable(bool builtIn);
// Writes the grade numbers in list order into numbers (when not null) and
// returns how many; the built-in order is 1, 2, 3, 5, 6, 4 (SUSR last, left
// out withoutUser).
TELIO_EXPORT int GetGrades(bool useTable, int* numbers, bool withoutUser);
TELIO_EXPORT CString GetGradeNameTable(int number, bool builtIn);
TELIO_EXPORT int GetGradeIndexTable(CString name, bool builtIn);
TELIO_EXPORT void DeAllocateSteelGradesTable();

// The current standard name ("Standard" until the settings are read).
TELIO_EXPORT CString GetSteelGradesStandard();
TELIO_EXPORT bool IsSteelGradesTableLoaded();
