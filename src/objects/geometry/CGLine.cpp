#include "objects/geometry/CGLine.h"

#include <cmath>

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace GEOMETRY_OBJECTS {

using GE_::Safe::PtrStrong;

namespace {

bool Near(double a, double b) { return std::fabs(a - b) <= kGeoTolerance; }

}  // namespace

CGLine::CGLine() : m_length(0) {}

CGLine::CGLine(const CGPoint& s, const CGPoint& e) : m_length(0) { SetEnds(s, e); }

CGLine::CGLine(const CGLine& other)
    : ObjStrong_base(), ObjStrong(other), m_start(other.m_start), m_end(other.m_end), m_length(other.m_length) {
  if (!other.m_pIntPnts.IsNull()) {
    m_pIntPnts = new CGPointLst(kIntPntsLstFlags, other.m_pIntPnts->GetElementFactory());
    m_pIntPnts->CopyFrom(other.m_pIntPnts.GetPtr());
  }
}

CGLine& CGLine::operator=(const CGLine& other) {
  CopyFrom(&other);
  return *this;
}

CGLine::~CGLine() = default;

PtrStrong<CGLine> CGLine::GetNewObject() { return PtrStrong<CGLine>(new CGLine); }

CGVectorDirection CGLine::GetVectorDirection() const { return CGVectorDirection(m_end - m_start); }

CGVectorDirection CGLine::ToVectorDirection() const { return GetVectorDirection(); }

void CGLine::FromVectorDirection(const CGVectorDirection& d, const CGPoint& p) { SetLine(p, p + d); }

void CGLine::ResetLine() {
  SetEnds(CGPoint(), CGPoint());
  m_pIntPnts.Reset();
}

void CGLine::SetLine(const CGPoint& s, const CGPoint& e) {
  SetEnds(s, e);
  GenerateIntPntsLst();
}

void CGLine::SetEnds(const CGPoint& s, const CGPoint& e) {
  m_start.SetCoord(s.X(), s.Y(), s.Z());
  m_end.SetCoord(e.X(), e.Y(), e.Z());
  m_length = m_start.GetDistanceFromPoint(m_end);
}

bool CGLine::CopyTo(CGLine* other) const { return other && other->CopyFrom(this); }

bool CGLine::CopyFrom(const CGLine* other) {
  if (!other) return false;
  if (other == this) return true;
  SetEnds(other->m_start, other->m_end);
  m_length = other->m_length;
  if (other->m_pIntPnts.IsNull()) {
    m_pIntPnts.Reset();
  } else {
    EnsureValidIntPntLst();
    m_pIntPnts->CopyFrom(other->m_pIntPnts.GetPtr());
  }
  return true;
}

PtrStrong<CGLine> CGLine::Clone() const { return PtrStrong<CGLine>(new CGLine(*this)); }

bool CGLine::IsEqualWith(const CGLine* other) const {
  if (!other) return false;
  return (m_start.IsEqualWith(&other->m_start) && m_end.IsEqualWith(&other->m_end)) ||
         (m_start.IsEqualWith(&other->m_end) && m_end.IsEqualWith(&other->m_start));
}

bool CGLine::IsExactEqualWith(const CGLine* other) const {
  if (!IsEqualWith(other) || m_pIntPnts.IsNull() != other->m_pIntPnts.IsNull()) return false;
  return m_pIntPnts.IsNull() || m_pIntPnts->MatchWith(other->m_pIntPnts.GetPtr());
}

bool CGLine::MatchWith(const CGLine* other) const {
  if (!other || !Near(m_length, other->m_length)) return false;
  if (m_pIntPnts.IsNull() != other->m_pIntPnts.IsNull()) return false;
  return m_pIntPnts.IsNull() || m_pIntPnts->MatchWith(other->m_pIntPnts.GetPtr());
}

bool CGLine::Serialize(FILE* f, bool load) {
  if (!load) {
    EnsureValidIntPntLst();
    if (m_pIntPnts->IsEmpty()) GenerateIntPntsLst();
    return m_pIntPnts->Serialize(f, false);
  }
  CGLine::ResetLine();
  EnsureValidIntPntLst();
  bool ok = m_pIntPnts->Serialize(f, true);
  LineFromIntPntsLst();
  return ok;
}

ulong32 CGLine::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CheckSumOf(m_pIntPnts));
  return sum.get();
}

int CGLine::AddInternalPoint(PtrStrong<CGPoint> p, bool bForce) {
  if (p.IsNull()) return 0;
  EnsureValidIntPntLst();
  if (m_pIntPnts->IsEmpty()) GenerateIntPntsLst();
  if (m_start.IsEqualWith(p.GetPtr()) || m_end.IsEqualWith(p.GetPtr())) return 0;
  int code = GetPosiotionOfPoint(*p);
  if (code != kPosInside && code != kPosAtMiddle && !bForce) return 0;
  return m_pIntPnts->Add(p);
}

int CGLine::RemoveInternalPoint(PtrStrong<CGPoint> p, bool bForce) {
  if (p.IsNull() || m_pIntPnts.IsNull()) return 0;
  int i = m_pIntPnts->Find(p);
  if (i < 0) i = m_pIntPnts->FindValue(p);
  return RemoveInternalPointAt(i, bForce);
}

void CGLine::RemoveInternalPointsAll() { GenerateIntPntsLst(); }

int CGLine::CutLineIntoDst(double step) {
  if (!(step >= 0 && step <= m_length)) return 0;
  GenerateIntPntsLst();
  if (step > kGeoTolerance && std::fabs(step - m_length) > kGeoLineTolerance && step < m_length) {
    for (double k = 1; k * step < m_length; ++k) AddInternalPoint(k * step, false);
  }
  return 1;
}

double CGLine::Dot(const CGLine& l) const { return GetVectorDirection().Dot(l.GetVectorDirection()); }

double CGLine::Determinant(const CGLine& l) const {
  return GetVectorDirection().Determinant(l.GetVectorDirection());
}

double CGLine::CrossSquare(const CGLine& l) const {
  return GetVectorDirection().CrossSquare(l.GetVectorDirection());
}

double CGLine::CrossMagnitude(const CGLine& l) const {
  return GetVectorDirection().CrossMagnitude(l.GetVectorDirection());
}

double CGLine::AngleBetween(const CGLine& l) const {
  return GetVectorDirection().AngleBetween(l.GetVectorDirection());
}

double CGLine::DeterminantSkew(const CGLine& l) const {
  CGVectorDirection w(l.m_start - m_start);
  return GetVectorDirection().GetCrossVector(l.GetVectorDirection()).Dot(w);
}

bool CGLine::IsCoplanarWith(const CGLine& l) const { return std::fabs(DeterminantSkew(l)) <= kGeoTolerance; }

bool CGLine::IsSkewWith(const CGLine& l) const { return !IsCoplanarWith(l); }

bool CGLine::IsParallelWith(const CGLine& l) const {
  return IsCoplanarWith(l) && std::fabs(Determinant(l)) <= kGeoTolerance;
}

bool CGLine::IsPerpendicularWith(const CGLine& l) const {
  return IsCoplanarWith(l) && std::fabs(Dot(l)) <= kGeoTolerance;
}

bool CGLine::IsIntersectWith(const CGLine& l) const { return !IsParallelWith(l) && !IsSkewWith(l); }

bool CGLine::IsSameDirectionWith(const CGLine& l) const { return AngleBetween(l) < kGeoHalfPi; }

bool CGLine::IsCollinearWith(const CGPoint& p) const {
  double angle = CGVectorDirection(p - m_start).AngleBetween(CGVectorDirection(p - m_end));
  return std::fabs(angle) <= kGeoTolerance || std::fabs(angle - kGeoHalfPi) <= kGeoTolerance ||
         std::fabs(angle - 2 * kGeoHalfPi) <= kGeoTolerance;
}

bool CGLine::IsCollinearWith(const CGLine& l) const { return IsCollinearWith(l.m_start) && IsCollinearWith(l.m_end); }

bool CGLine::IsCollinearWithTolerance(const CGPoint& p, double tol) const {
  return m_length <= kGeoTolerance || DistanceFrom(p) <= tol;
}

bool CGLine::IsCollinearWithTolerance(const CGLine& l, double tol) const {
  return IsCollinearWithTolerance(l.m_start, tol) && IsCollinearWithTolerance(l.m_end, tol);
}

bool CGLine::IsCollinearByTriangleArea(const CGPoint& p) const { return TriangleArea(p) <= kGeoTolerance; }

double CGLine::TrianglePerimeter(const CGPoint& p) const {
  return m_start.GetDistanceFromPoint(m_end) + m_end.GetDistanceFromPoint(p) + p.GetDistanceFromPoint(m_start);
}

double CGLine::TriangleSemiPerimeter(const CGPoint& p) const { return TrianglePerimeter(p) / 2; }

double CGLine::TriangleArea(const CGPoint& p) const {
  double a = m_start.GetDistanceFromPoint(m_end), b = m_end.GetDistanceFromPoint(p), c = p.GetDistanceFromPoint(m_start);
  double s = (a + b + c) / 2;
  double product = s * (s - a) * (s - b) * (s - c);
  return product > 0 ? std::sqrt(product) : 0.0;
}

double CGLine::DistanceFrom(const CGPoint& p) const {
  CGVectorDirection d = GetVectorDirection();
  double norm = d.NormVector();
  if (m_length <= kGeoTolerance || norm == 0) return m_start.GetDistanceFromPoint(p);
  d.Cross(CGVectorDirection(p - m_start));
  return d.NormVector() / norm;
}

double CGLine::DistanceFrom(const CGLine& l) const {
  double magnitude = CrossMagnitude(l);
  if (std::fabs(magnitude) <= kGeoTolerance) return 0;
  return DeterminantSkew(l) / magnitude;
}

PtrStrong<CGPoint> CGLine::GetIntersectionPoint(const CGLine& l) const {
  if (IsParallelWith(l) || IsSkewWith(l)) return PtrStrong<CGPoint>();
  CGVectorDirection d1 = GetVectorDirection(), d2 = l.GetVectorDirection();
  CGVectorDirection w(l.m_start - m_start);
  double a = d1.Dot(d1), b = d1.Dot(d2), c = d2.Dot(d2);
  double denominator = a * c - b * b;
  double t = std::fabs(denominator) <= kGeoTolerance ? 0.0 : (w.Dot(d1) * c - w.Dot(d2) * b) / denominator;
  return PtrStrong<CGPoint>(new CGPoint(m_start + d1 * t));
}

CGLine CGLine::GetCrossLine(const CGLine& l) const {
  CGLine cross;
  cross.FromVectorDirection(GetVectorDirection().GetCrossVector(l.GetVectorDirection()), m_start);
  return cross;
}

CGPoint CGLine::GetMidPoint() const { return (m_start + m_end) * 0.5; }

int CGLine::GetPosiotionOfPoint(const CGPoint& p) const {
  if (m_length > kGeoTolerance && DistanceFrom(p) > kGeoTolerance) return kPosOffLine;
  if (m_start.IsEqualWith(&p)) return kPosAtStart;
  if (m_end.IsEqualWith(&p)) return kPosAtEnd;
  if (GetMidPoint().IsEqualWith(&p)) return kPosAtMiddle;
  double toStart = m_start.GetDistanceFromPoint(p), toEnd = m_end.GetDistanceFromPoint(p);
  if (std::fabs(toStart + toEnd - m_length) <= kGeoLineTolerance) return kPosInside;
  return toStart < toEnd ? kPosBeforeStart : kPosAfterEnd;
}

int CGLine::GetPosiotionOfLine(const CGLine& l) const {
  const bool sameWay = AngleBetween(l) < kGeoHalfPi;
  const bool collinear = IsCollinearWithTolerance(l, kGeoTolerance);
  if (IsEqualWith(&l)) return sameWay ? 1 : 2;
  if (int at = ContinuesAt(l)) return 3 + (collinear ? 4 : 0) + (sameWay ? 2 : 0) + (at == 1 ? 0 : 1);
  if (collinear) {
    double d1 = 0, d2 = 0;
    Point2Distance(l.m_start, &d1, false);
    Point2Distance(l.m_end, &d2, false);
    if (std::fabs(d1 - d2) <= kGeoLineTolerance) return 0;
    const bool in1 = d1 >= 0 && d1 <= m_length, in2 = d2 >= 0 && d2 <= m_length;
    if (in1 && in2) return 13;
    if (in1 || in2) return (in1 ? d2 : d1) > m_length ? 15 : 16;
    if (d1 < 0 && d2 < 0) return 12;
    if (d1 > m_length && d2 > m_length) return 11;
    return 14;
  }
  if (!IsIntersectWith(l)) return 0;
  PtrStrong<CGPoint> crossing = GetIntersectionPoint(l);
  if (crossing.IsNull()) return 0;
  switch (GetPosiotionOfPoint(*crossing)) {
    case kPosInside:
    case kPosAtMiddle:
      return 17;
    case kPosAfterEnd:
    case kPosAtEnd:
      return 18;
    case kPosBeforeStart:
    case kPosAtStart:
      return 19;
    default:
      return 0;
  }
}

bool CGLine::IsPointOnLine(const CGPoint& p) const {
  int code = GetPosiotionOfPoint(p);
  return code >= kPosInside && code <= kPosAtMiddle;
}

bool CGLine::IsPointInLine(const CGPoint& p) const {
  int code = GetPosiotionOfPoint(p);
  return code == kPosInside || code == kPosAtMiddle;
}

bool CGLine::IsPointOutLine(const CGPoint& p) const {
  int code = GetPosiotionOfPoint(p);
  return code == kPosBeforeStart || code == kPosAfterEnd;
}

int CGLine::ContinuesAt(const CGLine& l) const {
  const bool sameWay = IsSameDirectionWith(l);
  if (!IsPointInLine(l.m_end)) {
    if (m_start.IsEqualWith(&l.m_start) && !sameWay) return 1;
    if (m_end.IsEqualWith(&l.m_start) && sameWay) return 2;
  }
  if (!IsPointInLine(l.m_start)) {
    if (m_start.IsEqualWith(&l.m_end) && sameWay) return 1;
    if (m_end.IsEqualWith(&l.m_end) && !sameWay) return 2;
  }
  return 0;
}

bool CGLine::IsContinuesWith(const CGLine& l) const { return ContinuesAt(l) != 0; }

PtrStrong<CGPoint> CGLine::GetContinuesPoint(const CGLine& l) const {
  switch (ContinuesAt(l)) {
    case 1:
      return PtrStrong<CGPoint>(new CGPoint(m_start));
    case 2:
      return PtrStrong<CGPoint>(new CGPoint(m_end));
    default:
      return PtrStrong<CGPoint>();
  }
}

int CGLine::Distance2Point(double d, CGPoint* p, bool bCheck) const {
  if (!p) return 0;
  p->ResetPoint();
  CGPoint at;
  if (std::fabs(d - m_length) <= kGeoLineTolerance) {
    at = m_end;
  } else if (std::fabs(d) <= kGeoTolerance) {
    at = m_start;
  } else if (bCheck && (d < 0 || d > m_length)) {
    return 0;
  } else {
    at = m_start + UnitDirection() * d;
  }
  p->SetCoord(at.X(), at.Y(), at.Z());
  return 1;
}

int CGLine::Point2Distance(const CGPoint& p, double* d, bool inside) const {
  double distance = m_start.GetDistanceFromPoint(p), result = 0;
  int found = 0;
  switch (GetPosiotionOfPoint(p)) {
    case kPosInside:
    case kPosAtStart:
    case kPosAtEnd:
    case kPosAtMiddle:
      result = distance;
      found = 1;
      break;
    case kPosBeforeStart:
      if (!inside) result = -distance, found = 1;
      break;
    case kPosAfterEnd:
      if (!inside) result = distance, found = 1;
      break;
    default:
      break;
  }
  if (d) *d = result;
  return found;
}

void CGLine::ExtentLength(double newLength, bool keepStart) {
  CGPoint at;
  Distance2Point(newLength, &at, false);
  if (keepStart) {
    SetLine(m_start, at);
  } else {
    SetLine(m_start + (m_end - at), m_end);
  }
  m_length = newLength;
}

int CGLine::AddInternalPoint(double d, bool bCheck) {
  EnsureValidIntPntLst();
  PtrStrong<CGPoint> p = m_pIntPnts->CreateNewObject();
  if (!Distance2Point(d, p.GetPtr(), bCheck)) return 0;
  return AddInternalPoint(p, bCheck);
}

int CGLine::AddInternalPointPerc(double perc) {
  if (!(perc >= 0 && perc <= 100)) return 0;
  EnsureValidIntPntLst();
  PtrStrong<CGPoint> p = m_pIntPnts->CreateNewObject();
  if (!Distance2Point(perc * m_length / 100, p.GetPtr(), true)) return 0;
  return AddInternalPoint(p, false);
}

int CGLine::CutLineIntoCnt(int n) {
  if (n < 0) return 0;
  return CutLineIntoDst(m_length / (static_cast<double>(n) + 1));
}

int CGLine::CutLineIntoPrc(double perc) {
  if (!(perc >= 0 && perc <= 100)) return 0;
  return CutLineIntoDst(perc * m_length / 100);
}

int CGLine::FindInternalPointAt(double d) const {
  CGPoint at;
  if (m_pIntPnts.IsNull() || !Distance2Point(d, &at, true)) return -1;
  for (int i = 0; i < m_pIntPnts->GetCount(); ++i) {
    PtrStrong<CGPoint> p = m_pIntPnts->GetAt(i);
    if (!p.IsNull() && at.IsEqualWith(p.GetPtr())) return i;
  }
  return -1;
}

PtrStrong<CGPoint> CGLine::GetInternalPointAt(int i) const {
  if (i < 0 || i >= GetCountInternalPoints()) return PtrStrong<CGPoint>();
  return m_pIntPnts->GetAt(i);
}

int CGLine::GetCountInternalPoints() const { return m_pIntPnts.IsNull() ? 0 : m_pIntPnts->GetCount(); }

int CGLine::RemoveInternalPointAt(int i, bool bForce) {
  const int n = GetCountInternalPoints();
  if (i < 0 || i >= n) return 0;
  if (!bForce && (i == 0 || i == n - 1)) return 0;
  m_pIntPnts->RemoveAt(i);
  return 1;
}

int CGLine::RemoveInternalPointAt(double d, bool bForce) { return RemoveInternalPointAt(FindInternalPointAt(d), bForce); }

void CGLine::GenerateIntPntsLst() {
  EnsureValidIntPntLst();
  m_pIntPnts->RemoveAll();
  for (const CGPoint* end : {&m_start, &m_end}) {
    PtrStrong<CGPoint> p = m_pIntPnts->CreateNewObject();
    p->SetCoord(end->X(), end->Y(), end->Z());
    m_pIntPnts->Add(p);
  }
}

void CGLine::EnsureValidIntPntLst() {
  if (m_pIntPnts.IsNull()) m_pIntPnts = new CGPointLst(kIntPntsLstFlags);
}

int CGLine::LineFromIntPntsLst() {
  const int n = GetCountInternalPoints();
  if (n == 0 || m_pIntPnts->GetAt(0).IsNull() || m_pIntPnts->GetAt(n - 1).IsNull()) {
    SetEnds(CGPoint(), CGPoint());
    return 0;
  }
  SetEnds(*m_pIntPnts->GetAt(0), *m_pIntPnts->GetAt(n - 1));
  return 1;
}

CGVectorDirection CGLine::UnitDirection() const { return GetVectorDirection().GetNormalizedVector(); }

}  // namespace GEOMETRY_OBJECTS
