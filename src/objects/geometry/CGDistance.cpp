#include "objects/geometry/CGDistance.h"

#include <cmath>

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace GEOMETRY_OBJECTS {

using GE_::Safe::PtrStrong;

CGDistance::CGDistance(double distance) : m_distance(distance) {}

CGDistance::CGDistance(const CGDistance& other) : ObjStrong_base(), ObjStrong(other), m_distance(other.m_distance) {}

CGDistance& CGDistance::operator=(const CGDistance& other) {
  CopyFrom(&other);
  return *this;
}

CGDistance::~CGDistance() = default;

PtrStrong<CGDistance> CGDistance::GetNewObject() { return PtrStrong<CGDistance>(new CGDistance); }

int CGDistance::SetDistance(double distance) {
  CGDistanceLst* list = GetDistanceLst();
  if (list) return list->OnChangeElement(this, distance);
  m_distance = distance;
  return 1;
}

int CGDistance::SetDistance(const CGPoint& p) {
  CGDistanceLst* list = GetDistanceLst();
  return !list ? 0 : list->OnChangeElement(this, p);
}

bool CGDistance::IsValidDistance() const { return !m_owner.IsNull(); }

PtrStrong<CGPoint> CGDistance::DistanceToPoint() const {
  CGDistanceLst* list = GetDistanceLst();
  return !list ? PtrStrong<CGPoint>() : list->Distance2Point(m_distance);
}

bool CGDistance::IsEqualWith(double v) const { return std::fabs(m_distance - v) <= kGeoTolerance; }
bool CGDistance::IsEqualWith(const CGDistance* other) const { return other && IsEqualWith(other->m_distance); }
bool CGDistance::IsSmaller(double v) const { return m_distance < v; }
bool CGDistance::IsSmaller(const CGDistance* other) const { return other && IsSmaller(other->m_distance); }
bool CGDistance::IsBigger(double v) const { return m_distance > v; }
bool CGDistance::IsBigger(const CGDistance* other) const { return other && IsBigger(other->m_distance); }
bool CGDistance::IsEqualSmaller(double v) const { return IsEqualWith(v) || IsSmaller(v); }
bool CGDistance::IsEqualSmaller(const CGDistance* other) const { return other && IsEqualSmaller(other->m_distance); }
bool CGDistance::IsEqualBigger(double v) const { return IsEqualWith(v) || IsBigger(v); }
bool CGDistance::IsEqualBigger(const CGDistance* other) const { return other && IsEqualBigger(other->m_distance); }

bool CGDistance::CopyFrom(const CGDistance* other) { return other && SetDistance(other->m_distance) != 0; }

bool CGDistance::CopyTo(CGDistance* other) const { return other && other->CopyFrom(this); }

PtrStrong<CGDistance> CGDistance::Clone() const { return PtrStrong<CGDistance>(new CGDistance(*this)); }

bool CGDistance::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  if (load) m_distance = 0;
  io.Double(m_distance);
  return io.ok();
}

ulong32 CGDistance::CheckSum() const {
  CCheckSum sum;
  sum.AddF64(m_distance);
  return sum.get();
}

CGDistanceLst::CGDistanceLst(CGLine* line, ulong32 flags) : m_line(line), m_flags(flags) {}

CGDistanceLst::~CGDistanceLst() = default;

CGDistanceLst& CGDistanceLst::operator=(const CGDistanceLst& other) {
  CopyFrom(&other);
  return *this;
}

void CGDistanceLst::Initialize(ulong32 flags) {
  RemoveAll();
  m_flags = flags;
}

PtrStrong<CGDistance> CGDistanceLst::CreateNewObject() const { return PtrStrong<CGDistance>(new CGDistance); }

int CGDistanceLst::FindDistance(double d) const {
  for (int i = 0; i < GetCount(); ++i) {
    const PtrStrong<CGDistance>& e = *ElementAt(i);
    if (!e.IsNull() && e->IsEqualWith(d)) return i;
  }
  return -1;
}

PtrStrong<CGPoint> CGDistanceLst::Distance2Point(double d) const {
  CGLine* line = GetLine();
  if (!line) return PtrStrong<CGPoint>();
  PtrStrong<CGPoint> p(new CGPoint);
  if (!line->Distance2Point(d, p.GetPtr(), !IsOutLineList())) return PtrStrong<CGPoint>();
  return p;
}

bool CGDistanceLst::CopyFrom(const CGDistanceLst* other) {
  if (!other) return false;
  if (other == this) return true;
  CopyClonesFrom(*other);
  m_flags = other->m_flags;
  for (int i = 0; i < GetCount(); ++i) CGDistanceLst::OnAfterAddElement(i);
  return true;
}

bool CGDistanceLst::CopyTo(CGDistanceLst* other) const { return other && other->CopyFrom(this); }

ulong32 CGDistanceLst::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CSmartCollection::CheckSum());
  CGLine* line = GetLine();
  if (line) sum.AddF64(line->Length());
  return sum.get();
}

bool CGDistanceLst::Serialize(FILE* f, bool load) {
  return SerializeList(
      f, load, _SerializeVersionCGDistanceLst, *this, [](CPersist&) {},
      [this](const PtrStrong<CGDistance>& e) { e->m_owner = this; });
}

int CGDistanceLst::OnChangeElement(CGDistance* e, const CGPoint& p) {
  CGLine* line = GetLine();
  double d = 0;
  if (!line || !line->Point2Distance(p, &d, !IsOutLineList())) return 0;
  return OnChangeElement(e, d);
}

int CGDistanceLst::OnChangeElement(CGDistance* e, double v) {
  if (!e) return 0;
  if (e->IsEqualWith(v)) return 1;
  int index = -1;
  for (int i = 0; i < GetCount() && index < 0; ++i) {
    if (ElementAt(i)->GetRawPtr() == e) index = i;
  }
  if (index < 0) {
    e->m_distance = v;
    return 1;
  }
  PtrStrong<CGDistance> held = *ElementAt(index);  // keeps e alive while it is out
  if (!RemoveAtEx(index)) return 0;
  PtrStrong<CGDistance> probe = e->Clone();
  probe->m_distance = v;
  int at = GetPosition(probe, -1);
  int result = 0;
  if (at >= 0) {
    e->m_distance = v;
    result = 1;
  } else {
    at = index;
  }
  m_array.InsertAt(at, held);
  OnAfterAddElement(at);
  return result;
}

void CGDistanceLst::OnAfterAddElement(int index) {
  PtrStrong<CGDistance>* e = ElementAt(index);
  if (e && !e->IsNull()) (*e)->m_owner = this;
}

int CGDistanceLst::GetPosition(const PtrStrong<CGDistance>& e, int) const {
  CGLine* line = GetLine();
  if (!line || IsRefusedByCommonRule(e)) return -1;
  const double v = e->Distance();
  if (IsUniqueList() && FindDistance(v) >= 0) return -1;
  const int n = GetCount();
  if (IsUsingNegOneList() && v == -1.0) return n;
  if (!IsPositiveList() && v >= 0) return -1;
  if (!IsNegativeList() && v < 0) return -1;
  CGPoint at;
  if (!line->Distance2Point(v, &at, !IsOutLineList())) return -1;
  switch (line->GetPosiotionOfPoint(at)) {
    case kPosBeforeStart:
    case kPosAfterEnd:
      if (!IsOutLineList()) return -1;
      break;
    case kPosInside:
    case kPosAtMiddle:
      if (!IsOnLineList() && !IsInLineList()) return -1;
      break;
    case kPosAtStart:
    case kPosAtEnd:
      if (!IsOnLineList()) return -1;
      break;
    default:
      return -1;
  }
  int place = n;
  if (IsSortAList()) {
    for (int i = 0; i < n; ++i) {
      const PtrStrong<CGDistance>& d = *ElementAt(i);
      if (!d.IsNull() && d->IsBigger(v)) {
        place = i;
        break;
      }
    }
  } else if (IsSortDList()) {
    place = 0;
    for (int i = n - 1; i >= 0; --i) {
      const PtrStrong<CGDistance>& d = *ElementAt(i);
      if (!d.IsNull() && d->IsBigger(v)) {
        place = i + 1;
        break;
      }
    }
  }
  if (place == n && n > 0 && IsUsingNegOneList()) {
    const PtrStrong<CGDistance>& last = *ElementAt(n - 1);
    if (!last.IsNull() && last->Distance() == -1.0) place = n - 1;
  }
  return place;
}

}  // namespace GEOMETRY_OBJECTS
