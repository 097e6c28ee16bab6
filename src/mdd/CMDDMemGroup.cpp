#include "mdd/CMDDMemGroup.h"

#include <cmath>
#include <string>
#include <unordered_set>
#include <vector>

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace MDD_OBJECTS {

using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGPoint;
using GEOMETRY_OBJECTS::kGeoTolerance;
using namespace TELMARO_DATA_OBJECTS;

namespace {

// The option bits from 1 to 32768, each once.
const ulong32 kOptionBits[] = {GO_LENGTH,        GO_LINE,         GO_SECTION,      GO_GRADE,
                               GO_SECTION_ANGLE, GO_PURLIN_TYPE,  GO_HAS_LTB,      GO_XY_POSITIONS,
                               GO_XZ_POSITIONS,  GO_LTB_POSITIONS, GO_XY_DATA,     GO_XZ_DATA,
                               GO_LTB_DATA,      8192,            16384,           GO_COMPOSITE};

bool Near(double a, double b) { return std::fabs(a - b) < kGeoTolerance; }

// What the restraint and LTB lists do alike, in the terms of each.
int RemoveAtDistance(CIConstraintLst& l, double d) { return l.RemoveConstraintsAtDistance(d); }
int RemoveAtDistance(CILTBLst& l, double d) { return l.RemoveLTBAtDistance(d); }
int AddCopy(CIConstraintLst& l, const CIConstraint& c) { return l.AddConstraint(new CIConstraint(c)); }
int AddCopy(CILTBLst& l, const CILTB& c) { return l.AddLTB(new CILTB(c)); }
void CopyData(CIConstraint& to, const CIConstraint& from) { to.CopyFrom(&from); }
void CopyData(CILTB& to, const CILTB& from) { to.SetLTB(from.KType(), from.KwType()); }
void Recompute(CIConstraintLst& l) { l.CalculateBucklingLength(-1); }
void Recompute(CILTBLst& l) { l.ResetLTBData(); }

// Removes from `from` every entry at a distance where `reference` has none;
// nothing when either list is missing.
template <class Ptr>
void RemoveItemsMissingIn(const Ptr& from, const Ptr& reference) {
  if (from.IsNull() || reference.IsNull()) return;
  for (int i = from->GetCount() - 1; i >= 0; --i) {
    const auto* item = from->ItemAt(i);
    if (item && reference->FindDistance(item->Distance()) < 0) RemoveAtDistance(*from, item->Distance());
  }
}

// Makes mine hold entries at exactly the distances of theirs: surplus ones
// removed, missing ones added as copies and, with copyData, the others
// given theirs' data; then the spans are recomputed. Nothing when either
// list is missing.
template <class Ptr>
void FollowPositions(const Ptr& mine, const Ptr& theirs, bool copyData) {
  if (mine.IsNull() || theirs.IsNull()) return;
  RemoveItemsMissingIn(mine, theirs);
  for (int i = 0; i < theirs->GetCount(); ++i) {
    const auto* source = theirs->ItemAt(i);
    if (!source) continue;
    auto* target = mine->FindItemAt(source->Distance());
    if (!target) {
      AddCopy(*mine, *source);
    } else if (copyData) {
      CopyData(*target, *source);
    }
  }
  Recompute(*mine);
}

}  // namespace

CMDDMemGroupParent::~CMDDMemGroupParent() = default;

PtrStrong<CMDDMemGroupLst> CMDDMemGroupParent::NewGroupLst() {
  return PtrStrong<CMDDMemGroupLst>(new CMDDMemGroupLst(this));
}

CMDDMemGroup::CMDDMemGroup(CMDDMemGroupParent* parent) : m_parent(nullptr) {
  LockAll(1);
  SetParent(parent);
}

CMDDMemGroup::CMDDMemGroup(const CMDDMemGroup& other) : ObjStrong_base(), CEElement(), ObjStrong(), m_parent(nullptr) {
  LockAll(1);
  CopyFrom(&other);
}

CMDDMemGroup::CMDDMemGroup(const CMDDMemGroup* other) : m_parent(nullptr) {
  LockAll(1);
  CopyFrom(other);
}

CMDDMemGroup::~CMDDMemGroup() = default;

CMDDMemGroup::MemberPtr CMDDMemGroup::MemberAt(int i) const {
  return (i >= 0 && i < m_members.GetSize()) ? m_members[i] : MemberPtr();
}

CString CMDDMemGroup::MemberNameAt(int i) const {
  MemberPtr m = MemberAt(i);
  return m.IsNull() ? CString() : m->Name();
}

int CMDDMemGroup::FindMemberIndex(const CString& name) const {
  for (int i = 0; i < m_members.GetSize(); ++i) {
    if (!m_members[i].IsNull() && m_members[i]->Name().CompareNoCase(name) == 0) return i;
  }
  return -1;
}

CMDDMemGroup::MemberPtr CMDDMemGroup::FindMember(const CString& name) const { return MemberAt(FindMemberIndex(name)); }

int CMDDMemGroup::Add(const CString& memberName) {
  if (!m_parent) return 0;
  MemberPtr member = m_parent->FindMember(memberName);
  if (member.IsNull() || member->GetCountGroups() > 0) return 0;
  m_members.Add(member);
  member->AddToGroup(this);
  if (m_members.GetSize() == 1) {
    SetTemplate(member.GetPtr());
  } else {
    ResetBy(member.GetPtr());
  }
  return 1;
}

int CMDDMemGroup::Add(CMDDMember* member) { return member ? Add(member->Name()) : 0; }

void CMDDMemGroup::TakeOut(int index) {
  MemberPtr member = m_members[index];
  m_members.RemoveAt(index);
  if (!member.IsNull()) member->RemoveFromGroup(this);
}

int CMDDMemGroup::Remove(int index) {
  if (index < 0 || index >= m_members.GetSize()) return 0;
  TakeOut(index);
  Reset();
  return 1;
}

int CMDDMemGroup::Remove(const CString& memberName) { return Remove(FindMemberIndex(memberName)); }

int CMDDMemGroup::Remove(CMDDMember* member) {
  for (int i = 0; member && i < m_members.GetSize(); ++i) {
    if (m_members[i].GetRawPtr() == member) return Remove(i);
  }
  return 0;
}

void CMDDMemGroup::RemoveAll() {
  while (m_members.GetSize() > 0) TakeOut(m_members.GetSize() - 1);
  Reset();
}

void CMDDMemGroup::Reset() {
  if (m_members.GetSize() == 0) {
    SetTemplate(nullptr);
    return;
  }
  SetTemplate(m_members[0].GetPtr());
  for (int i = 1; i < m_members.GetSize(); ++i) ResetBy(m_members[i].GetPtr());
}

void CMDDMemGroup::Update() {
  for (int i = 0; i < m_members.GetSize(); ++i) Update(m_members[i].GetPtr());
}

void CMDDMemGroup::Validate() {
  if (m_parent) {
    for (int i = m_members.GetSize() - 1; i >= 0; --i) {
      const CString name = MemberNameAt(i);
      MemberPtr member = m_parent->FindMember(name);
      if (name.IsEmpty() || member.IsNull()) {
        m_members.RemoveAt(i);
        continue;
      }
      m_members.SetAt(i, member);
      member->AddToGroup(this);
    }
  }
  ValidateTemplate();
}

int CMDDMemGroup::GetOptionMatch(CMDDMember* m) const {
  if (m_members.GetSize() == 0) return -1;
  return static_cast<int>(GetOptionMatch(m_template.GetPtr(), m));
}

ulong32 CMDDMemGroup::GetOptionMatch(const CMDDMember* a, const CMDDMember* b) {
  if (!a || !b) return 0;
  ulong32 match = 0;
  if (Near(a->Length(), b->Length())) {
    match |= GO_LENGTH;
    if (a->MatchWith(b)) match |= GO_LINE;
  }
  const CISectionData* sa = a->GetSection().GetPtr();
  const CISectionData* sb = b->GetSection().GetPtr();
  if (sa && sb && sa->IsEqualWith(sb)) {
    match |= GO_SECTION;
    if (Near(sa->BAnnet(), sb->BAnnet())) match |= GO_SECTION_ANGLE;
  }
  const CIGradeData* ga = a->GetGrade().GetPtr();
  if (ga && ga->IsEqualWith(b->GetGrade().GetPtr())) match |= GO_GRADE;
  if (a->Tegida().TegidaWord(CITegidaData::kTypeOffset) == b->Tegida().TegidaWord(CITegidaData::kTypeOffset)) {
    match |= GO_PURLIN_TYPE;
  }
  if (a->HasLTB() == b->HasLTB()) match |= GO_HAS_LTB;
  const CMDDMember::ConstraintLstPtr lists[2][2] = {{a->GetConstraintXYLst(), b->GetConstraintXYLst()},
                                                    {a->GetConstraintXZLst(), b->GetConstraintXZLst()}};
  const ulong32 positions[2] = {GO_XY_POSITIONS, GO_XZ_POSITIONS}, data[2] = {GO_XY_DATA, GO_XZ_DATA};
  for (int k = 0; k < 2; ++k) {
    const CIConstraintLst* la = lists[k][0].GetPtr();
    const CIConstraintLst* lb = lists[k][1].GetPtr();
    if (!la || !lb || !la->IsConstraintsEqualWith(lb)) continue;
    match |= positions[k];
    if (la->IsConstraintDataEqualWith(lb)) match |= data[k];
  }
  const CILTBLst* ta = a->GetLTBLst().GetPtr();
  const CILTBLst* tb = b->GetLTBLst().GetPtr();
  if (ta && tb && ta->IsLTBEqualWith(tb)) {
    match |= GO_LTB_POSITIONS;
    if (ta->IsLTBDataEqualWith(tb)) match |= GO_LTB_DATA;
  }
  if (a->IsCompositeMember() == b->IsCompositeMember()) match |= GO_COMPOSITE;
  return match;
}

void CMDDMemGroup::Lock(GROUP_OPTIONS option, int value) { m_locks.SetAt(static_cast<int>(option), value); }

void CMDDMemGroup::LockAll(int value) {
  for (ulong32 bit : kOptionBits) m_locks.SetAt(static_cast<int>(bit), value);
}

int CMDDMemGroup::GetOptionValue(GROUP_OPTIONS option) const {
  int value = 0;
  m_locks.Lookup(static_cast<int>(option), value);
  return value;
}

int CMDDMemGroup::GetFlagValue(GROUP_OPTIONS option) const {
  int value = 0;
  m_flags.Lookup(static_cast<int>(option), value);
  return value;
}

bool CMDDMemGroup::CopyFrom(const CMDDMemGroup* other) {
  if (!other) return false;
  if (other == this) return true;
  CEElement::CopyFrom(static_cast<const CEElement*>(other));
  m_description = other->m_description;
  m_template = other->m_template.IsNull() ? MemberPtr() : MemberPtr(new CMDDMember(*other->m_template));
  m_members.Copy(other->m_members);
  m_locks = other->m_locks;
  m_flags = other->m_flags;
  return true;
}

bool CMDDMemGroup::CopyTo(CMDDMemGroup* other) const { return other && other->CopyFrom(this); }

bool CMDDMemGroup::IsEqualWith(const CMDDMemGroup* other) const {
  if (!other || !CEElement::IsEqualWith(static_cast<const CEElement*>(other))) return false;
  if (m_description.CompareNoCase(other->m_description) != 0 || Count() != other->Count()) return false;
  for (int i = 0; i < Count(); ++i) {
    if (MemberNameAt(i).CompareNoCase(other->MemberNameAt(i)) != 0) return false;
  }
  return true;
}

bool CMDDMemGroup::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCMDDMemGroup;
  io.Version(version);
  if (!io.ok() || !CEElement::Serialize(f, load)) return false;
  if (load && version != _SerializeVersionCMDDMemGroup) return true;
  io.Text(m_description);
  if (!io.ok()) return false;
  if (m_template.IsNull()) m_template = new CMDDMember;
  if (!m_template->Serialize(f, load)) return false;
  if (!load) {
    long32 count = m_members.GetSize();
    io.Int32(count);
    for (int i = 0; i < m_members.GetSize() && io.ok(); ++i) {
      CString name = MemberNameAt(i);
      io.Text(name);
    }
    return io.ok();
  }
  while (m_members.GetSize() > 0) TakeOut(m_members.GetSize() - 1);
  long32 count = 0;
  io.Int32(count);
  for (long32 i = 0; i < count && io.ok(); ++i) {
    CString name;
    io.Text(name);
    if (!io.ok()) break;
    MemberPtr placeholder(new CMDDMember);
    placeholder->SetName(name);
    m_members.Add(placeholder);
  }
  Validate();
  return io.ok();
}

ulong32 CMDDMemGroup::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CEElement::CheckSum());
  sum.Add(m_description);
  sum.AddU32(CheckSumOf(m_template));
  sum.AddU32(m_members.CheckSum());
  return sum.get();
}

void CMDDMemGroup::Detach() {
  while (m_members.GetSize() > 0) TakeOut(m_members.GetSize() - 1);
  if (!m_template.IsNull()) m_template->RemoveFromGroup(this);
  m_template.Reset();
  m_parent = nullptr;
}

void CMDDMemGroup::SetParent(CMDDMemGroupParent* parent) {
  CMDDMemGroupParent* old = m_parent;
  while (m_members.GetSize() > 0) TakeOut(m_members.GetSize() - 1);
  if (old && !Name().IsEmpty()) old->RemoveMember(Name());
  if (!m_template.IsNull()) m_template->RemoveFromGroup(this);
  m_template.Reset();
  m_parent = parent;
  ValidateTemplate();
}

void CMDDMemGroup::SetTemplate(CMDDMember* member) {
  ValidateTemplate();
  if (m_template.IsNull()) m_template = new CMDDMember;
  if (!member || !m_template->CopyFrom(member)) m_template->ResetLine();
  m_template->SetName(Name());
  m_template->SetAttr(kMemberTemplate, 0);
  *PFlags() = 0xFFFFFFFFu;  // every option, until members narrow it
  *m_template->PFlags() = Flags();
}

void CMDDMemGroup::ResetBy(CMDDMember* member) {
  if (!member || m_template.IsNull()) return;
  const ulong32 keep = GetOptionMatch(m_template.GetPtr(), member);
  SetFlags(0, ~keep);
  *m_template->PFlags() = Flags();
  const CMDDMember& t = *m_template;
  RemoveItemsMissingIn(t.GetConstraintXYLst(), member->GetConstraintXYLst());
  RemoveItemsMissingIn(t.GetConstraintXZLst(), member->GetConstraintXZLst());
  RemoveItemsMissingIn(t.GetLTBLst(), member->GetLTBLst());
}

void CMDDMemGroup::Update(CMDDMember* member) {
  if (!member || m_template.IsNull()) return;
  const CMDDMember& t = *m_template;
  const ulong32 mask = Flags();
  if ((mask & GO_LENGTH) && !Near(member->Length(), t.Length())) {
    member->SetLine(CGPoint(0, 0, 0), CGPoint(t.Length(), 0, 0));
    CILoadCaseLstSyn* loads = m_parent ? m_parent->GetLoadCaseLst() : nullptr;
    if (member->SynchronizeLCValues(loads) && m_parent) m_parent->LinkIPsLCValuesToMember(member, -1);
  }
  if (mask & GO_SECTION) {
    CISectionData* mine = member->GetSection().GetPtr();
    const CISectionData* theirs = t.GetSection().GetPtr();
    if (mine && theirs) {
      if (!mine->IsEqualWith(theirs)) mine->CopyFrom(theirs);
      if (mask & GO_SECTION_ANGLE) mine->SetBAnnet(theirs->BAnnet());
    }
    CIGradeData* grade = member->GetGrade().GetPtr();
    if ((mask & GO_GRADE) && grade && !t.GetGrade().IsNull()) grade->CopyFrom(t.GetGrade().GetPtr());
    if (mask & GO_HAS_LTB) member->SetHasLTB(t.HasLTB());
    if (mask & GO_COMPOSITE) member->PCompositeData()->CopyFrom(&t.CompositeData());
  }
  if (mask & GO_LENGTH) {
    if (mask & GO_XY_POSITIONS) FollowPositions(member->GetConstraintXYLst(), t.GetConstraintXYLst(), mask & GO_XY_DATA);
    if (mask & GO_XZ_POSITIONS) FollowPositions(member->GetConstraintXZLst(), t.GetConstraintXZLst(), mask & GO_XZ_DATA);
    if (mask & GO_LTB_POSITIONS) FollowPositions(member->GetLTBLst(), t.GetLTBLst(), mask & GO_LTB_DATA);
  }
}

void CMDDMemGroup::ValidateTemplate() {
  if (!m_parent || Name().IsEmpty()) return;
  MemberPtr held = m_parent->FindMember(Name());
  if (!held.IsNull()) {
    if (held != m_template) {
      if (!m_template.IsNull()) m_template->RemoveFromGroup(this);
      m_template = held;
    }
  } else {
    if (m_template.IsNull()) m_template = new CMDDMember;
    m_template->SetName(Name());
    m_parent->AddMember(m_template);
  }
  m_template->SetAttr(kMemberTemplate, 0);
  m_template->AddToGroup(this);
}

CMDDMemGroupLst::CMDDMemGroupLst(CMDDMemGroupParent* parent) : m_parent(parent) {}

CMDDMemGroupLst::~CMDDMemGroupLst() {
  for (int i = 0; i < GetSize(); ++i) {
    if (!GetAt(i).IsNull()) GetAt(i)->Detach();
  }
}

CMDDMemGroup* CMDDMemGroupLst::GroupAt(int i) const { return (i >= 0 && i < GetSize()) ? GetAt(i).GetPtr() : nullptr; }

int CMDDMemGroupLst::GroupIndexByName(const CString& name) const {
  for (int i = 0; i < GetSize(); ++i) {
    if (!GetAt(i).IsNull() && GetAt(i)->Name().CompareNoCase(name) == 0) return i;
  }
  return -1;
}

CMDDMemGroup* CMDDMemGroupLst::FindGroupByName(const CString& name) const { return GroupAt(GroupIndexByName(name)); }

int CMDDMemGroupLst::FindFirstGroupOfMember(const CString& memberName) const {
  for (int i = 0; i < GetSize(); ++i) {
    if (!GetAt(i).IsNull() && GetAt(i)->MemberExists(memberName)) return i;
  }
  return -1;
}

CMDDMemGroup* CMDDMemGroupLst::AddGroup() {
  if (!m_parent) return nullptr;
  GroupPtr group(new CMDDMemGroup(static_cast<CMDDMemGroupParent*>(nullptr)));
  CString name;
  GetValidGroupName(name, -1);
  group->SetName(name);
  group->SetParent(m_parent);
  Add(group);
  return group.GetPtr();
}

int CMDDMemGroupLst::RemoveGroupAt(int index) {
  CMDDMemGroup* group = GroupAt(index);
  if (index < 0 || index >= GetSize()) return 0;
  if (group) group->SetParent(nullptr);
  RemoveAt(index);
  return 1;
}

void CMDDMemGroupLst::RemoveGroupAll() {
  while (GetSize() > 0) RemoveGroupAt(GetSize() - 1);
}

int CMDDMemGroupLst::RenameGroup(int index, CString name) {
  CMDDMemGroup* group = GroupAt(index);
  if (!group) return -1;
  const int result = GetValidGroupName(name, index);
  group->SetName(name);
  if (!group->GetTemplate().IsNull()) group->GetTemplate()->SetName(name);
  return result;
}

int CMDDMemGroupLst::RenameGroup(CMDDMemGroup* group, CString name) {
  for (int i = 0; group && i < GetSize(); ++i) {
    if (GetAt(i).GetRawPtr() == group) return RenameGroup(i, name);
  }
  return -1;
}

int CMDDMemGroupLst::GetValidGroupName(CString& name, int skip) const {
  std::unordered_set<std::string> taken;
  if (m_parent) {
    for (int i = 0; i < m_parent->GetCountMembers(); ++i) {
      PtrStrong<CMDDMember> m = m_parent->MemberAt(i);
      if (!m.IsNull()) taken.insert(m->Name().MakeLower().str());
    }
  } else {
    for (int i = 0; i < GetSize(); ++i) {
      if (i != skip && !GetAt(i).IsNull()) taken.insert(GetAt(i)->Name().MakeLower().str());
    }
  }
  auto isTaken = [&taken](CString candidate) { return taken.count(candidate.MakeLower().str()) != 0; };
  CString base = name;
  if (base.IsEmpty() && m_parent) base = m_parent->GetDefaultGroupName();
  if (base.IsEmpty()) base = "Group";
  int result = 1;
  int next = 1;
  if (name.IsEmpty()) {
    name.Format("%s%d", base.GetString(), next++);
    result = 0;
  }
  while (isTaken(name)) {
    name.Format("%s%d", base.GetString(), next++);
    result = 0;
  }
  return result;
}

int CMDDMemGroupLst::AutoCreateGroups(int) {
  if (!m_parent) return 0;
  std::vector<std::vector<PtrStrong<CMDDMember>>> buckets;
  for (int i = 0; i < m_parent->GetCountMembers(); ++i) {
    PtrStrong<CMDDMember> m = m_parent->MemberAt(i);
    if (m.IsNull() || m->IsTemplate() || m->GetCountGroups() > 0) continue;
    bool placed = false;
    for (auto& bucket : buckets) {
      if ((CMDDMemGroup::GetOptionMatch(bucket.front().GetPtr(), m.GetPtr()) & kAllGroupOptions) == kAllGroupOptions) {
        bucket.push_back(m);
        placed = true;
        break;
      }
    }
    if (!placed) buckets.push_back({m});
  }
  int made = 0;
  for (const auto& bucket : buckets) {
    if (bucket.size() < 2) continue;
    CMDDMemGroup* group = AddGroup();
    if (!group) break;
    ++made;
    for (const auto& m : bucket) group->Add(m->Name());
  }
  return made;
}

bool CMDDMemGroupLst::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCMDDMemGroupLst;
  io.Version(version);
  if (!load) {
    long32 count = GetSize();
    io.Int32(count);
    for (int i = 0; i < GetSize() && io.ok(); ++i) {
      GroupPtr group = GetAt(i);
      if (group.IsNull()) group = new CMDDMemGroup(static_cast<CMDDMemGroupParent*>(nullptr));
      if (!group->Serialize(f, false)) return false;
    }
    return io.ok();
  }
  RemoveGroupAll();
  long32 count = 0;
  io.Int32(count);
  for (long32 i = 0; i < count && io.ok(); ++i) {
    GroupPtr group(new CMDDMemGroup(m_parent));
    const bool ok = group->Serialize(f, true);
    Add(group);
    if (!ok) return false;
  }
  return io.ok();
}

ulong32 CMDDMemGroupLst::CheckSum() const {
  CCheckSum sum;
  for (int i = 0; i < GetSize(); ++i) {
    if (!GetAt(i).IsNull()) sum.AddU32(GetAt(i)->CheckSum());
  }
  return sum.get();
}

}  // namespace MDD_OBJECTS
