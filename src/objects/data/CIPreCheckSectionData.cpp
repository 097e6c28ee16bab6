#include "objects/data/CIPreCheckSectionData.h"

#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/Alloc.h"
#include "platform/CCheckSum.h"
#include "platform/LastError.h"
#include "topology/CEntity.h"
#include "topology/ENTITIESStructs.h"

namespace TELMARO_DATA_OBJECTS {

CIPreCheckSectionData::CIPreCheckSectionData() : m_sectionCount(0), m_sections(nullptr), m_status(0) {}

CIPreCheckSectionData::~CIPreCheckSectionData() {
  // The lists refer to the beams: they go first.
  m_lists.RemoveAll();
  telio::Free(m_sections);
}

bool CIPreCheckSectionData::CopySections(const ulong32* codes, int n) {
  telio::Free(m_sections);
  m_sections = nullptr;
  m_sectionCount = 0;
  if (!codes || n < 1) return true;
  m_sections = static_cast<ulong32*>(telio::Malloc(sizeof(ulong32) * static_cast<std::size_t>(n)));
  if (!m_sections) {
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return false;
  }
  std::memcpy(m_sections, codes, sizeof(ulong32) * static_cast<std::size_t>(n));
  m_sectionCount = n;
  return true;
}

void CIPreCheckSectionData::ResetSections() {
  CopySections(nullptr, 0);
  m_status = 0;
}

CIBeam* CIPreCheckSectionData::GetElementBeamAt(int i) const {
  return (i >= 0 && i < m_beams.GetSize()) ? m_beams[i].GetPtr() : nullptr;
}

CIAnalysisElementLst* CIPreCheckSectionData::BeamList() {
  if (m_lists.GetSize() == 0) m_lists.AddList(CString());
  return m_lists.GetListAt(0);
}

int CIPreCheckSectionData::AddElementBeam(const BeamPtr& beam) {
  if (beam.IsNull()) return 0;
  m_beams.Add(beam);
  if (CIAnalysisElementLst* list = BeamList()) list->AddAnalysisElement(beam.GetPtr());
  return 1;
}

void CIPreCheckSectionData::AddAnalysisBeams(const std::vector<ELEMENT_OBJECTS::CEElement*>& beams) {
  // The beams are new: list 0 takes them all at once instead of searching
  // itself for each.
  if (beams.empty()) return;
  if (CIAnalysisElementLst* list = BeamList()) list->SetAnalysisElements(beams.data(), static_cast<int>(beams.size()));
}

int CIPreCheckSectionData::UpdateBeamSection(int i, int section) {
  CIBeam* beam = GetElementBeamAt(i);
  if (!beam) return 0;
  CISectionData* s = beam->PSection();
  if (s->Section() != static_cast<ulong32>(section)) m_status = 1;
  s->SetSection(static_cast<ulong32>(section), s->Family(), s->Profile());
  return 1;
}

int CIPreCheckSectionData::UpdateBeamSections(const CEntity* model) {
  using namespace ENTITIESStructs;
  const Entity* beams = model ? model->GetEntity(ENTITIESConstants::EntBeam) : nullptr;
  if (!beams) return 0;
  if (CIAnalysisElementLst* list = m_lists.GetListAt(0)) list->RemoveAllAnalysisElements();
  m_beams.RemoveAll();
  ResetData();
  std::vector<ELEMENT_OBJECTS::CEElement*> added;
  for (const Beam* b = FirstItem<Beam>(beams); b; b = NextItem(b)) {
    BeamPtr beam(new CIBeam);
    CString name;
    name.Format("%ld", static_cast<long>(b->Number()));
    beam->SetElement(name, 0, 0);
    beam->SetID(static_cast<ulong32>(b->Number()));
    if (const Section* s = b->SectionItem()) {
      CISectionData* section = beam->PSection();
      section->SetName(s->Name());
      section->SetSection(s->Key(), s->FamilyCode() / 1000, s->FamilyCode() % 1000);
      beam->SetAttr(s->Key(), 0);
    }
    m_beams.Add(beam);
    added.push_back(beam.GetPtr());
  }
  AddAnalysisBeams(added);
  return 1;
}

int CIPreCheckSectionData::ValidateBeamsForAnalysis() {
  // Each beam's analysis element, the first one that refers to it.
  std::unordered_map<const ELEMENT_OBJECTS::CEElement*, CIAnalysisElement*> elementOf;
  if (const CIAnalysisElementLst* list = m_lists.GetListAt(0)) {
    for (int i = 0; i < list->GetCount(); ++i) {
      CIAnalysisElement* e = list->GetAnalysisElementAt(i);
      if (e) elementOf.emplace(e->Element(), e);
    }
  }
  int valid = 0;
  for (int i = 0; i < m_beams.GetSize(); ++i) {
    CIBeam* beam = m_beams[i].GetPtr();
    if (!beam) continue;
    const bool ok = beam->Section().IsValidSection();
    valid += ok ? 1 : 0;
    const auto found = elementOf.find(beam);
    CIAnalysisElement* e = found == elementOf.end() ? nullptr : found->second;
    if (!e) continue;
    e->SetLockedAnalysis(ok ? 0 : 1);
    if (!ok) e->SetBAnalysis(0);
  }
  return valid;
}

void CIPreCheckSectionData::ResetData() {
  m_results.ClearResults();
  ResetSections();
}

void CIPreCheckSectionData::ResetAll() {
  ResetData();
  m_lists.EmptyLists();
  m_beams.RemoveAll();
}

bool CIPreCheckSectionData::CopyFrom(const CIPreCheckSectionData* other) {
  if (!other) return false;
  if (other == this) return true;
  ResetAll();
  std::vector<ELEMENT_OBJECTS::CEElement*> added;
  for (int i = 0; i < other->m_beams.GetSize(); ++i) {
    const CIBeam* beam = other->GetElementBeamAt(i);
    const BeamPtr copy(beam ? new CIBeam(*beam) : new CIBeam);
    m_beams.Add(copy);
    added.push_back(copy.GetPtr());
  }
  AddAnalysisBeams(added);
  const CIAnalysisElementLst* loads = other->m_lists.GetListAt(1);
  if (loads) {
    while (m_lists.GetSize() < 2) m_lists.AddList(CString());
    m_lists.GetListAt(1)->CopyFrom(loads);
  }
  if (!other->m_results.CopyTo(&m_results)) return false;
  if (!CopySections(other->m_sections, other->m_sectionCount)) return false;
  m_status = other->m_status;
  return true;
}

bool CIPreCheckSectionData::IsEqualWith(const CIPreCheckSectionData* other) const {
  if (!other || other->m_beams.GetSize() != m_beams.GetSize() || other->m_sectionCount != m_sectionCount) {
    return false;
  }
  for (int i = 0; i < m_beams.GetSize(); ++i) {
    const CIBeam* a = GetElementBeamAt(i);
    const CIBeam* b = other->GetElementBeamAt(i);
    if ((a == nullptr) != (b == nullptr) || (a && !a->IsEqualWith(b))) return false;
  }
  return m_sectionCount == 0 ||
         std::memcmp(m_sections, other->m_sections, sizeof(ulong32) * static_cast<std::size_t>(m_sectionCount)) == 0;
}

ulong32 CIPreCheckSectionData::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(m_lists.CheckSum());
  sum.AddU32(m_results.CheckSum());
  sum.AddU32(m_beams.CheckSum());
  for (int i = 0; i < m_sectionCount; ++i) sum.AddU32(m_sections[i]);
  return sum.get();
}

ulong32 CIPreCheckSectionData::CheckSumLoads() const {
  CCheckSum sum;
  if (const CIAnalysisElementLst* loads = m_lists.GetListAt(1)) sum.AddU32(loads->CheckSum());
  return sum.get();
}

ulong32 CIPreCheckSectionData::CheckSumSections() const {
  CCheckSum sum;
  for (int i = 0; i < m_sectionCount; ++i) sum.AddU32(m_sections[i]);
  return sum.get();
}

}  // namespace TELMARO_DATA_OBJECTS
