// CSectionsDBDlg: the section catalogue's selection dialog, as the section
// object bridge drives it (SelectSMDBSectionDlg).
//
// The library shows no window of its own. The dialog is a replaceable hook:
// a host that has a user interface installs a chooser with
// SetSectionChooser, and DoModal asks that chooser for a section of the
// catalogue. Without a chooser DoModal answers IDCANCEL at once, so every
// selection is cancelled and changes nothing.
//
// A chooser receives the catalogue, the preselection (family, catalogue
// key, sub-number, as the section object holds them), the profile filter
// and the user-interface language. It should offer only the sections whose
// family passes the filter (IsValidFamilyByFilter; a filter of 0 offers
// every section), and returns the key of the section the user chose, or 0
// when the user cancelled. A key the catalogue does not hold counts as a
// cancel. Choosers run on the caller's thread, inside DoModal.
#pragma once

#include <functional>

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"
#include "sections/CSectionData.h"
#include "sections/CSectionFiles.h"

// What the dialog starts from.
struct SectionSearch {
  int family = 0;     // family id to show first
  ulong32 key = 0;    // catalogue key to select, 0 for none
  int sub = 0;        // sub-number (1-based place in the family), 0 for none
  long32 filter = 0;  // profile filter id, 0 for none
};

typedef std::function<ulong32(const CSectionFiles& catalogue, const SectionSearch& search, int language)>
    SectionChooser;

// Installs the process-wide chooser (an empty one removes it) and returns
// the one installed before. Not thread-safe, like the catalogue itself.
TELIO_EXPORT SectionChooser SetSectionChooser(SectionChooser chooser);

class TELIO_EXPORT CSectionsDBDlg {
 public:
  enum : int { IDOK = 1, IDCANCEL = 2 };

  // catalogue must outlive the dialog; null makes DoModal cancel.
  explicit CSectionsDBDlg(const CSectionFiles* catalogue);

  void SetFilesPath(const CString& folder) { m_filesPath = folder; }
  CString GetFilesPath() const { return m_filesPath; }
  void SetSectionSearch(const SectionSearch& search) { m_search = search; }
  void SetLanguage(int language) { m_language = language; }

  // IDOK when the chooser picked a section of the catalogue (it becomes the
  // current section), IDCANCEL otherwise.
  int DoModal();

  // The section chosen by the last DoModal that answered IDOK (a cleared
  // record before).
  const CSectionData& GetCurrentSectionData() const { return m_current; }
  // The catalogue file that section came from, -1 for an added double angle
  // or none.
  int GetCurrentFileIndex() const { return m_current.fileIndex; }
  // Its family id.
  int GetOldTelmaroFamilyIndex() const { return m_current.family; }
  // Its sub-number: its 1-based place among the catalogue's sections of its
  // family; 0 before a choice.
  int GetCurrentSubNumber() const { return m_sub; }

 private:
  const CSectionFiles* m_catalogue;
  CString m_filesPath;
  SectionSearch m_search;
  int m_language = 1;
  CSectionData m_current;
  int m_sub = 0;
};
