#include "objects/geometry/CGPointLst.h"

#include <algorithm>
#include <cmath>

#include "framework/Persist.h"
#include "objects/geometry/CGLine.h"
#include "objects/geometry/CGNearIndex.h"

namespace GEOMETRY_OBJECTS {

using GE_::Safe::PtrStrong;

namespace {

// Grows the box [lo, hi] of each axis by p.
void Extend(const CGPoint& p, bool first, double lo[3], double hi[3]) {
  const double c[3] = {p.X(), p.Y(), p.Z()};
  for (int k = 0; k < 3; ++k) {
    lo[k] = first ? c[k] : std::min(lo[k], c[k]);
    hi[k] = first ? c[k] : std::max(hi[k], c[k]);
  }
}

void StoreBox(const double lo[3], const double hi[3], double* xmin, double* xmax, double* ymin, double* ymax,
              double* zmin, double* zmax) {
  double* out[6] = {xmin, xmax, ymin, ymax, zmin, zmax};
  for (int k = 0; k < 3; ++k) {
    if (out[2 * k]) *out[2 * k] = lo[k];
    if (out[2 * k + 1]) *out[2 * k + 1] = hi[k];
  }
}

// Folds the live points of list into the box; returns whether any was.
bool ExtendByList(const CGPointLst& list, bool any, double lo[3], double hi[3]) {
  for (int i = 0; i < list.GetCount(); ++i) {
    PtrStrong<CGPoint> p = list.GetAt(i);
    if (p.IsNull()) continue;
    Extend(*p, !any, lo, hi);
    any = true;
  }
  return any;
}

}  // namespace

CGPointLst::CGPointLst(ulong32 flags, ElementFactory factory) : CGGeometryLstBase(flags), m_factory(factory) {}

CGPointLst::~CGPointLst() = default;

CGPointLst& CGPointLst::operator=(const CGPointLst& other) {
  CopyFrom(&other);
  return *this;
}

PtrStrong<CGPoint> CGPointLst::CreateNewObject() const {
  if (m_factory) return m_factory();
  return PtrStrong<CGPoint>(new CGPoint);
}

bool CGPointLst::GetBoundRect(double* xmin, double* xmax, double* ymin, double* ymax, double* zmin,
                              double* zmax) const {
  double lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
  if (!ExtendByList(*this, false, lo, hi)) return false;
  StoreBox(lo, hi, xmin, xmax, ymin, ymax, zmin, zmax);
  return true;
}

bool CGPointLst::IsEqualWith(const CGPointLst* other) const { return other && IsEqualElementByElement(*other); }

bool CGPointLst::MatchWith(const CGPointLst* other) const {
  if (!other || other->GetCount() != GetCount()) return false;
  if (IsEmpty()) return true;
  const PtrStrong<CGPoint>& first = *ElementAt(0);
  const PtrStrong<CGPoint>& otherFirst = *other->ElementAt(0);
  for (int i = 0; i < GetCount(); ++i) {
    const PtrStrong<CGPoint>& a = *ElementAt(i);
    const PtrStrong<CGPoint>& b = *other->ElementAt(i);
    if (a.IsNull() != b.IsNull()) return false;
    if (a.IsNull() || first.IsNull() || otherFirst.IsNull()) continue;
    if (std::fabs(first->GetDistanceFromPoint(*a) - otherFirst->GetDistanceFromPoint(*b)) > kGeoTolerance) {
      return false;
    }
  }
  return true;
}

bool CGPointLst::CopyFrom(const CGPointLst* other) { return CopyClonesAndFlagsFrom(other); }

bool CGPointLst::Serialize(FILE* f, bool load) {
  auto header = [this](CPersist& io) { io.UInt32(m_flags); };
  if (!load) return SerializeList(f, load, _SerializeVersionCGPointLst, *this, header);
  CGNearIndexScope loading(m_loading);
  CGNearIndex& index = loading.Index();
  return SerializeList(f, load, _SerializeVersionCGPointLst, *this, header, [&index](const PtrStrong<CGPoint>& p) {
    if (index.Active()) index.Add(*p, p.GetPtr());
  });
}

bool CGPointLst::HoldsEqual(const PtrStrong<CGPoint>& e) const {
  if (!m_loading) return FindValue(e) >= 0;
  return m_loading->ListHoldsEqual(*this, e, [](const CGPoint& p) -> const CGPoint& { return p; });
}

int CGPointLst::GetPosition(const PtrStrong<CGPoint>& e, int requested) const {
  if (IsRefusedByCommonRule(e)) return -1;
  if (IsUniqueList() && HoldsEqual(e)) return -1;
  const int n = GetCount();
  if (n < 2 || ElementAt(0)->IsNull() || ElementAt(n - 1)->IsNull()) return GetPositionBase(requested);
  const CGPoint& first = **ElementAt(0);
  const CGLine line(first, **ElementAt(n - 1));
  if (IsCollinearList() && !line.IsCollinearWithTolerance(*e, kGeoTolerance)) return -1;
  if (IsParallelList() && !line.IsParallelWith(CGLine(first, *e))) return -1;
  if (IsNotIntersectList() || IsCoplanarList() || IsSkewList()) return -1;
  if (!IsContinuesList()) return GetPositionBase(requested);
  switch (line.GetPosiotionOfPoint(*e)) {
    case kPosOffLine:
      return -1;
    case kPosBeforeStart:
    case kPosAtStart:
      return 0;
    case kPosAfterEnd:
      return n;
    case kPosAtEnd:
      return n - 1;
    default:
      break;
  }
  // Between the ends: before the first point that lies on the other side
  // of e than the points before it.
  CGVectorDirection previous(first - *e);
  for (int i = 1; i < n; ++i) {
    const PtrStrong<CGPoint>& p = *ElementAt(i);
    if (p.IsNull()) continue;
    CGVectorDirection towards(*p - *e);
    if (previous.AngleBetween(towards) >= kGeoHalfPi) return i;
    previous = towards;
  }
  return -1;
}

CGListPointLst::CGListPointLst() : CGGeometryLstBase(0) {}

CGListPointLst::~CGListPointLst() = default;

bool CGListPointLst::GetBoundRect(double* xmin, double* xmax, double* ymin, double* ymax, double* zmin,
                                  double* zmax) const {
  double lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
  bool any = false;
  for (int i = 0; i < GetCount(); ++i) {
    PtrStrong<CGPointLst> list = GetAt(i);
    if (!list.IsNull()) any = ExtendByList(*list, any, lo, hi);
  }
  if (!any) return false;
  StoreBox(lo, hi, xmin, xmax, ymin, ymax, zmin, zmax);
  return true;
}

}  // namespace GEOMETRY_OBJECTS
