#include "objects/elements/CEMember.h"

#include <cmath>

#include "framework/Persist.h"
#include "platform/Alloc.h"
#include "platform/CCheckSum.h"

namespace ELEMENT_OBJECTS {

using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGLine;
using GEOMETRY_OBJECTS::CGLineLst;
using GEOMETRY_OBJECTS::CGPoint;
using GEOMETRY_OBJECTS::kGeoTolerance;

namespace {

// to takes the identity of from (ID, name, attributes, flags) when both are
// elements.
void CopyIdentity(const PtrStrong<CGPoint>& to, const PtrStrong<CGPoint>& from) {
  CEElement* target = dynamic_cast<CEElement*>(to.GetPtr());
  const CEElement* source = dynamic_cast<const CEElement*>(from.GetPtr());
  if (target && source) target->CEElement::CopyFrom(source);
}

// The first or the last internal point of line, or null.
PtrStrong<CGPoint> EndNode(const PtrStrong<CGLine>& line, bool last) {
  if (line.IsNull()) return PtrStrong<CGPoint>();
  return line->GetInternalPointAt(last ? line->GetCountInternalPoints() - 1 : 0);
}

}  // namespace

CEMember::CEMember() = default;

CEMember::CEMember(const CEMember& other) : ObjStrong_base(), CEBeam(other) {
  if (!other.m_pIntBms.IsNull()) {
    m_pIntBms = new CGLineLst(kIntBmsLstFlags, other.m_pIntBms->GetElementFactory());
    m_pIntBms->CopyFrom(other.m_pIntBms.GetPtr());
  }
}

CEMember& CEMember::operator=(const CEMember& other) {
  CopyFrom(&other);
  return *this;
}

CEMember::~CEMember() = default;

PtrStrong<CGLine> CEMember::GetNewObject() { return PtrStrong<CGLine>(new CEMember); }

bool CEMember::CopyTo(CEMember* other) const { return other && other->CopyFrom(this); }

bool CEMember::CopyFrom(const CEMember* other) {
  if (!other) return false;
  if (other == this) return true;
  CEBeam::CopyFrom(static_cast<const CEBeam*>(other));
  if (other->m_pIntBms.IsNull()) {
    m_pIntBms.Reset();
  } else {
    EnsureValidIntBmsLst();
    m_pIntBms->CopyFrom(other->m_pIntBms.GetPtr());
  }
  return true;
}

bool CEMember::IsEqualWith(const CEMember* other) const {
  return CEBeam::IsEqualWith(static_cast<const CEBeam*>(other));
}

PtrStrong<CGLine> CEMember::NewBeam(const CGPoint& s, const CGPoint& e, const CString& name, ulong32 flags) {
  EnsureValidIntBmsLst();
  PtrStrong<CGLine> beam = m_pIntBms->CreateNewObject();
  if (CEBeam* named = dynamic_cast<CEBeam*>(beam.GetPtr())) {
    named->SetBeam(s, e, name, 0, flags);
  } else {
    beam->SetLine(s, e);
  }
  return beam;
}

int CEMember::AddInternalBeam(double length, bool atStart, const CString& name, double, ulong32 flags) {
  if (!(length > kGeoTolerance)) return 0;
  CGPoint step = UnitDirection() * length;
  PtrStrong<CGLine> beam =
      atStart ? NewBeam(m_start - step, m_start, name, flags) : NewBeam(m_end, m_end + step, name, flags);
  return AddInternalBeam(beam);
}

int CEMember::AddInternalBeam(PtrStrong<CGLine> beam) {
  if (beam.IsNull()) return 0;
  EnsureValidIntBmsLst();
  if (!m_pIntBms->Add(beam)) return 0;
  LineFromIntBmsLst();
  return 1;
}

void CEMember::RemoveInternalBeamsAll() {
  if (!m_pIntBms.IsNull()) m_pIntBms->RemoveAll();
}

int CEMember::CutMemberIntoCnt(int n) {
  if (n < 0) return 0;
  return CutMemberIntoDst(m_length / (static_cast<double>(n) + 1));
}

int CEMember::CutMemberIntoDst(double step) {
  if (!(step >= 0 && step <= m_length)) return 0;
  RemoveInternalBeamsAll();
  if (step > kGeoTolerance && std::fabs(step - m_length) > kGeoTolerance) {
    const double whole = std::floor(m_length / step);
    const double rest = m_length - whole * step;
    CGPoint end;
    Distance2Point(step, &end, true);
    SetEnds(m_start, end);
    GenerateIntBmsLst();
    for (double k = 1; k < whole; ++k) AddInternalBeam(step, false, CString(), 0, Attr());
    AddInternalBeam(rest, false, CString(), 0, Attr());
  } else {
    GenerateIntBmsLst();
  }
  return 1;
}

int CEMember::CutMemberIntoPrc(double perc) {
  if (!(perc >= 0 && perc <= 100)) return 0;
  return CutMemberIntoDst(perc * m_length / 100);
}

int CEMember::CutMemberIntoDsts(const double* lengths, int count) {
  if (!lengths || count <= 0) return 0;
  int k = 0;
  while (k < count && !(std::fabs(lengths[k]) > kGeoTolerance)) ++k;
  if (k == count || lengths[k] > m_length) return 0;
  RemoveInternalBeamsAll();
  if (std::fabs(lengths[k] - m_length) <= kGeoTolerance) {
    GenerateIntBmsLst();
    return 1;
  }
  const double total = m_length;
  CGPoint end;
  Distance2Point(lengths[k], &end, false);
  SetEnds(m_start, end);
  GenerateIntBmsLst();
  double sum = m_length;
  for (int i = k + 1; i < count; ++i) {
    if (sum + lengths[i] > total) break;
    if (AddInternalBeam(lengths[i], false, CString(), 0, Attr())) sum += lengths[i];
  }
  AddInternalBeam(total - sum, false, CString(), 0, Attr());
  return 1;
}

void CEMember::ResetLine() {
  CEBeam::ResetLine();
  RemoveInternalBeamsAll();
}

void CEMember::SetLine(const CGPoint& s, const CGPoint& e) {
  CEBeam::SetLine(s, e);
  GenerateIntBmsLst();
}

PtrStrong<CGLine> CEMember::Clone() const { return PtrStrong<CGLine>(new CEMember(*this)); }

bool CEMember::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCEMember;
  io.Version(version);
  if (load) RemoveInternalBeamsAll();
  if (!io.ok() || !CEBeam::Serialize(f, load)) return false;
  EnsureValidIntBmsLst();
  bool ok = m_pIntBms->Serialize(f, load);
  if (load && !m_pIntBms->IsEmpty()) LineFromIntBmsLst();
  return ok;
}

ulong32 CEMember::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CEBeam::CheckSum());
  sum.AddU32(CheckSumOf(m_pIntBms));
  return sum.get();
}

int CEMember::GetCountInternalBeams() const { return m_pIntBms.IsNull() ? 0 : m_pIntBms->GetCount(); }

PtrStrong<CGLine> CEMember::GetInternalBeamAt(int i) const {
  if (i < 0 || i >= GetCountInternalBeams()) return PtrStrong<CGLine>();
  return m_pIntBms->GetAt(i);
}

void CEMember::SynchronizeBeamsFromPointsLst() {
  const int n = GetCountInternalPoints();
  if (n > 2) {
    double* lengths = static_cast<double*>(telio::Malloc(sizeof(double) * static_cast<size_t>(n - 1)));
    if (lengths) {
      for (int i = 0; i + 1 < n; ++i) {
        PtrStrong<CGPoint> a = GetInternalPointAt(i), b = GetInternalPointAt(i + 1);
        lengths[i] = (a.IsNull() || b.IsNull()) ? 0.0 : a->GetDistanceFromPoint(*b);
      }
      CutMemberIntoDsts(lengths, n - 1);
      telio::Free(lengths);
      return;
    }
  }
  GenerateIntBmsLst();
}

void CEMember::SynchronizePointsFromBeamsLst(int withBeamPoints) {
  GenerateIntPntsLst();
  const int beams = GetCountInternalBeams();
  if (beams == 0) return;
  CopyIdentity(GetInternalPointAt(0), EndNode(GetInternalBeamAt(0), false));
  double sum = 0;
  for (int b = 0; b < beams; ++b) {
    PtrStrong<CGLine> beam = GetInternalBeamAt(b);
    if (beam.IsNull()) continue;
    if (withBeamPoints != 0) {
      for (int i = 0; i < beam->GetCountInternalPoints(); ++i) AddInternalPoint(beam->GetInternalPointAt(i), false);
      continue;
    }
    sum += beam->Length();
    const double at = sum < m_length ? sum : m_length;
    PtrStrong<CGPoint> node = m_pIntPnts->CreateNewObject();
    Distance2Point(at, node.GetPtr(), true);
    if (AddInternalPoint(node, false)) CopyIdentity(GetInternalPointAt(FindInternalPointAt(at)), EndNode(beam, true));
  }
  CopyIdentity(GetInternalPointAt(GetCountInternalPoints() - 1), EndNode(GetInternalBeamAt(beams - 1), true));
}

int CEMember::LineFromIntBmsLst() {
  const int n = GetCountInternalBeams();
  PtrStrong<CGLine> first = GetInternalBeamAt(0), last = GetInternalBeamAt(n - 1);
  if (first.IsNull() || last.IsNull()) {
    ResetLine();
    return 0;
  }
  SetEnds(first->SPoint(), last->EPoint());
  return 1;
}

void CEMember::GenerateIntBmsLst() {
  EnsureValidIntBmsLst();
  m_pIntBms->RemoveAll();
  m_pIntBms->Add(NewBeam(m_start, m_end, CString(), Attr()));
}

void CEMember::EnsureValidIntBmsLst() {
  if (m_pIntBms.IsNull()) m_pIntBms = new CGLineLst(kIntBmsLstFlags, &CEBeam::GetNewObject);
}

}  // namespace ELEMENT_OBJECTS
