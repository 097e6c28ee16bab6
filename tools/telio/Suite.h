// The suite data folder the tool reads the steel grades, bolts, concrete
// and the section catalogue from, found the same way by every command. In
// order:
//   1. --suite DIR ("option");
//   2. the suite folder that the settings file names ("settings"): key
//      "Telmaro" of section "Dirs" of TELMARO.INI in the settings folder;
//      its tables are in its programs' data folder (Bin/Data) when it has
//      one, as in an installation of the suite, else in the folder itself;
//   3. share/telio beside the tool, i.e. ../share/telio from the folder of
//      the executable ("installed");
//   4. the source tree's data/, when the executable lies in the build tree
//      ("source_tree").
// With none, the grades are the built-in ones and there are no bolts,
// concrete or catalogue ("none").
//
// A folder found in steps 1, 3 and 4 holds everything itself (the layout of
// data/): the tables, TELMARO.INI with the grade standard, FilesSectionDB.
#pragma once

#include <string>

#include "FileKind.h"

namespace telio_tool {

struct Suite {
  std::string folder;    // the suite folder, printed as "suite"; "" for none
  std::string source;    // "option", "settings", "installed", "source_tree", "none"
  std::string tables;    // holds GRADES.INI, BOLTS.LIB, CONCR.LIB
  std::string settings;  // TELMARO.INI with the grade standard, "" for none
  // The folder that holds FilesSectionDB.
  const std::string& Catalogue() const { return folder; }
  bool Found() const { return !folder.empty(); }
};

// Where to look; SuiteSearch() holds the tool's own places.
struct SuiteSearch {
  SuiteSearch();
  std::string option;             // --suite
  std::string executable;         // the running program
  std::string installedRelative;  // the data folder from the executable's folder
  std::string buildTree;          // the build tree the tool was built in
  std::string sourceData;         // the source tree's data/
};

Suite FindSuite(const SuiteSearch& where);

// The suite for a command: found as above. False, after a message on
// stderr, when --suite names no folder.
bool UseSuite(const ToolOptions& opt, Suite* suite);

// Makes the suite folder the kernel's data folder (szGDirs), which the
// library falls back on when the settings file names no suite (the
// catalogue a topology is resolved against), so that every command, not
// only those that read the suite themselves, agrees with the tool.
void ShareSuiteWithLibrary(const ToolOptions& opt);

// The same for a command that needs the section catalogue: also false,
// after a message, when no suite folder is found.
bool UseCatalogue(const ToolOptions& opt, Suite* suite);

// "suite" and "suite_source" for a command's result.
void AddSuiteFields(const Suite& suite, Json& out);

// The running program's path ("" when unknown).
std::string ExecutablePath();

}  // namespace telio_tool
