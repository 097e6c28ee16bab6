#include "connections/CCONElementsList.h"

#include <new>
#include <type_traits>

#include "platform/CException.h"
#include "platform/LastError.h"

namespace {

CConElmData_base* DataOf(const CCONElementIntf* entry) {
  return entry ? entry->GetData().GetPtr() : nullptr;
}

// The count of a list in an archive: the count form, at most 1000 and no
// more than the bytes left can hold at minSize bytes per element. -1 after
// a failure.
int LoadListCount(CArchive& ar, std::size_t minSize, int capacity) {
  const std::uint32_t count = ar.ReadCount(minSize);
  if (!ar.ok()) return -1;
  if (count > static_cast<std::uint32_t>(capacity)) {
    ar.Fail(telio::kErrorFileCorrupt);
    return -1;
  }
  return static_cast<int>(count);
}

// Loads count elements into list, each made by make() and read by load();
// stops at the first failure, keeping the elements read whole.
template <class List, class Make, class Load>
void LoadElements(CArchive& ar, List& list, std::size_t minSize, Make make, Load load) {
  list.Empty();
  const int count = LoadListCount(ar, minSize, List::kMaxElements);
  try {
    for (int i = 0; i < count; ++i) {
      auto element = make();
      load(*element);
      if (!ar.ok()) break;
      list.Add(element);
    }
  } catch (const std::bad_alloc&) {
    ar.Fail(telio::kErrorNotEnoughMemory);
  } catch (CMemoryException*) {
    ar.Fail(telio::kErrorNotEnoughMemory);
  }
}

// Stores the count, then each slot's element by store() (empty ones as
// the element that empty stands for).
template <class List, class Empty, class Store>
void StoreElements(CArchive& ar, const List& list, Empty& empty, Store store) {
  ar.WriteCount(static_cast<std::uint32_t>(list.GetCount()));
  for (int i = 0; i < list.GetCount() && ar.ok(); ++i) {
    auto* e = list.GetElementPtr(i);
    store(e ? *e : empty);
  }
}

}  // namespace

// --- CCONElementIntf ---------------------------------------------------------

CCONElementIntf::~CCONElementIntf() = default;

void CCONElementIntf::Null() {
  m_data.Reset();
  m_extras.Reset();
  m_pos.Reset();
}

bool CCONElementIntf::Set(const CCONElementIntf& other) {
  m_data = other.m_data;
  m_extras = other.m_extras;
  m_pos = other.m_pos;
  return true;
}

bool CCONElementIntf::Set(const CCONElementIntf* other) { return other ? Set(*other) : false; }

void CCONElementIntf::EqualTo(const CCONElementIntf& other) {
  if (&other == this) return;
  auto copyPart = [](auto& mine, const auto& theirs) {
    if (theirs.IsNull()) {
      mine.Reset();
      return;
    }
    if (mine.IsNull()) {
      using Object = std::remove_reference_t<decltype(*theirs)>;
      mine = new Object(*theirs);
    } else {
      mine->EqualTo(*theirs);
    }
  };
  copyPart(m_data, other.m_data);
  copyPart(m_extras, other.m_extras);
  copyPart(m_pos, other.m_pos);
}

void CCONElementIntf::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    CConElmData_base empty;
    CConElmPos_base unplaced;
    (m_data.IsNull() ? empty : *m_data).CConElmData_base::Serialize(ar);
    (m_extras.IsNull() ? empty : *m_extras).CConElmData_base::Serialize(ar);
    (m_pos.IsNull() ? unplaced : *m_pos).Serialize(ar);
    return;
  }
  Null();
  try {
    m_data = new CConElmData_base;
    m_extras = new CConElmData_base;
    m_pos = new CConElmPos_base;
  } catch (const std::bad_alloc&) {
    Null();
    ar.Fail(telio::kErrorNotEnoughMemory);
    return;
  }
  m_data->CConElmData_base::Serialize(ar);
  m_extras->CConElmData_base::Serialize(ar);
  m_pos->Serialize(ar);
  if (!ar.ok()) Null();
}

// --- CCONElementsList --------------------------------------------------------

CCONElementsList::~CCONElementsList() = default;

int CCONElementsList::FindPosByID(int id) const {
  for (int i = 0; i < m_count; ++i) {
    const CConElmData_base* e = m_slots[i].GetPtr();
    if (e && e->HasIdentifier(id)) return i;
  }
  return -1;
}

CConElmData_base* CCONElementsList::FindElmByID(int id) const {
  return GetElementPtr(FindPosByID(id));
}

void CCONElementsList::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    CConElmData_base empty;
    StoreElements(ar, *this, empty,
                  [&ar](CConElmData_base& e) { e.CConElmData_base::Serialize(ar); });
    return;
  }
  LoadElements(
      ar, *this, CConElmData_base::kArchivedMinSize, [] { return Ptr(new CConElmData_base); },
      [&ar](CConElmData_base& e) { e.CConElmData_base::Serialize(ar); });
}

// --- CCONPOSElementsLst ------------------------------------------------------

CCONPOSElementsLst::~CCONPOSElementsLst() = default;

CConElmData_base* CCONPOSElementsLst::GetElmData(int index) const {
  return DataOf(GetElementPtr(index));
}

CConElmData_base* CCONPOSElementsLst::GetElmExtras(int index) const {
  const CCONElementIntf* entry = GetElementPtr(index);
  return entry ? entry->GetExtras().GetPtr() : nullptr;
}

CConElmPos_base* CCONPOSElementsLst::GetElmPos(int index) const {
  const CCONElementIntf* entry = GetElementPtr(index);
  return entry ? entry->GetPos().GetPtr() : nullptr;
}

int CCONPOSElementsLst::FindPosByID(int id, int start) const {
  for (int i = start < 0 ? 0 : start; i < m_count; ++i) {
    const CConElmData_base* data = DataOf(m_slots[i].GetPtr());
    if (data && data->HasIdentifier(id)) return i;
  }
  return -1;
}

CCONElementIntf* CCONPOSElementsLst::FindElmByID(int id) const {
  return GetElementPtr(FindPosByID(id));
}

CConElmData_base* CCONPOSElementsLst::FindElmDataByID(int id) const {
  return DataOf(FindElmByID(id));
}

CCONElementsList* CCONPOSElementsLst::ExportList() const {
  auto* list = new (std::nothrow) CCONElementsList;
  if (!list) return nullptr;
  for (int i = 0; i < m_count; ++i) {
    CConElmData_base* data = DataOf(m_slots[i].GetPtr());
    if (!data) continue;
    const long32* id = data->GetIData(CConElmData_base::kIdentifierKey);
    if (id && list->FindPosByID(*id) >= 0) continue;
    list->Add(m_slots[i].GetPtr()->GetData());
  }
  return list;
}

int CCONPOSElementsLst::ImportList(const CCONElementsList* list) {
  if (!list) return 0;
  Empty();
  for (int i = 0; i < list->GetCount(); ++i) {
    CCONElementIntf::DataPtr data = list->GetElement(i);
    if (data.IsNull()) continue;
    Ptr entry(new CCONElementIntf);
    entry->SetData(data);
    entry->SetExtras(new CConElmData_base);
    entry->SetPos(new CConElmPos_base);
    Add(entry);
  }
  return 1;
}

void CCONPOSElementsLst::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    CCONElementIntf empty;
    StoreElements(ar, *this, empty, [&ar](CCONElementIntf& e) { e.Serialize(ar); });
    return;
  }
  LoadElements(
      ar, *this, CCONElementIntf::kArchivedMinSize, [] { return Ptr(new CCONElementIntf); },
      [&ar](CCONElementIntf& e) { e.Serialize(ar); });
}
