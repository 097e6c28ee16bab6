#include "objects/geometry/CGLineLst.h"

#include "framework/Persist.h"
#include "objects/geometry/CGNearIndex.h"

namespace GEOMETRY_OBJECTS {

using GE_::Safe::PtrStrong;

namespace {

// Where a line is filed while its list loads: equal lines (same ends,
// either order) have midpoints within the tolerance box.
CGPoint MidPoint(const CGLine& l) {
  const CGPoint s = l.SPoint(), e = l.EPoint();
  return CGPoint((s.X() + e.X()) / 2, (s.Y() + e.Y()) / 2, (s.Z() + e.Z()) / 2);
}

}  // namespace

CGLineLst::CGLineLst(ulong32 flags, ElementFactory factory) : CGGeometryLstBase(flags), m_factory(factory) {}

CGLineLst::~CGLineLst() = default;

CGLineLst& CGLineLst::operator=(const CGLineLst& other) {
  CopyFrom(&other);
  return *this;
}

PtrStrong<CGLine> CGLineLst::CreateNewObject() const {
  if (m_factory) return m_factory();
  return PtrStrong<CGLine>(new CGLine);
}

bool CGLineLst::IsEqualWith(const CGLineLst* other) const { return other && IsEqualElementByElement(*other); }

bool CGLineLst::CopyFrom(const CGLineLst* other) { return CopyClonesAndFlagsFrom(other); }

bool CGLineLst::Serialize(FILE* f, bool load) {
  auto header = [this](CPersist& io) { io.UInt32(m_flags); };
  if (!load) return SerializeList(f, load, _SerializeVersionCGLineLst, *this, header);
  CGNearIndexScope loading(m_loading);
  CGNearIndex& index = loading.Index();
  return SerializeList(f, load, _SerializeVersionCGLineLst, *this, header, [&index](const PtrStrong<CGLine>& l) {
    if (index.Active()) index.Add(MidPoint(*l), l.GetPtr());
  });
}

bool CGLineLst::HoldsEqual(const PtrStrong<CGLine>& e) const {
  return m_loading ? m_loading->ListHoldsEqual(*this, e, MidPoint) : FindValue(e) >= 0;
}

int CGLineLst::GetPosition(const PtrStrong<CGLine>& e, int requested) const {
  if (IsRefusedByCommonRule(e)) return -1;
  if (IsUniqueList() && HoldsEqual(e)) return -1;
  const int n = GetCount();
  if (n == 0) return requested == -1 ? 0 : requested;
  const PtrStrong<CGLine>& first = *ElementAt(0);
  if (!first.IsNull()) {
    if (IsCollinearList() && !e->IsCollinearWithTolerance(*first, kGeoLineTolerance)) return -1;
    if (IsSameDirectionList() && !e->IsSameDirectionWith(*first)) return -1;
    if (IsParallelList() && !e->IsParallelWith(*first)) return -1;
  }
  if (IsNotIntersectList() || IsCoplanarList() || IsSkewList()) return -1;
  if (!IsContinuesList()) return GetPositionBase(requested);
  if (!first.IsNull() && first->IsContinuesWith(*e)) {
    if (n > 1) return 0;
    PtrStrong<CGPoint> shared = first->GetContinuesPoint(*e);
    CGPoint start = first->SPoint();
    return start.IsEqualWith(shared.GetPtr()) ? 0 : n;
  }
  const PtrStrong<CGLine>& last = *ElementAt(n - 1);
  if (!last.IsNull() && last->IsContinuesWith(*e)) return n;
  return -1;
}

}  // namespace GEOMETRY_OBJECTS
