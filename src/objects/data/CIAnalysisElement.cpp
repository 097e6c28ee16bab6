#include "objects/data/CIAnalysisElement.h"

#include <cstdint>
#include <unordered_set>

#include "framework/Persist.h"
#include "platform/Alloc.h"
#include "platform/CCheckSum.h"
#include "platform/CException.h"

namespace TELMARO_DATA_OBJECTS {

using ELEMENT_OBJECTS::CEElement;
using GE_::Safe::PtrStrong;

namespace {

ulong32 NameHash(const CString& name) {
  CCheckSum sum;
  sum.Add(name);
  return sum.get();
}

}  // namespace

CIAnalysisElement::CIAnalysisElement() { ResetAnalysisElement(); }

CIAnalysisElement::CIAnalysisElement(CEElement* element, int analysis)
    : m_element(element), m_analysis(analysis), m_locked(0) {}

CIAnalysisElement::~CIAnalysisElement() = default;

PtrStrong<CIAnalysisElement> CIAnalysisElement::GetNewObject() {
  return PtrStrong<CIAnalysisElement>(new CIAnalysisElement);
}

CString CIAnalysisElement::Name() const { return m_element ? m_element->Name() : CString(); }

bool CIAnalysisElement::IsEqualWith(const CIAnalysisElement* other) const {
  return other && m_element == other->m_element && m_analysis == other->m_analysis && m_locked == other->m_locked;
}

bool CIAnalysisElement::CopyFrom(const CIAnalysisElement* other) {
  if (!other) return false;
  m_element = other->m_element;
  m_analysis = other->m_analysis;
  m_locked = other->m_locked;
  return true;
}

void CIAnalysisElement::ResetAnalysisElement() {
  m_element = nullptr;
  m_analysis = 0;
  m_locked = 0;
}

bool CIAnalysisElement::Serialize(FILE* f, bool load) {
  CEElement scratch;
  CEElement* element = m_element ? m_element : &scratch;
  if (!element->Serialize(f, load)) return false;
  CPersist io(f, load);
  io.Int(m_analysis);
  return io.ok();
}

ulong32 CIAnalysisElement::CheckSum() const {
  CCheckSum sum;
  unsigned char address[8];
  telio::EncodeFixed64(address, static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(m_element)));
  sum.AddBytes(address, 8);
  sum.Add(Name());
  sum.AddI32(m_analysis);
  sum.AddI32(m_locked);
  return sum.get();
}

CIAnalysisElementLst::CIAnalysisElementLst(const CString& name) : m_name(name) {}

CIAnalysisElementLst::~CIAnalysisElementLst() = default;

PtrStrong<CIAnalysisElementLst> CIAnalysisElementLst::GetNewObject() {
  return PtrStrong<CIAnalysisElementLst>(new CIAnalysisElementLst);
}

int CIAnalysisElementLst::FindIndexOf(const CEElement* element) const {
  for (int i = 0; i < GetCount(); ++i) {
    const ElementPtr& e = *ElementAt(i);
    if (!e.IsNull() && e->Element() == element) return i;
  }
  return -1;
}

int CIAnalysisElementLst::AddAnalysisElement(CEElement* element) {
  if (!element || FindIndexOf(element) >= 0) return 0;
  return AddNew(ElementPtr(new CIAnalysisElement(element)));
}

void CIAnalysisElementLst::SetAnalysisElements(CEElement* const* elements, int count) {
  RemoveAll();
  std::unordered_set<const CEElement*> held;
  SetGrowStep(count);
  for (int i = 0; i < count; ++i) {
    if (elements[i] && held.insert(elements[i]).second) AddNew(ElementPtr(new CIAnalysisElement(elements[i])));
  }
  SetGrowStep(0);
}

int CIAnalysisElementLst::RemoveAnalysisElement(CEElement* element) {
  const int i = element ? FindIndexOf(element) : -1;
  if (i < 0) return 0;
  RemoveAt(i);
  return 1;
}

CIAnalysisElement* CIAnalysisElementLst::FindAnalysisElement(const CEElement* element) const {
  const int i = element ? FindIndexOf(element) : -1;
  return i < 0 ? nullptr : ElementAt(i)->GetPtr();
}

CIAnalysisElement* CIAnalysisElementLst::FindAnalysisElement(const CString& name) const {
  for (int i = 0; i < GetCount(); ++i) {
    const ElementPtr& e = *ElementAt(i);
    if (!e.IsNull() && e->Element() && e->Element()->NameRef().CompareNoCase(name) == 0) return e.GetPtr();
  }
  return nullptr;
}

CIAnalysisElement* CIAnalysisElementLst::GetAnalysisElementAt(int i) const {
  const ElementPtr* e = ElementAt(i);
  return e ? e->GetPtr() : nullptr;
}

int CIAnalysisElementLst::GetCountAnalysisElements(int v) const {
  int count = 0;
  for (int i = 0; i < GetCount(); ++i) {
    const ElementPtr& e = *ElementAt(i);
    if (!e.IsNull() && e->BAnalysis() == v) ++count;
  }
  return count;
}

void CIAnalysisElementLst::SetAnalysisAll(int v) {
  for (int i = 0; i < GetCount(); ++i) {
    const ElementPtr& e = *ElementAt(i);
    if (!e.IsNull()) e->SetBAnalysis(v != 0 && !e->IsLockedAnalysis() ? 1 : 0);
  }
}

int* CIAnalysisElementLst::AllocateIndexTable(int& count, int v) const {
  count = 0;
  const int matching = GetCountAnalysisElements(v);
  if (matching == 0) return nullptr;
  int* table = static_cast<int*>(telio::Malloc(sizeof(int) * static_cast<std::size_t>(matching)));
  if (!table) return nullptr;
  for (int i = 0; i < GetCount(); ++i) {
    const ElementPtr& e = *ElementAt(i);
    if (!e.IsNull() && e->BAnalysis() == v) table[count++] = i;
  }
  return table;
}

CMapHashNames* CIAnalysisElementLst::GenerateMapHashNamesSelected() const {
  CMapHashNames* map = new CMapHashNames;
  try {
    for (int i = 0; i < GetCount(); ++i) {
      const ElementPtr& e = *ElementAt(i);
      if (!e.IsNull() && e->Element() && e->BAnalysis() != 0) map->SetAt(NameHash(e->Name()), 1);
    }
  } catch (CMemoryException*) {
    delete map;
    return nullptr;
  }
  return map;
}

void CIAnalysisElementLst::ResetSelectedByMapHashNames(const CMapHashNames* map) {
  if (!map) return;
  for (int i = 0; i < GetCount(); ++i) {
    const ElementPtr& e = *ElementAt(i);
    if (e.IsNull()) continue;
    int value = 0;
    e->SetBAnalysis(map->Lookup(NameHash(e->Name()), value) ? value : 0);
  }
}

bool CIAnalysisElementLst::CopyFrom(const CIAnalysisElementLst* other) {
  if (!other) return false;
  m_name = other->m_name;
  return CSmartCollection::CopyFrom(other);
}

bool CIAnalysisElementLst::Serialize(FILE* f, bool load) {
  return SerializeList(f, load, _SerializeVersionCIAnalysisElementLst, *this);
}

ulong32 CIAnalysisElementLst::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CSmartCollection::CheckSum());
  return sum.get();
}

ulong32 CIAnalysisElementLst::CheckSumElements() const {
  CCheckSum sum;
  sum.AddI32(GetCount());
  for (int i = 0; i < GetCount(); ++i) {
    const ElementPtr& e = *ElementAt(i);
    if (!e.IsNull()) sum.AddU32(e->CheckSum());
  }
  return sum.get();
}

ulong32 CIAnalysisElementLst::CheckSumSelected() const {
  CCheckSum sum;
  sum.AddI32(GetCountAnalysisElements(1));
  for (int i = 0; i < GetCount(); ++i) {
    const ElementPtr& e = *ElementAt(i);
    if (!e.IsNull() && e->BAnalysis() == 1) sum.AddU32(e->CheckSum());
  }
  return sum.get();
}

CIAnalysisElementLstArray::CIAnalysisElementLstArray() = default;

CIAnalysisElementLstArray::~CIAnalysisElementLstArray() = default;

CIAnalysisElementLst* CIAnalysisElementLstArray::GetListAt(int i) const {
  return (i >= 0 && i < GetSize()) ? GetAt(i).GetPtr() : nullptr;
}

CIAnalysisElementLst* CIAnalysisElementLstArray::AddList(const CString& name) {
  ListPtr list(new CIAnalysisElementLst(name));
  Add(list);
  return list.GetPtr();
}

void CIAnalysisElementLstArray::EmptyLists() {
  for (int i = 0; i < GetSize(); ++i) {
    if (!GetAt(i).IsNull()) GetAt(i)->RemoveAllAnalysisElements();
  }
}

}  // namespace TELMARO_DATA_OBJECTS
