#include "mdd/CMDDMember.h"

#include "framework/Persist.h"
#include "mdd/CMDDBeam.h"
#include "mdd/CMDDMemGroup.h"
#include "mdd/CMDDNode.h"
#include "platform/CCheckSum.h"

namespace MDD_OBJECTS {

using ELEMENT_OBJECTS::CEMember;
using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGLine;
using GEOMETRY_OBJECTS::CGLineLst;
using GEOMETRY_OBJECTS::CGPoint;
using namespace TELMARO_DATA_OBJECTS;

namespace {

// Feeds what a member's geometry contributes to its checksum.
void FeedGeometry(CCheckSum& sum, const CMDDMember& m) {
  if (m.LinkStatus() != 0) {
    sum.Add(m.Name());
    sum.AddU32(m.SPoint().CheckSum());
    sum.AddU32(m.EPoint().CheckSum());
  } else {
    sum.AddU32(m.CEMember::CheckSum());
  }
}

}  // namespace

CMDDMember::CMDDMember()
    : m_section(new CISectionData),
      m_grade(new CIGradeData),
      m_hasLTB(0),
      m_linkStatus(0),
      m_ipsLinked(0),
      m_IyIz(0),
      m_KcIyIz(0) {
  EnsureValidConstraintXYLst();
  EnsureValidConstraintXZLst();
  EnsureValidLTBLst();
}

CMDDMember::CMDDMember(const CMDDMember& other)
    : ObjStrong_base(),
      CEMember(other),
      m_hasLTB(0),
      m_linkStatus(0),
      m_ipsLinked(0),
      m_IyIz(0),
      m_KcIyIz(0) {
  CopyMemberData(other);
}

CMDDMember::CMDDMember(const CMDDMember* other) : CMDDMember() { CopyFrom(other); }

CMDDMember& CMDDMember::operator=(const CMDDMember& other) {
  CopyFrom(&other);
  return *this;
}

CMDDMember::~CMDDMember() = default;

PtrStrong<CGLine> CMDDMember::GetNewObject() { return PtrStrong<CGLine>(new CMDDMember); }

bool CMDDMember::IsCompositeMember() const { return !m_section.IsNull() && m_section->Family() == kCompositeFamily; }

int CMDDMember::AddLTB(double distance, REGULATION) {
  if (m_ltb.IsNull() || m_ltb->GetCount() >= GetCountInternalPoints()) return 0;
  return m_ltb->AddLTB(distance, m_ltb->DefaultKType(), m_ltb->DefaultKwType());
}

int CMDDMember::AddConstraint(const ConstraintLstPtr& list, double distance) {
  if (list.IsNull() || list->GetCount() >= GetCountInternalPoints() || list->GetCount() >= kMaxConstraints) return 0;
  return list->AddConstraint(distance, list->SwayMember(), list->DefaultEtaValue());
}

int CMDDMember::AddConstXY(double distance, REGULATION) { return AddConstraint(m_constXY, distance); }

int CMDDMember::AddConstXZ(double distance, REGULATION) { return AddConstraint(m_constXZ, distance); }

int CMDDMember::RemoveLTB(double distance, REGULATION) {
  return m_ltb.IsNull() ? 0 : m_ltb->RemoveLTBAtDistance(distance);
}

int CMDDMember::RemoveConstXY(double distance, REGULATION) {
  return m_constXY.IsNull() ? 0 : m_constXY->RemoveConstraintsAtDistance(distance);
}

int CMDDMember::RemoveConstXZ(double distance, REGULATION) {
  return m_constXZ.IsNull() ? 0 : m_constXZ->RemoveConstraintsAtDistance(distance);
}

int CMDDMember::SynchronizeLCValuesForBeams(CILoadCaseLstSyn* lst) {
  int result = 1;
  for (int i = 0; i < GetCountInternalBeams(); ++i) {
    PtrStrong<CGLine> line = GetInternalBeamAt(i);
    if (CMDDBeam* beam = dynamic_cast<CMDDBeam*>(line.GetPtr())) result = beam->SynchronizeLCValues(lst) && result;
  }
  return result;
}

int CMDDMember::SynchronizeLCValues(CILoadCaseLstSyn* lst) {
  int result = SynchronizeLCValuesForBeams(lst);
  for (const ConstraintLstPtr* list : {&m_constXY, &m_constXZ}) {
    if (!list->IsNull()) result = (*list)->SynchronizeLCValues(lst) && result;
  }
  if (!m_ltb.IsNull()) result = m_ltb->SynchronizeLCValues(lst) && result;
  return result;
}

void CMDDMember::SynchronizeConstraintsLTB(const ConstraintLstPtr& restraints, const LTBLstPtr& ltb) {
  if (restraints.IsNull() || ltb.IsNull()) return;
  for (int i = 0; i < GetCountInternalPoints(); ++i) {
    PtrStrong<CGPoint> p = GetInternalPointAt(i);
    if (p.IsNull()) continue;
    const double d = p->GetDistanceFromPoint(m_start);
    const CIConstraint* restraint = restraints->FindConstraintAt(d);
    if (!restraint) {
      ltb->RemoveLTBAtDistance(d);
      continue;
    }
    const int type = restraint->Type() == kLTBType1 || restraint->Type() == kLTBType2 ? restraint->Type() : kLTBType2;
    if (CILTB* point = ltb->FindLTBAt(d)) {
      point->SetKType(type);
    } else {
      ltb->AddLTB(d, type, ltb->DefaultKwType());
    }
  }
}

int CMDDMember::AddToGroup(CMDDMemGroup* group) {
  if (!group || (IsTemplate() && GetCountGroups() > 0)) return 0;
  RemoveFromGroup(group);
  m_groups.Add(GroupPtr(group));
  return 1;
}

int CMDDMember::RemoveFromGroup(CMDDMemGroup* group) {
  for (int i = 0; group && i < m_groups.GetSize(); ++i) {
    if (m_groups[i].GetRawPtr() == group) {
      m_groups.RemoveAt(i);
      return 1;
    }
  }
  return 0;
}

void CMDDMember::RemoveFromAllGroups() {
  // The groups are held here while each lets the member go.
  CArrayExPointers<GroupPtr> groups;
  groups.Copy(m_groups);
  for (int i = 0; i < groups.GetSize(); ++i) {
    if (!groups[i].IsNull()) groups[i]->Remove(this);
    RemoveFromGroup(groups[i].GetRawPtr());
  }
}

CMDDMemGroup* CMDDMember::GroupAt(int i) const {
  return (i >= 0 && i < m_groups.GetSize()) ? m_groups[i].GetPtr() : nullptr;
}

void CMDDMember::CopyMemberData(const CMDDMember& other) {
  m_hasLTB = other.m_hasLTB;
  m_IyIz = other.m_IyIz;
  m_KcIyIz = other.m_KcIyIz;
  if (other.m_section.IsNull()) {
    m_section.Reset();
  } else {
    m_section = other.m_section->Clone();
  }
  if (other.m_grade.IsNull()) {
    m_grade.Reset();
  } else {
    m_grade = other.m_grade->Clone();
  }
  m_tegida.CopyFrom(&other.m_tegida);
  m_composite.CopyFrom(&other.m_composite);
  EnsureValidConstraintXYLst();
  EnsureValidConstraintXZLst();
  EnsureValidLTBLst();
  if (!other.m_constXY.IsNull()) m_constXY->CopyFrom(other.m_constXY.GetPtr());
  if (!other.m_constXZ.IsNull()) m_constXZ->CopyFrom(other.m_constXZ.GetPtr());
  if (!other.m_ltb.IsNull()) m_ltb->CopyFrom(other.m_ltb.GetPtr());
  m_ipsLinked = 0;
}

bool CMDDMember::CopyFrom(const CMDDMember* other) {
  if (!other) return false;
  if (other == this) return true;
  CEMember::CopyFrom(static_cast<const CEMember*>(other));
  CopyMemberData(*other);
  return true;
}

bool CMDDMember::CopyTo(CMDDMember* other) const { return other && other->CopyFrom(this); }

bool CMDDMember::IsEqualWith(const CMDDMember* other) const {
  if (!other || !CEMember::IsEqualWith(static_cast<const CEMember*>(other))) return false;
  if (GetCountInternalBeams() != other->GetCountInternalBeams()) return false;
  if (GetCountInternalBeams() > 0 && !m_pIntBms->IsEqualWith(other->m_pIntBms.GetPtr())) return false;
  if (m_hasLTB != other->m_hasLTB || m_IyIz != other->m_IyIz || m_KcIyIz != other->m_KcIyIz) return false;
  if (m_section.IsNull() != other->m_section.IsNull() || m_grade.IsNull() != other->m_grade.IsNull()) return false;
  if (!m_section.IsNull() && !m_section->IsEqualWith(other->m_section.GetPtr())) return false;
  if (!m_grade.IsNull() && !m_grade->IsEqualWith(other->m_grade.GetPtr())) return false;
  auto sameConstraints = [](const ConstraintLstPtr& a, const ConstraintLstPtr& b) {
    if (a.IsNull() || b.IsNull()) return a.IsNull() == b.IsNull();
    return a->IsConstraintsEqualWith(b.GetPtr()) && a->IsConstraintDataEqualWith(b.GetPtr());
  };
  if (!sameConstraints(m_constXY, other->m_constXY) || !sameConstraints(m_constXZ, other->m_constXZ)) return false;
  if (m_ltb.IsNull() != other->m_ltb.IsNull()) return false;
  if (!m_ltb.IsNull() && !(m_ltb->IsLTBEqualWith(other->m_ltb.GetPtr()) && m_ltb->IsLTBDataEqualWith(other->m_ltb.GetPtr()))) {
    return false;
  }
  return m_tegida.IsEqualWith(&other->m_tegida) && m_composite.IsEqualWith(&other->m_composite);
}

void CMDDMember::ResetLine() {
  CEMember::ResetLine();
  m_ipsLinked = 0;
}

PtrStrong<CGLine> CMDDMember::Clone() const { return PtrStrong<CGLine>(new CMDDMember(*this)); }

void CMDDMember::ResetMemberData() {
  m_linkStatus = 0;
  m_ipsLinked = 0;
  m_hasLTB = 0;
  m_IyIz = 0;
  m_KcIyIz = 0;
  if (m_section.IsNull()) m_section = new CISectionData;
  m_section->ResetSection();
  if (m_grade.IsNull()) m_grade = new CIGradeData;
  m_grade->ResetGrade();
  m_tegida.ResetTegida();
  m_composite.ResetCompositeData();
  NewLists();
}

bool CMDDMember::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCMDDMember;
  io.Version(version);
  if (!load) {
    if (!io.ok() || !CEMember::Serialize(f, false)) return false;
    io.Int(m_hasLTB).Int(m_IyIz).Int(m_KcIyIz);
    if (!io.ok()) return false;
    if (m_section.IsNull()) m_section = new CISectionData;
    if (m_grade.IsNull()) m_grade = new CIGradeData;
    EnsureValidConstraintXYLst();
    EnsureValidConstraintXZLst();
    EnsureValidLTBLst();
    return m_section->Serialize(f, false) && m_grade->Serialize(f, false) && m_constXY->Serialize(f, false) &&
           m_constXZ->Serialize(f, false) && m_ltb->Serialize(f, false) && m_tegida.Serialize(f, false) &&
           m_composite.Serialize(f, false);
  }
  ResetMemberData();
  if (!io.ok() || !CEMember::Serialize(f, true)) return false;
  switch (version) {
    case 1: {
      m_tegida.SetDefaultTegida(Length());
      return ReadCommonFields(f);
    }
    case 2: {
      m_tegida.SetDefaultTegida(Length());
      long32 dropped = 0;
      io.Int32(dropped);
      return io.ok() && ReadCommonFields(f);
    }
    case 3:
      return ReadVersion3(f);
    case 4:
      return ReadVersion4(f);
    case 5:
      return ReadVersion5(f);
    default:
      return true;  // a later layout: keep a new member's data
  }
}

bool CMDDMember::ReadCommonFields(FILE* f) {
  if (!m_section->Serialize(f, true) || !m_grade->Serialize(f, true)) return false;
  // The lists read into are the fresh ones ResetMemberData made.
  return m_constXY->Serialize(f, true) && m_constXZ->Serialize(f, true) && m_ltb->Serialize(f, true);
}

void CMDDMember::RepairTegida() {
  if (m_tegida.TegidaWord(CITegidaData::kCountOffset) <= 0 ||
      m_tegida.TegidaDouble(CITegidaData::kLengthOffset) == 0.0) {
    m_tegida.SetDefaultTegida(Length());
  }
}

bool CMDDMember::ReadVersion3(FILE* f) {
  CPersist io(f, true);
  io.Int(m_hasLTB);
  bool ok = io.ok() && ReadCommonFields(f) && m_tegida.Serialize(f, true);
  RepairTegida();
  return ok;
}

bool CMDDMember::ReadVersion4(FILE* f) {
  CPersist io(f, true);
  io.Int(m_hasLTB).Int(m_IyIz).Int(m_KcIyIz);
  bool ok = io.ok() && ReadCommonFields(f) && m_tegida.Serialize(f, true);
  RepairTegida();
  return ok;
}

bool CMDDMember::ReadVersion5(FILE* f) { return ReadVersion4(f) && m_composite.Serialize(f, true); }

ulong32 CMDDMember::CheckSum() const {
  CCheckSum sum;
  FeedGeometry(sum, *this);
  sum.AddI32(m_IyIz);
  sum.AddI32(m_KcIyIz);
  sum.AddU32(CheckSumOf(m_section));
  sum.AddU32(CheckSumOf(m_grade));
  if (IsCompositeMember()) {
    sum.AddU32(m_composite.CheckSum());
    return sum.get();
  }
  sum.AddI32(m_hasLTB);
  sum.AddU32(CheckSumOf(m_constXY));
  sum.AddU32(CheckSumOf(m_constXZ));
  sum.AddU32(CheckSumOf(m_ltb));
  sum.AddU32(m_tegida.CheckSum());
  return sum.get();
}

ulong32 CMDDMember::CheckSumGeometry() const {
  CCheckSum sum;
  FeedGeometry(sum, *this);
  return sum.get();
}

ulong32 CMDDMember::CheckSumInternalPoints() const { return CheckSumOf(m_pIntPnts); }

ulong32 CMDDMember::CheckSumInternalBeams() const { return CheckSumOf(m_pIntBms); }

void CMDDMember::EnsureValidConstraintXYLst() {
  if (m_constXY.IsNull()) m_constXY = new CIConstraintLst(this);
}

void CMDDMember::EnsureValidConstraintXZLst() {
  if (m_constXZ.IsNull()) m_constXZ = new CIConstraintLst(this);
}

void CMDDMember::EnsureValidLTBLst() {
  if (m_ltb.IsNull()) m_ltb = new CILTBLst(this);
}

void CMDDMember::ResetConstraints() {
  EnsureValidConstraintXYLst();
  EnsureValidConstraintXZLst();
  m_constXY->RemoveAllEx();
  m_constXZ->RemoveAllEx();
}

void CMDDMember::ResetLTB() {
  EnsureValidLTBLst();
  m_ltb->RemoveLTBAll();
}

void CMDDMember::NewLists() {
  m_constXY = new CIConstraintLst(this);
  m_constXZ = new CIConstraintLst(this);
  m_ltb = new CILTBLst(this);
}

void CMDDMember::EnsureValidIntPntLst() {
  CEMember::EnsureValidIntPntLst();
  m_pIntPnts->SetElementFactory(&CMDDNode::GetNewObject);
}

void CMDDMember::EnsureValidIntBmsLst() {
  if (m_pIntBms.IsNull()) m_pIntBms = new CGLineLst(ELEMENT_OBJECTS::kIntBmsLstFlags, &CMDDBeam::GetNewObject);
}

}  // namespace MDD_OBJECTS
