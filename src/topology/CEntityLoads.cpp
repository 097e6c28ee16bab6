// CEntity: loads, results, their extremes and the result values.
#include <cmath>
#include <cstring>
#include <unordered_set>

#include "platform/Alloc.h"
#include "topology/CEntity.h"

using namespace ENTITIESStructs;
using namespace ENTITIESConstants;

namespace {

// The floats of a reference start after its head, behind the kind byte
// when it has one.
std::size_t ValuesOffset(bool kindByte) { return sizeof(BasicDataEx) + (kindByte ? 1 : 0); }

float ValueAt(const BasicDataEx* r, bool kindByte, int k) {
  float v;
  std::memcpy(&v, reinterpret_cast<const unsigned char*>(r) + ValuesOffset(kindByte) + 4 * k,
              sizeof v);
  return v;
}

void CopyValues(BasicDataEx* dst, const BasicDataEx* src, bool kindByte, int values) {
  std::memcpy(reinterpret_cast<unsigned char*>(dst) + ValuesOffset(kindByte),
              reinterpret_cast<const unsigned char*>(src) + ValuesOffset(kindByte),
              4 * static_cast<std::size_t>(values));
}

unsigned char KindByte(const BasicDataEx* r) {
  return reinterpret_cast<const unsigned char*>(r)[sizeof(BasicDataEx)];
}

void Widen(float v, float& max, float& min) {
  if (v > max) max = v;
  if (v < min) min = v;
}

constexpr int kSixValues = 6;
constexpr int kForceValues = 12;

}  // namespace

// ---- References ----------------------------------------------------------

BasicDataEx* CEntity::FindRef(int index, const BasicDataEx* like, bool kindByte,
                              int values) const {
  if (!like) return nullptr;
  for (auto* r = FirstItem<BasicDataEx>(List(index)); r; r = NextItem(r)) {
    if (r->LoadCase() != like->LoadCase()) continue;
    if (kindByte && KindByte(r) != KindByte(like)) continue;
    bool equal = true;
    for (int k = 0; k < values && equal; ++k) {
      equal = std::fabs(static_cast<double>(ValueAt(r, kindByte, k)) - ValueAt(like, kindByte, k)) <=
              kValueTolerance;
    }
    if (equal) return r;
  }
  return nullptr;
}

BasicDataEx* CEntity::MakeRef(int index, char kind, unsigned char attr, const BasicDataEx* like,
                              bool kindByte, int values) {
  auto* r = static_cast<BasicDataEx*>(NewItem(index, kind));
  if (!r) return nullptr;
  r->SetAttr(attr, 0);
  r->SetLoadCase(like->LoadCase());
  if (kindByte) reinterpret_cast<unsigned char*>(r)[sizeof(BasicDataEx)] = KindByte(like);
  CopyValues(r, like, kindByte, values);
  return r;
}

Instance* CEntity::FindInstance(int index, const BasicData* object, const BasicData* ref,
                                bool sameCase) const {
  if (!object || !ref) return nullptr;
  for (auto* i = FirstItem<Instance>(List(index)); i; i = NextItem(i)) {
    if (i->Object() != object) continue;
    if (i->Reference() == ref) return i;
    if (sameCase && i->Reference() &&
        static_cast<const BasicDataEx*>(i->Reference())->LoadCase() ==
            static_cast<const BasicDataEx*>(ref)->LoadCase()) {
      return i;
    }
  }
  return nullptr;
}

JLoad* CEntity::FindJLoad(const JLoad* load) const {
  if (!load) return nullptr;
  int list = (load->Attr() & AttrImposedDispl) ? EntDisplacement : EntNodalLoad;
  return static_cast<JLoad*>(FindRef(list, load, false, kSixValues));
}

CLoad* CEntity::FindCLoad(const CLoad* load) const {
  return static_cast<CLoad*>(FindRef(EntConcentrated, load, true, 2));
}

DLoad* CEntity::FindDLoad(const DLoad* load) const {
  return static_cast<DLoad*>(FindRef(EntDistributed, load, true, 4));
}

JLoad* CEntity::NewEntityJLoad(const JLoad* load, bool forceNew) {
  if (!load) return nullptr;
  if (!forceNew) {
    if (JLoad* found = FindJLoad(load)) return found;
  }
  int list = (load->Attr() & AttrImposedDispl) ? EntDisplacement : EntNodalLoad;
  return static_cast<JLoad*>(MakeRef(list, 'L', load->Attr() & AttrNodeLoadMask, load, false,
                                     kSixValues));
}

CLoad* CEntity::NewEntityCLoad(const CLoad* load, bool forceNew) {
  if (!load) return nullptr;
  if (!forceNew) {
    if (CLoad* found = FindCLoad(load)) return found;
  }
  return static_cast<CLoad*>(MakeRef(EntConcentrated, 'C', AttrConcentrated, load, true, 2));
}

// A distributed load always carries four values: its kind bit is the
// four-value bit.
DLoad* CEntity::NewEntityDLoad(const DLoad* load, bool forceNew) {
  if (!load) return nullptr;
  if (!forceNew) {
    if (DLoad* found = FindDLoad(load)) return found;
  }
  return static_cast<DLoad*>(MakeRef(EntDistributed, 'L', AttrDistributed, load, true, 4));
}

BasicDataEx* CEntity::BeamLoadReference(const BasicDataEx* load) {
  switch (load->Attr() & AttrBeamLoadMask) {
    case AttrConcentrated:
      return NewEntityCLoad(static_cast<const CLoad*>(load), false);
    case AttrDistributed:
      return NewEntityDLoad(static_cast<const DLoad*>(load), false);
    default:
      return nullptr;
  }
}

// ---- Load instances ------------------------------------------------------

void CEntity::TakeLoadReference(Instance* inst, BasicDataEx* ref) {
  inst->SetReference(ref);
  ref->AddUsers(1);
  if (ref->LoadCase()) ref->LoadCase()->AddCount(1);
  if (InList(EntNode, inst->Object())) static_cast<B_Node*>(inst->Object())->AddLoads(1);
  if (InList(EntBeam, inst->Object())) static_cast<Beam*>(inst->Object())->AddLoads(1);
}

void CEntity::ReleaseLoadReference(Instance* inst) {
  if (InList(EntNode, inst->Object())) static_cast<B_Node*>(inst->Object())->AddLoads(-1);
  if (InList(EntBeam, inst->Object())) static_cast<Beam*>(inst->Object())->AddLoads(-1);
  if (inst->Attr() & AttrSelfWeight) {
    if (InList(EntLdCase, inst->Reference())) static_cast<LoadingCase*>(inst->Reference())->AddCount(-1);
  } else {
    auto* ref = static_cast<BasicDataEx*>(inst->Reference());
    for (int list : {EntNodalLoad, EntDisplacement, EntConcentrated, EntDistributed}) {
      if (!InList(list, ref)) continue;
      if (ref->LoadCase()) ref->LoadCase()->AddCount(-1);
      ref->AddUsers(-1);
      if (ref->Users() < 1) EraseFrom(list, ref);
      break;
    }
  }
  inst->SetReference(nullptr);
}

Instance* CEntity::NewEntityINodeLoad(B_Node* node, const JLoad* load) {
  if (!InList(EntNode, node) || !load) return nullptr;
  JLoad* ref = NewEntityJLoad(load, false);
  if (!ref) return nullptr;
  auto* inst = static_cast<Instance*>(NewItem(EntINodeLoad, 'L'));
  if (!inst) {
    if (ref->Users() < 1) EraseFrom((ref->Attr() & AttrImposedDispl) ? EntDisplacement : EntNodalLoad, ref);
    return nullptr;
  }
  inst->SetAttr(load->Attr() & AttrNodeLoadMask, 0);
  inst->SetObject(node);
  TakeLoadReference(inst, ref);
  return inst;
}

Instance* CEntity::NewEntityIBeamLoad(Beam* beam, const BasicDataEx* load) {
  if (!InList(EntBeam, beam) || !load) return nullptr;
  BasicDataEx* ref = BeamLoadReference(load);
  if (!ref) return nullptr;
  const unsigned char kind = load->Attr() & AttrBeamLoadMask;
  auto* inst = static_cast<Instance*>(NewItem(EntIBeamLoad, 'L'));
  if (!inst) {
    if (ref->Users() < 1) EraseFrom(kind == AttrConcentrated ? EntConcentrated : EntDistributed, ref);
    return nullptr;
  }
  inst->SetAttr(kind, 0);
  inst->SetObject(beam);
  TakeLoadReference(inst, ref);
  return inst;
}

Instance* CEntity::NewEntityBeamSelfWeightLoad(BasicData* object, LoadingCase* lc) {
  if (!(InList(EntBeam, object) || InList(EntPhysBeam, object)) || !InList(EntLdCase, lc)) {
    return nullptr;
  }
  for (auto* i = FirstItem<Instance>(List(EntIBeamLoad)); i; i = NextItem(i)) {
    if ((i->Attr() & AttrSelfWeight) && i->Object() == object && i->Reference() == lc) return i;
  }
  return MakeSelfWeightLoad(object, lc);
}

Instance* CEntity::MakeSelfWeightLoad(BasicData* object, LoadingCase* lc) {
  auto* inst = static_cast<Instance*>(NewItem(EntIBeamLoad, 'L'));
  if (!inst) return nullptr;
  inst->SetAttr(AttrSelfWeight, 0);
  inst->SetObject(object);
  inst->SetReference(lc);
  lc->AddCount(1);
  if (InList(EntBeam, object)) static_cast<Beam*>(object)->AddLoads(1);
  return inst;
}

int CEntity::AddNewEntityINodeLoadAll(const JLoad* load) {
  int n = 0;
  for (auto* node = FirstItem<B_Node>(List(EntNode)); node; node = NextItem(node)) {
    if (NewEntityINodeLoad(node, load)) ++n;
  }
  return n;
}

int CEntity::AddNewEntityIBeamLoadAll(const BasicDataEx* load) {
  int n = 0;
  for (auto* beam = FirstItem<Beam>(List(EntBeam)); beam; beam = NextItem(beam)) {
    if (NewEntityIBeamLoad(beam, load)) ++n;
  }
  return n;
}

int CEntity::AddNewEntityBeamSelfWeightLoadAll(LoadingCase* lc) {
  if (!InList(EntLdCase, lc)) return 0;
  // The objects that have the case's self-weight already, found in one pass
  // rather than once per beam: they count, as NewEntityBeamSelfWeightLoad
  // gives their instance.
  std::unordered_set<const BasicData*> loaded;
  for (auto* i = FirstItem<Instance>(List(EntIBeamLoad)); i; i = NextItem(i)) {
    if ((i->Attr() & AttrSelfWeight) && i->Reference() == lc) loaded.insert(i->Object());
  }
  int n = 0;
  for (auto* beam = FirstItem<Beam>(List(EntBeam)); beam; beam = NextItem(beam)) {
    if (!InList(EntBeam, beam) && !InList(EntPhysBeam, beam)) continue;
    if (loaded.count(beam) != 0 || MakeSelfWeightLoad(beam, lc)) ++n;
  }
  return n;
}

Instance* CEntity::FindINodeLoad(const B_Node* node, const BasicData* ref) const {
  return FindInstance(EntINodeLoad, node, ref, false);
}

Instance* CEntity::FindIBeamLoad(const BasicData* object, const BasicData* ref) const {
  return FindInstance(EntIBeamLoad, object, ref, false);
}

Instance* CEntity::ChangeEntityINodeLoad(Instance* inst, const JLoad* load) {
  if (!InList(EntINodeLoad, inst) || !load) return nullptr;
  JLoad* ref = NewEntityJLoad(load, false);
  if (!ref) return nullptr;
  if (ref != inst->Reference()) {
    ReleaseLoadReference(inst);
    TakeLoadReference(inst, ref);
  }
  const unsigned char bits = load->Attr() & AttrNodeLoadMask;
  inst->SetAttr(bits, static_cast<unsigned char>(~(AttrSelected | bits)));  // the selection stays
  return inst;
}

Instance* CEntity::ChangeEntityIBeamLoad(Instance* inst, const BasicDataEx* load) {
  if (!InList(EntIBeamLoad, inst) || (inst->Attr() & AttrSelfWeight) || !load) return nullptr;
  BasicDataEx* ref = BeamLoadReference(load);
  if (!ref) return nullptr;
  if (ref != inst->Reference()) {
    ReleaseLoadReference(inst);
    TakeLoadReference(inst, ref);
  }
  const unsigned char bits = load->Attr() & AttrBeamLoadMask;
  inst->SetAttr(bits, static_cast<unsigned char>(~(AttrSelected | bits)));  // the selection stays
  return inst;
}

int CEntity::RemoveINodeLoad(Instance* inst) {
  if (!InList(EntINodeLoad, inst)) return 0;
  ReleaseLoadReference(inst);
  EraseFrom(EntINodeLoad, inst);
  return 1;
}

int CEntity::RemoveIBeamLoad(Instance* inst) {
  if (!InList(EntIBeamLoad, inst)) return 0;
  ReleaseLoadReference(inst);
  EraseFrom(EntIBeamLoad, inst);
  return 1;
}

// ---- Results -------------------------------------------------------------

ForcesRes* CEntity::FindForcesRes(const ForcesRes* res) const {
  return static_cast<ForcesRes*>(FindRef(EntForcesRes, res, false, kForceValues));
}

DispRes* CEntity::FindDispRes(const DispRes* res) const {
  return static_cast<DispRes*>(FindRef(EntDispRes, res, false, kSixValues));
}

ForcesRes* CEntity::NewEntityForcesRes(const ForcesRes* res, int forceNew) {
  if (!res) return nullptr;
  if (!forceNew) {
    if (ForcesRes* found = FindForcesRes(res)) return found;
  }
  return static_cast<ForcesRes*>(MakeRef(EntForcesRes, 'F', 0, res, false, kForceValues));
}

DispRes* CEntity::NewEntityDispRes(const DispRes* res, int forceNew) {
  if (!res) return nullptr;
  if (!forceNew) {
    if (DispRes* found = FindDispRes(res)) return found;
  }
  return static_cast<DispRes*>(MakeRef(EntDispRes, 'D', 0, res, false, kSixValues));
}

Instance* CEntity::FindIBeamRes(const Beam* beam, const ForcesRes* res) const {
  return FindInstance(EntIBeamRes, beam, res, true);
}

Instance* CEntity::FindINodeRes(const B_Node* node, const DispRes* res) const {
  return FindInstance(EntINodeRes, node, res, true);
}

Instance* CEntity::AttachResult(int instIndex, int setIndex, char kind, BasicData* object,
                                const BasicDataEx* res, int values) {
  if (!res) return nullptr;
  Instance* inst = FindInstance(instIndex, object, res, true);
  auto* set = inst ? static_cast<BasicDataEx*>(inst->Reference()) : nullptr;
  if (set && set->Users() < 2) {
    if (set != res) CopyValues(set, res, false, values);
  } else {
    if (inst) RemoveResult(instIndex, setIndex, inst);
    set = MakeRef(setIndex, kind, 0, res, false, values);
    if (!set) return nullptr;
    inst = static_cast<Instance*>(NewItem(instIndex, 'R'));
    if (!inst) {
      EraseFrom(setIndex, set);
      return nullptr;
    }
    inst->SetObject(object);
    inst->SetReference(set);
  }
  if (set->Users() < 1) set->SetUsers(1);
  return inst;
}

Instance* CEntity::NewEntityIBeamRes(Beam* beam, const ForcesRes* res) {
  if (!InList(EntBeam, beam)) return nullptr;
  return AttachResult(EntIBeamRes, EntForcesRes, 'F', beam, res, kForceValues);
}

Instance* CEntity::NewEntityINodeRes(B_Node* node, const DispRes* res) {
  if (!InList(EntNode, node)) return nullptr;
  return AttachResult(EntINodeRes, EntDispRes, 'D', node, res, kSixValues);
}

int CEntity::RemoveResult(int instIndex, int setIndex, Instance* inst) {
  if (!InList(instIndex, inst)) return 0;
  auto* set = static_cast<BasicDataEx*>(inst->Reference());
  if (InList(setIndex, set)) {
    set->AddUsers(-1);
    if (set->Users() < 1) EraseFrom(setIndex, set);
  }
  EraseFrom(instIndex, inst);
  return 1;
}

int CEntity::RemoveINodeRes(Instance* inst) { return RemoveResult(EntINodeRes, EntDispRes, inst); }

int CEntity::RemoveIBeamRes(Instance* inst) {
  return RemoveResult(EntIBeamRes, EntForcesRes, inst);
}

void CEntity::RemoveINodeResAll() {
  ResetEntity(List(EntINodeRes));
  ResetEntity(List(EntDispRes));
}

void CEntity::RemoveIBeamResAll() {
  ResetEntity(List(EntIBeamRes));
  ResetEntity(List(EntForcesRes));
}

// ---- Result values -------------------------------------------------------

int CEntity::CopyResults(const float* values, int count, int entityType) {
  ClearResults();
  if (!values || count <= 0) return 1;
  m_results = static_cast<float*>(telio::Malloc(sizeof(float) * static_cast<std::size_t>(count)));
  if (!m_results) return 0;
  std::memcpy(m_results, values, sizeof(float) * static_cast<std::size_t>(count));
  m_resultCount = count;
  m_resultsType = entityType;
  m_colors.SetMinMaxValuesTable(m_results, count);
  return 1;
}

void CEntity::ClearResults() {
  telio::Free(m_results);
  m_results = nullptr;
  m_resultCount = 0;
  m_resultsType = 0;
  m_colors.ClearValues();
}

float CEntity::GetResultValueAt(int i) const {
  return (i >= 0 && i < m_resultCount) ? m_results[i] : 0.0f;
}

// ---- Extremes and counts -------------------------------------------------

void CEntity::UpdateNodeLoadsMaxMin(const BasicDataEx* load) {
  if (!m_block) return;
  if (load) {
    if (load->Attr() & AttrForceLoad) {
      for (int k = 0; k < kSixValues; ++k) Widen(ValueAt(load, false, k), m_loadExt.nodeMax, m_loadExt.nodeMin);
    }
  } else {
    m_loadExt.nodeMax = m_loadExt.nodeMin = 0.0f;
    for (auto* r = FirstItem<BasicDataEx>(List(EntNodalLoad)); r; r = NextItem(r)) {
      for (int k = 0; k < kSixValues; ++k) Widen(ValueAt(r, false, k), m_loadExt.nodeMax, m_loadExt.nodeMin);
    }
  }
  UpdateLoadsMaxMin();
}

void CEntity::UpdateBeamLoadsMaxMin(const BasicDataEx* load) {
  if (!m_block) return;
  auto take = [this](const BasicDataEx* r) {
    switch (r->Attr() & AttrBeamLoadMask) {
      case AttrConcentrated:
        Widen(ValueAt(r, true, 1), m_loadExt.beamMax, m_loadExt.beamMin);
        break;
      case AttrDistributed:
        Widen(ValueAt(r, true, 1), m_loadExt.beamMax, m_loadExt.beamMin);
        Widen(ValueAt(r, true, 3), m_loadExt.beamMax, m_loadExt.beamMin);
        break;
      default:
        break;
    }
  };
  if (load) {
    take(load);
  } else {
    m_loadExt.beamMax = m_loadExt.beamMin = 0.0f;
    for (int list : {EntConcentrated, EntDistributed}) {
      for (auto* r = FirstItem<BasicDataEx>(List(list)); r; r = NextItem(r)) take(r);
    }
  }
  UpdateLoadsMaxMin();
}

void CEntity::UpdateLoadsMaxMin() {
  m_loadExt.max = m_loadExt.nodeMax > m_loadExt.beamMax ? m_loadExt.nodeMax : m_loadExt.beamMax;
  m_loadExt.min = m_loadExt.nodeMin < m_loadExt.beamMin ? m_loadExt.nodeMin : m_loadExt.beamMin;
}

void CEntity::ResetMaxMinLoadValues() { m_loadExt = LoadExtremes{}; }

void CEntity::ResetMaxMinResValues() { m_resExt = ResultExtremes{}; }

void CEntity::UpdateNodeDispResMaxMin(const LoadingCase* lc) {
  m_resExt.displMax = m_resExt.displMin = 0.0f;
  for (auto* r = FirstItem<BasicDataEx>(List(EntDispRes)); r; r = NextItem(r)) {
    if (lc && r->LoadCase() != lc) continue;
    for (int k = 0; k < kSixValues; ++k) Widen(ValueAt(r, false, k), m_resExt.displMax, m_resExt.displMin);
  }
}

void CEntity::UpdateBeamForcesResMaxMin(const LoadingCase* lc) {
  m_resExt.forcesMax = m_resExt.forcesMin = 0.0f;
  for (auto* r = FirstItem<BasicDataEx>(List(EntForcesRes)); r; r = NextItem(r)) {
    if (lc && r->LoadCase() != lc) continue;
    for (int k = 0; k < kForceValues; ++k) {
      Widen(ValueAt(r, false, k), m_resExt.forcesMax, m_resExt.forcesMin);
    }
  }
}

int CEntity::CountSelfLoads(const LoadingCase* lc, bool perBeam) const {
  int n = 0;
  for (auto* i = FirstItem<Instance>(List(EntIBeamLoad)); i; i = NextItem(i)) {
    if (!(i->Attr() & AttrSelfWeight) || !lc || i->Reference() != lc) continue;
    if (perBeam && InList(EntPhysBeam, i->Object())) {
      n += static_cast<const PhysBeam*>(i->Object())->BeamCount();
    } else {
      ++n;
    }
  }
  return n;
}

int CEntity::CountNodeLoadsFor(const LoadingCase* lc) const {
  int n = 0;
  for (auto* i = FirstItem<Instance>(List(EntINodeLoad)); i; i = NextItem(i)) {
    if (lc && i->Reference() && static_cast<const BasicDataEx*>(i->Reference())->LoadCase() == lc) ++n;
  }
  return n;
}

int CEntity::CountBeamLoadsFor(const LoadingCase* lc) const {
  int n = 0;
  for (auto* i = FirstItem<Instance>(List(EntIBeamLoad)); i; i = NextItem(i)) {
    if (!lc || !i->Reference()) continue;
    const LoadingCase* own = (i->Attr() & AttrSelfWeight)
                                 ? static_cast<const LoadingCase*>(i->Reference())
                                 : static_cast<const BasicDataEx*>(i->Reference())->LoadCase();
    if (own == lc) ++n;
  }
  return n;
}
