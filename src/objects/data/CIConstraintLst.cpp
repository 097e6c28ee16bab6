#include "objects/data/CIConstraintLst.h"

#include <cmath>

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

using GEOMETRY_OBJECTS::CGPoint;
using GEOMETRY_OBJECTS::kGeoTolerance;

CIConstraintLst::CIConstraintLst(GEOMETRY_OBJECTS::CGLine* line)
    : CISpanLst(line), m_swayMember(0), m_defaultEta(1.0) {}

CIConstraintLst::~CIConstraintLst() = default;

CIConstraintLst& CIConstraintLst::operator=(const CIConstraintLst& other) {
  CopyFrom(&other);
  return *this;
}

int CIConstraintLst::AddConstraint(CIConstraint* constraint) { return AddItem(ItemPtr(constraint)); }

int CIConstraintLst::AddConstraint(double position, int type, double eta) {
  return AddItem(ItemPtr(new CIConstraint(position, type, m_swayMember, eta)));
}

int CIConstraintLst::AddConstraint(const CGPoint& at, int type, double eta) {
  GEOMETRY_OBJECTS::CGLine* line = GetLine();
  double position = 0;
  if (!line || !line->Point2Distance(at, &position, true)) return 0;
  return AddConstraint(position, type, eta);
}

int CIConstraintLst::AddConstraintFromOld(double position, int code, double eta) {
  CIConstraint* constraint = new CIConstraint(position, kConstraintType2, 0, 0.0);
  constraint->SetTypeFromOld(code, eta);
  return AddItem(ItemPtr(constraint));
}

int CIConstraintLst::RemoveConstraintsAtDistance(double position) {
  return RemoveItemsWhere([position](const CIConstraint& c) { return c.CGDistance::IsEqualWith(position); });
}

int CIConstraintLst::RemoveConstraintsWithType(int type) {
  return RemoveItemsWhere([type](const CIConstraint& c) { return c.Type() == type; });
}

int CIConstraintLst::RemoveConstraintsWithEta(double eta) {
  return RemoveItemsWhere([eta](const CIConstraint& c) { return std::fabs(c.Eta() - eta) <= kGeoTolerance; });
}

int CIConstraintLst::RemoveConstraintsEqualWith(const CIConstraint& constraint) {
  return RemoveItemsWhere([&constraint](const CIConstraint& c) { return c.IsEqualWith(&constraint); });
}

void CIConstraintLst::SetSwayMember(int s) {
  m_swayMember = IsLockSwayMember() ? 0 : s;
  for (int i = 0; i < GetCount(); ++i) {
    if (CIConstraint* c = GetConstraintAt(i)) c->SetSway(m_swayMember);
  }
  CalculateBucklingLength(-1);
}

int CIConstraintLst::IsLockSwayMember() const {
  GEOMETRY_OBJECTS::CGLine* line = GetLine();
  if (!line || GetCount() != 2) return 1;
  const CIConstraint* first = GetConstraintAt(0);
  const CIConstraint* last = GetConstraintAt(1);
  if (!first || !last || !first->IsEqualWith(0.0) || !last->IsEqualWith(line->Length())) return 1;
  return first->Type() == kConstraintType1 || last->Type() == kConstraintType1 ? 0 : 1;
}

void CIConstraintLst::CalculateBucklingLength(int span) {
  if (span < -1 || (span != -1 && span >= GetCountSpans())) return;
  if (!InvalidateConstraints()) {
    ResetConstraintsData();
    return;
  }
  const int first = span == -1 ? 0 : span;
  const int end = span == -1 ? GetCountSpans() : span + 1;
  for (int i = first; i < end; ++i) {
    if (CIConstraintData* data = GetConstraintDataAt(i)) data->ResetConstraintData();
  }
}

int CIConstraintLst::InvalidateConstraints() { return CompleteAndCheckSpans(); }

int CIConstraintLst::ResetConstraintsData() {
  ResetSpans();
  return 1;
}

CIConstraintLst::ItemPtr CIConstraintLst::NewEndItem(double position) const {
  return ItemPtr(new CIConstraint(position, kConstraintType2, m_swayMember, m_defaultEta));
}

void CIConstraintLst::AfterItemsChanged() {
  ResetConstraintsData();
  if (m_swayMember) SetSwayMember(m_swayMember);
}

bool CIConstraintLst::IsConstraintsEqualWith(const CIConstraintLst* other) const {
  return other && IsItemsEqualWith(*other);
}

bool CIConstraintLst::IsConstraintDataEqualWith(const CIConstraintLst* other) const {
  return other && IsItemsDataEqualWith(*other);
}

bool CIConstraintLst::CopyFrom(const CIConstraintLst* other) {
  if (!other) return false;
  CopySpanLstFrom(*other);
  m_swayMember = other->m_swayMember;
  m_defaultEta = other->m_defaultEta;
  return true;
}

ulong32 CIConstraintLst::CheckSum() const {
  CCheckSum sum;
  sum.AddI32(m_swayMember);
  sum.AddU32(CGDistanceLst::CheckSum());
  sum.AddU32(m_spans.CheckSum());
  return sum.get();
}

bool CIConstraintLst::Serialize(FILE* f, bool load) {
  return WithMemoryCheck([&]() {
    CPersist io(f, load);
    ulong32 version = _SerializeVersionCIConstraintLst;
    io.Version(version);
    if (!load) {
      if (!io.ok() || !CGDistanceLst::Serialize(f, false)) return false;
      io.Int(m_swayMember);
      return io.ok() && WriteSpans(f);
    }
    bool ok = io.ok() && ReadItems(f);
    int sway = 0;
    if (ok) ok = CPersist(f, true).Int(sway).ok();
    SetSwayMember(sway);
    ResetConstraintsData();
    return ok && ReadSpans(f);
  });
}

}  // namespace TELMARO_DATA_OBJECTS
