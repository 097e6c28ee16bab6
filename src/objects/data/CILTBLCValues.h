// CILTBLCValues: the values of one load case for a lateral-torsional
// buckling span: the moment factors C1, C2, C3 and a value B with its
// default; CILTBLCValuesLst: the value sets of a span.
//
// Records:
//   CILTBLCValues (version 1): version word (4); the CILoadCaseValues
//     record. Another version leaves it reset, the stream after the word.
//   CILTBLCValuesLst: that of CILoadCaseValuesLst.
// Checksum: that of CILoadCaseValues.
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/data/CILoadCaseValues.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCILTBLCValues = 1;

// Keys of the values (frozen: records hold them).
enum : int {
  kLTBKeyB = 1,
  kLTBKeyBDefault = 2,
  kLTBKeyC1 = 3,
  kLTBKeyC2 = 4,
  kLTBKeyC3 = 5,
};

class TELIO_EXPORT CILTBLCValues : public CILoadCaseValues {
 public:
  CILTBLCValues();
  CILTBLCValues(const CILTBLCValues& other) = default;
  CILTBLCValues& operator=(const CILTBLCValues& other) = default;
  ~CILTBLCValues() override;

  static GE_::Safe::PtrStrong<CILoadCase> GetNewObject();

  // B = 0.0, C1 = 1.0, C2 = C3 = 0.0 (the default of B is left alone).
  void InitializeValues() override;
  // C1 = 1.0, C2 = C3 = 0.0.
  void InitializeCToDefault();
  // B = its default, 0.0 when there is none.
  void InitializeBToDefault();
  void SetBDefault(double d);
  bool HasBDefault() const;
  // |B - default of B| < 0.001, absent values counting as 0.0.
  bool IsBDefault() const;
  // C1, C2, C3 within 0.001 of 1.0, 0.0, 0.0, absent values counting as 0.0.
  bool IsCDefault() const;

  GE_::Safe::PtrStrong<CILoadCase> Clone() const override;
  bool Serialize(FILE* f, bool load) override;
};

class TELIO_EXPORT CILTBLCValuesLst : public CILoadCaseValuesLst {
 public:
  CILTBLCValuesLst();
  ~CILTBLCValuesLst() override;
};

}  // namespace TELMARO_DATA_OBJECTS
