#include "objects/data/CISectionLst.h"

#include "framework/Persist.h"
#include "objects/data/CISectionElement.h"
#include "platform/CException.h"
#include "platform/LastError.h"
#include "sections/SectionObjectBridge.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;

namespace {

// The flag a section gets when the catalogue cannot refresh it.
const ulong32 kNotInCatalogue = 0x01;

}  // namespace

CISectionLst::CISectionLst(ulong32 familyFilter) : m_familyFilter(familyFilter) {}

CISectionLst::~CISectionLst() = default;

CISectionLst& CISectionLst::operator=(const CISectionLst& other) {
  if (&other != this) {
    CopyClonesFrom(other);
    m_familyFilter = other.m_familyFilter;
  }
  return *this;
}

PtrStrong<CISectionData> CISectionLst::CreateNewObject() const { return CISectionData::GetNewObject(); }

PtrStrong<CISectionData> CISectionLst::FindSection(const CISectionData* s, int) const {
  if (!s) return PtrStrong<CISectionData>();
  PtrStrong<CISectionData> copy = CISectionElement::GetNewObject();
  copy->CopyFrom(s);
  const int at = FindValue(copy);
  return at < 0 ? PtrStrong<CISectionData>() : GetAt(at);
}

int CISectionLst::FixeSectionFromDB() {
  // Asked once: a catalogue that cannot be loaded is not tried per section.
  const bool catalogue = GetSMDBKernelCatalogue() != nullptr;
  int refreshed = 0;
  for (int i = 0; i < GetCount(); ++i) {
    PtrStrong<CISectionData> section = GetAt(i);
    if (section.IsNull()) continue;
    PtrStrong<CISectionData> data;
    if (catalogue) {
      PtrStrong<CConElmData_base> obj = GetSectionObjFromData(section);
      if (!obj.IsNull() && RefreshSMDBSectionObj(obj.GetPtr())) data = GetSectionDataFromObj(obj.GetPtr());
    }
    if (data.IsNull()) {
      section->SetFlags(kNotInCatalogue, 0);
      continue;
    }
    section->CISectionData::CopyFrom(data.GetPtr());
    ++refreshed;
  }
  return refreshed;
}

void CISectionLst::LoadFamilyCatalog() {}

// Written by hand rather than with SerializeList: every element is saved
// as its section data record, whatever its class.
bool CISectionLst::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCISectionLst;
  io.Version(version);
  if (!load) {
    long32 count = GetCount();
    io.Int32(count);
    if (!io.ok()) return false;
    long32 missing = 0;
    for (long32 i = 0; i < count; ++i) {
      PtrStrong<CISectionData> e = GetAt(i);
      if (e.IsNull()) {
        ++missing;
      } else if (!e->CISectionData::Serialize(f, false)) {
        return false;
      }
    }
    for (long32 i = 0; i < missing; ++i) {
      if (!CreateNewObject()->Serialize(f, false)) return false;
    }
    return true;
  }
  RemoveAll();
  long32 count = 0;
  io.Int32(count);
  if (!io.ok()) return false;
  bool ok = true;
  for (long32 i = 0; i < count && ok; ++i) {
    PtrStrong<CISectionData> e = CreateNewObject();
    ok = e->Serialize(f, true);
    if (!ok) break;
    try {
      // A section just made cannot be held already: only the family filter
      // can refuse it, which keeps a long list's load linear.
      if (m_familyFilter == 0 || e->Family() == m_familyFilter) m_array.Add(e);
    } catch (CMemoryException*) {
      ok = io.Fail(telio::kErrorNotEnoughMemory);
    }
  }
  const ulong32 error = telio::GetLastError();
  FixeSectionFromDB();
  if (!ok) telio::SetLastError(error);
  return ok;
}

int CISectionLst::GetPosition(const PtrStrong<CISectionData>& e, int requested) const {
  if (IsRefusedByCommonRule(e)) return -1;
  if (m_familyFilter != 0 && e->Family() != m_familyFilter) return -1;
  return GetPositionBase(requested);
}

}  // namespace TELMARO_DATA_OBJECTS
