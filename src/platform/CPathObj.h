// CPathObj: the suite's path object, and the library's case-tolerant file
// opening.
//
// Jobs come from Windows: paths may use '\' or '/', and a file named
// "BRIDGE.T3L" in a path may be "Bridge.t3l" on disk. A path object accepts
// both separators, always produces '/', and looks existing entries up
// without regard to ASCII letter case, component by component.
//
// The held path is kept normalised: backslashes become '/', runs of
// separators collapse to one, and a trailing separator is dropped (except
// for the root "/" and a drive root "C:/"). From it the object keeps four
// texts that callers copy out after every change:
//   full path       "/p/Bridge.AJF/Bridge.T3L"
//   folder part     "/p/Bridge.AJF/"      (with the trailing separator;
//                                          empty for a bare name)
//   last component  "Bridge.T3L"          (empty for a root)
//   file name       "Bridge.T3L"          (name and extension; the same text
//                                          as the last component)
// The extension is the text after the last '.' of the last component when
// that dot is not its first character ("a.T3L" has "T3L", ".cfg" has none).
#pragma once

#include <cstdio>

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

// Fixed folders that SetPathSpecial names.
enum PathSpecialDef : int {
  // The folder used when a caller has no folder of its own (settings files).
  // Unless set with telio::SetSpecialFolder: $XDG_CONFIG_HOME/telio, else
  // $HOME/.config/telio.
  kPathSpecialDefault = 2,
};

class TELIO_EXPORT CPathObj {
 public:
  explicit CPathObj(const char* path = nullptr);
  ~CPathObj();
  CPathObj(const CPathObj&) = default;
  CPathObj& operator=(const CPathObj&) = default;

  void SetPath(const char* path);
  void Clear();
  CPathObj& operator=(const CString& path);

  // Sets the path to a fixed folder (see PathSpecialDef). Returns nonzero
  // when the folder is known; otherwise the path is cleared and 0 returned.
  int SetPathSpecial(int id);

  const char* GetFullPath() const { return full_.c_str(); }
  const char* GetFolder() const { return folder_.c_str(); }
  const char* GetLastComponent() const { return last_.c_str(); }
  const char* GetFileName() const { return last_.c_str(); }
  // The extension without the dot ("" when none).
  CString GetFileEXT() const;
  // The file name less its extension.
  CString GetFileTitle() const;

  // Appends a name (or a relative path) after one separator.
  void AppendFile(const char* name);
  // Adds, replaces or drops the extension; ext may start with the dot. A
  // null or empty ext adds nothing (ChangeEXT then only drops).
  void AppendEXT(const char* ext);
  void ChangeEXT(const char* ext);
  void RemoveEXT();

  // Nonzero when the extension equals, ignoring ASCII letter case, one of
  // the entries of exts. Entries are separated by ';', '|', ',' or spaces
  // and may start with "." or "*." ("T3L", "MDD;MDL", "*.mdd|*.mdl"). A path
  // without extension matches nothing; "*" alone matches any extension.
  int IsFileEXTOneOf(const char* exts) const;

  // Nonzero when a file or folder of this path exists, its name possibly
  // differing in letter case.
  int ExistsPath() const;

  // Creates the folder chain. With lastIsFile nonzero the last component is
  // a file name and only its folder is made; the second argument is kept for
  // the suite's interface and ignored. Nonzero when the folder exists after
  // the call. Existing folders are matched ignoring letter case.
  int CreateFilePath(int lastIsFile = 0, int reserved = 0);

  // A path is absolute when it starts with a separator or a drive ("C:").
  int IsRelativePath() const;
  // The path relative to the folder base ("a/b.T3L", "../x"); letter case
  // is ignored when comparing components. When one of the two is relative
  // and the other is not, or they lie on different drives, the full path.
  CString GetRelativePath(const char* base) const;
  // base + path for a relative path, the path itself otherwise; "." and
  // ".." components are folded.
  CString GetAbsolutePath(const char* base) const;

  // The text with exactly one trailing separator (sep 0 gives '/'; an empty
  // or null text gives the separator alone) / with its trailing separators
  // ('/' or '\') removed.
  static CString AddBackSlash(const char* text, int sep = 0);
  static CString RemoveBackSlash(const char* text);

 private:
  void Split();

  std::string full_;
  std::string folder_;
  std::string last_;
};

namespace telio {

// Sets (or with a null path, forgets) the folder that SetPathSpecial(id)
// gives. Hosts and tests call it before using anything that reads settings.
TELIO_EXPORT void SetSpecialFolder(int id, const char* path);
// The folder for id as set, or the default ("" when there is none).
TELIO_EXPORT CString GetSpecialFolder(int id);

// fopen() of the case-resolved path (see ResolvePathCase). On failure
// returns null and sets the thread's last error from errno (a missing file
// as MissingPathError gives it).
TELIO_EXPORT std::FILE* OpenFile(const char* path, const char* mode);

// The code of a path that names nothing: 3 when its folder does not exist
// either, else 2.
TELIO_EXPORT ulong32 MissingPathError(const char* path);

}  // namespace telio
