#include "objects/data/CISectionElement.h"

#include <cstring>

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;

const char* const kSectionPropertySymbols[kSectionPropertyCount] = {
    "A", "It", "Iw", "Iy", "Wy,+", "Wy,-", "Wpl,y", "iy", "Avy", "Iz", "Wz,+", "Wz,-", "Wpl,z", "iz", "Avz"};
const char* const kSectionPropertyUnitsCm[kSectionPropertyCount] = {
    "cm^2", "cm^4", "cm^6", "cm^4", "cm^3", "cm^3", "cm^3", "cm", "cm^2", "cm^4", "cm^3", "cm^3", "cm^3", "cm", "cm^2"};
const char* const kSectionPropertyUnitsMm[kSectionPropertyCount] = {
    "mm^2", "mm^4", "mm^6", "mm^4", "mm^3", "mm^3", "mm^3", "mm", "mm^2", "mm^4", "mm^3", "mm^3", "mm^3", "mm", "mm^2"};

namespace {

// The values of each record layout, in their order in the record.
const int kLayout5[] = {kHeightFront, kHeightBack, kWidthUp, kWidthDown, kTFlangeUp, kTFlangeDown, kTWeb,
                        kCParam,      kHcParam,    kHeParam, kRadIn,     kRadOut,    kAngleIn,     kAngleOut,
                        kEy,          kEz,         kAx,      kAy,        kAz,        kIt,          kIy,
                        kIz,          kWel,        kWpl,     kG};
const int kLayout3[] = {kHeightFront, kHeightBack, kWidthUp, kWidthDown, kTFlangeUp, kTFlangeDown, kTWeb,
                        kCParam,      kHcParam,    kHeParam, kRadIn,     kRadOut,    kAngleIn,     kAngleOut,
                        kEy,          kEz,         kAx,      kIz,        kWel,       kWpl};
const int kLayout2[] = {kHeightFront, kHeightBack, kWidthUp, kTFlangeUp, kTWeb, kRadIn,
                        kEy,          kEz,         kAx,      kIz,        kWel,  kWpl};
const int kLayout1[] = {kHeightFront, kWidthUp, kTFlangeUp, kTWeb, kRadIn, kEy, kEz, kAx, kIz, kWel, kWpl};

static_assert(sizeof kLayout5 / sizeof kLayout5[0] == kSectionValueCount, "version 5 holds every value");

template <size_t N>
void Transfer(CPersist& io, double* v, const int (&layout)[N], size_t count = N) {
  for (size_t i = 0; i < count; ++i) io.Double(v[layout[i]]);
}

}  // namespace

CISectionElement::CISectionElement() { std::memset(m_v, 0, sizeof m_v); }

CISectionElement::~CISectionElement() = default;

PtrStrong<CISectionData> CISectionElement::GetNewObject() { return PtrStrong<CISectionData>(new CISectionElement); }

PtrStrong<CISectionData> CISectionElement::Clone() const {
  return PtrStrong<CISectionData>(new CISectionElement(*this));
}

void CISectionElement::SetSectionDimensions(double bAnnet, double heightFront, double heightBack, double widthUp,
                                            double widthDown, double tFlangeUp, double tFlangeDown, double tWeb,
                                            double radIn, double radOut, double ey, double ez, double cParam,
                                            double angleIn, double angleOut, double hcParam, double heParam) {
  SetBAnnet(bAnnet);
  m_v[kHeightFront] = heightFront;
  m_v[kHeightBack] = heightBack;
  m_v[kWidthUp] = widthUp;
  m_v[kWidthDown] = widthDown;
  m_v[kTFlangeUp] = tFlangeUp;
  m_v[kTFlangeDown] = tFlangeDown;
  m_v[kTWeb] = tWeb;
  m_v[kRadIn] = radIn;
  m_v[kRadOut] = radOut;
  m_v[kEy] = ey;
  m_v[kEz] = ez;
  m_v[kCParam] = cParam;
  m_v[kAngleIn] = angleIn;
  m_v[kAngleOut] = angleOut;
  m_v[kHcParam] = hcParam;
  m_v[kHeParam] = heParam;
}

void CISectionElement::SetSectionIntertialData(double ax, double ay, double az, double it, double iy, double iz,
                                               double wel, double wpl) {
  m_v[kAx] = ax;
  m_v[kAy] = ay;
  m_v[kAz] = az;
  m_v[kIt] = it;
  m_v[kIy] = iy;
  m_v[kIz] = iz;
  m_v[kWel] = wel;
  m_v[kWpl] = wpl;
}

void CISectionElement::SetSection(ulong32 section, ulong32 family, const CString& name, double d1, double d2,
                                  double d3, double d4, double d5, double d6, double d7, double d8, double d9,
                                  double d10, double d11, double d12, double d13, double d14, double d15, double d16,
                                  double d17, double d18, double d19, double d20, ulong32 profile, double e1,
                                  double e2, double e3, double e4, double e5) {
  SetSection(section, family, profile);
  SetName(name);
  SetSectionDimensions(d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12, e1, e2, e3, e4, e5);
  SetSectionIntertialData(d13, d14, d15, d16, d17, d18, d19, d20);
}

void CISectionElement::ResetSection() {
  CISectionData::ResetSection();
  std::memset(m_v, 0, sizeof m_v);
}

bool CISectionElement::CopyFrom(const CISectionData* other) {
  if (!CISectionData::CopyFrom(other)) return false;
  if (const auto* element = dynamic_cast<const CISectionElement*>(other)) {
    std::memcpy(m_v, element->m_v, sizeof m_v);
  }
  return true;
}

bool CISectionElement::IsEqualWith(const CISectionData* other) const {
  const auto* element = dynamic_cast<const CISectionElement*>(other);
  if (!element || !CISectionData::IsEqualWith(other)) return false;
  for (int i = 0; i < kSectionValueCount; ++i) {
    if (!(m_v[i] == element->m_v[i])) return false;
  }
  return true;
}

bool CISectionElement::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCISectionElement;
  io.Version(version);
  if (!load) {
    if (!io.ok() || !CISectionData::Serialize(f, false)) return false;
    Transfer(io, m_v, kLayout5);
    return io.ok();
  }
  std::memset(m_v, 0, sizeof m_v);
  if (!io.ok() || !CISectionData::Serialize(f, true)) return false;
  switch (version) {
    case 5:
    case 4:
      Transfer(io, m_v, kLayout5, version == 5 ? kSectionValueCount : kSectionValueCount - 1);
      break;
    case 3:
      Transfer(io, m_v, kLayout3);
      break;
    case 2:
      Transfer(io, m_v, kLayout2);
      m_v[kWidthDown] = m_v[kWidthUp];
      m_v[kTFlangeDown] = m_v[kTFlangeUp];
      break;
    case 1: {
      Transfer(io, m_v, kLayout1);
      m_v[kHeightBack] = m_v[kHeightFront];
      m_v[kWidthDown] = m_v[kWidthUp];
      m_v[kTFlangeDown] = m_v[kTFlangeUp];
      ulong32 section = 0;
      unsigned char profile = 0;
      io.UInt32(section).Block(&profile, 1);
      if (io.ok()) SetSection(section, Family(), profile);
      break;
    }
    default:
      break;  // a later layout: keep the defaults
  }
  return io.ok();
}

ulong32 CISectionElement::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CISectionData::CheckSum());
  for (int i : kLayout5) sum.AddF64(m_v[i]);
  return sum.get();
}

}  // namespace TELMARO_DATA_OBJECTS
