// CISectionElement: a design section with its dimensions and cross-section
// properties (doubles, in the units of the source they came from: the
// catalogue gives dimensions in mm and properties in cm units).
//
// Record (little-endian):
//   version word (4); the CISectionData record; then by version:
//   5 (written): HeightFront, HeightBack, WidthUp, WidthDown, TFlangeUp,
//      TFlangeDown, TWeb, CParam, HcParam, HeParam, RadIn, RadOut, AngleIn,
//      AngleOut, Ey, Ez, Ax, Ay, Az, It, Iy, Iz, Wel, Wpl, G (25 x 8)
//   4: as 5 without G
//   3: HeightFront ... HeParam (10), RadIn, RadOut, AngleIn, AngleOut, Ey,
//      Ez, Ax, Iz, Wel, Wpl
//   2: HeightFront, HeightBack, WidthUp, TFlangeUp, TWeb, RadIn, Ey, Ez, Ax,
//      Iz, Wel, Wpl; WidthDown = WidthUp, TFlangeDown = TFlangeUp
//   1: HeightFront, WidthUp, TFlangeUp, TWeb, RadIn, Ey, Ez, Ax, Iz, Wel,
//      Wpl, then section (4) and profile (1 byte), which replace the codes
//      of the section record; HeightBack = HeightFront, WidthDown = WidthUp,
//      TFlangeDown = TFlangeUp
// Values a layout lacks load as 0; a later version reads nothing after the
// section record.
// Checksum: the CISectionData checksum (4), then the 25 values in the order
// of the version 5 record (8 each).
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/data/CISectionData.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCISectionElement = 5;

// The 25 values of a section element in their declared order, which is the
// order the section object bridge maps to its keys.
enum SectionValue : int {
  kHeightFront,  // height at the front end
  kHeightBack,   // height at the back end
  kWidthUp,      // top flange width
  kWidthDown,    // bottom flange width
  kTFlangeUp,    // top flange thickness
  kTFlangeDown,  // bottom flange thickness
  kTWeb,         // web thickness
  kCParam,       // the family's C parameter
  kHcParam,
  kHeParam,
  kAngleOut,
  kAngleIn,
  kRadIn,
  kRadOut,
  kEy,  // centroid positions
  kEz,
  kAx,  // axial and shear areas
  kAy,
  kAz,
  kIt,  // torsion and bending second moments
  kIy,
  kIz,
  kWel,  // elastic and plastic moduli
  kWpl,
  kG,  // weight per length
  kSectionValueCount
};

// Display tables of section properties: 15 symbols with their units in the
// cm and in the mm system, index by index.
constexpr int kSectionPropertyCount = 15;
TELIO_EXPORT extern const char* const kSectionPropertySymbols[kSectionPropertyCount];
TELIO_EXPORT extern const char* const kSectionPropertyUnitsCm[kSectionPropertyCount];
TELIO_EXPORT extern const char* const kSectionPropertyUnitsMm[kSectionPropertyCount];

class TELIO_EXPORT CISectionElement : public CISectionData {
 public:
  CISectionElement();
  CISectionElement(const CISectionElement& other) = default;
  CISectionElement& operator=(const CISectionElement& other) = default;
  ~CISectionElement() override;

  // A PtrStrong<CISectionData> holding a new CISectionElement.
  static GE_::Safe::PtrStrong<CISectionData> GetNewObject();
  GE_::Safe::PtrStrong<CISectionData> Clone() const override;

  // Value i of SectionValue; 0 outside.
  double GetSectionValue(int i) const { return (i >= 0 && i < kSectionValueCount) ? m_v[i] : 0.0; }

  double HeightFront() const { return m_v[kHeightFront]; }
  double* PHeightFront() { return &m_v[kHeightFront]; }
  void SetHeightFront(double v) { m_v[kHeightFront] = v; }
  double HeightBack() const { return m_v[kHeightBack]; }
  double* PHeightBack() { return &m_v[kHeightBack]; }
  void SetHeightBack(double v) { m_v[kHeightBack] = v; }
  double WidthUp() const { return m_v[kWidthUp]; }
  double* PWidthUp() { return &m_v[kWidthUp]; }
  double WidthDown() const { return m_v[kWidthDown]; }
  double* PWidthDown() { return &m_v[kWidthDown]; }
  double TFlangeUp() const { return m_v[kTFlangeUp]; }
  double* PTFlangeUp() { return &m_v[kTFlangeUp]; }
  double TFlangeDown() const { return m_v[kTFlangeDown]; }
  double* PTFlangeDown() { return &m_v[kTFlangeDown]; }
  double TWeb() const { return m_v[kTWeb]; }
  double* PTWeb() { return &m_v[kTWeb]; }
  double CParam() const { return m_v[kCParam]; }
  double* PCParam() { return &m_v[kCParam]; }
  double HcParam() const { return m_v[kHcParam]; }
  double* PHcParam() { return &m_v[kHcParam]; }
  double HeParam() const { return m_v[kHeParam]; }
  double* PHeParam() { return &m_v[kHeParam]; }
  double AngleOut() const { return m_v[kAngleOut]; }
  double* PAngleOut() { return &m_v[kAngleOut]; }
  double AngleIn() const { return m_v[kAngleIn]; }
  double* PAngleIn() { return &m_v[kAngleIn]; }
  double RadIn() const { return m_v[kRadIn]; }
  double* PRadIn() { return &m_v[kRadIn]; }
  double RadOut() const { return m_v[kRadOut]; }
  double* PRadOut() { return &m_v[kRadOut]; }
  double Ey() const { return m_v[kEy]; }
  double Ez() const { return m_v[kEz]; }
  double Ax() const { return m_v[kAx]; }
  double Ay() const { return m_v[kAy]; }
  double Az() const { return m_v[kAz]; }
  double It() const { return m_v[kIt]; }
  double Iy() const { return m_v[kIy]; }
  double Iz() const { return m_v[kIz]; }
  double Wel() const { return m_v[kWel]; }
  double Wpl() const { return m_v[kWpl]; }
  double G() const { return m_v[kG]; }

  void SetSectionDimensions(double bAnnet, double heightFront, double heightBack, double widthUp, double widthDown,
                            double tFlangeUp, double tFlangeDown, double tWeb, double radIn, double radOut, double ey,
                            double ez, double cParam, double angleIn, double angleOut, double hcParam,
                            double heParam);
  void SetSectionIntertialData(double ax, double ay, double az, double it, double iy, double iz, double wel,
                               double wpl);
  void SetSectionWeight(double g) { m_v[kG] = g; }

  using CISectionData::SetSection;
  // Codes, name and values at once: d1 ... d12 and e1 ... e5 go to
  // SetSectionDimensions (BAnnet ... Ez, then CParam ... HeParam), d13 ...
  // d20 to SetSectionIntertialData (Ax ... Wpl). G is left as it was.
  void SetSection(ulong32 section, ulong32 family, const CString& name, double d1, double d2, double d3, double d4,
                  double d5, double d6, double d7, double d8, double d9, double d10, double d11, double d12,
                  double d13, double d14, double d15, double d16, double d17, double d18, double d19, double d20,
                  ulong32 profile, double e1, double e2, double e3, double e4, double e5);

  // The section part's reset, and every value 0.
  void ResetSection() override;

  using CISectionData::CopyFrom;
  using CISectionData::IsEqualWith;
  // The section part, and the values when other is a section element too.
  bool CopyFrom(const CISectionData* other) override;
  // As the section part, and, for another section element, every value
  // exactly equal; false when other is not a section element.
  bool IsEqualWith(const CISectionData* other) const override;

  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;

 private:
  double m_v[kSectionValueCount];
};

}  // namespace TELMARO_DATA_OBJECTS
