#include "sections/CSectionsDBDlg.h"

#include <utility>

namespace {

SectionChooser& Chooser() {
  static SectionChooser chooser;
  return chooser;
}

}  // namespace

SectionChooser SetSectionChooser(SectionChooser chooser) {
  SectionChooser before = std::move(Chooser());
  Chooser() = std::move(chooser);
  return before;
}

CSectionsDBDlg::CSectionsDBDlg(const CSectionFiles* catalogue) : m_catalogue(catalogue) {}

int CSectionsDBDlg::DoModal() {
  const SectionChooser& chooser = Chooser();
  if (!chooser || !m_catalogue || !m_catalogue->IsLoaded()) return IDCANCEL;
  const ulong32 key = chooser(*m_catalogue, m_search, m_language);
  CSectionData chosen;
  if (key == 0 || !m_catalogue->GetSectionData(key, &chosen)) return IDCANCEL;
  int sub = 0;
  for (int i = 0; i < m_catalogue->GetCount(); ++i) {
    const CSectionData* d = m_catalogue->GetAt(i);
    if (d->family != chosen.family) continue;
    ++sub;
    if (d->key == key) break;
  }
  m_current = chosen;
  m_sub = sub;
  return IDOK;
}
