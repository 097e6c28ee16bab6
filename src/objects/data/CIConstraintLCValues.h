// CIConstraintLCValues: the values of one load case for a restraint span
// (key 1, a value B; key 2, when present, its default);
// CIConstraintLCValuesLst: the value sets of a span.
//
// Records:
//   CIConstraintLCValues (version 1): version word (4); the
//     CILoadCaseValues record. Another version leaves it reset, the stream
//     after the word.
//   CIConstraintLCValuesLst: that of CILoadCaseValuesLst.
// Checksum: that of CILoadCaseValues.
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/data/CILoadCaseValues.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCIConstraintLCValues = 1;

// Keys of the values (frozen: records hold them).
enum : int {
  kConstraintKeyB = 1,
  kConstraintKeyBDefault = 2,
};

class TELIO_EXPORT CIConstraintLCValues : public CILoadCaseValues {
 public:
  CIConstraintLCValues();
  CIConstraintLCValues(const CIConstraintLCValues& other) = default;
  CIConstraintLCValues& operator=(const CIConstraintLCValues& other) = default;
  ~CIConstraintLCValues() override;

  static GE_::Safe::PtrStrong<CILoadCase> GetNewObject();

  // B = 0.0.
  void InitializeValues() override;
  // B = the default held under key 2, 0.0 when there is none.
  void InitializeBToDefault();

  GE_::Safe::PtrStrong<CILoadCase> Clone() const override;
  bool Serialize(FILE* f, bool load) override;
};

class TELIO_EXPORT CIConstraintLCValuesLst : public CILoadCaseValuesLst {
 public:
  CIConstraintLCValuesLst();
  ~CIConstraintLCValuesLst() override;
};

}  // namespace TELMARO_DATA_OBJECTS
