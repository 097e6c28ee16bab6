#include "objects/data/CIConstraintLCValues.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;

CIConstraintLCValues::CIConstraintLCValues() = default;

CIConstraintLCValues::~CIConstraintLCValues() = default;

PtrStrong<CILoadCase> CIConstraintLCValues::GetNewObject() { return PtrStrong<CILoadCase>(new CIConstraintLCValues); }

void CIConstraintLCValues::InitializeValues() { *LCValuePtr(kConstraintKeyB) = 0.0; }

void CIConstraintLCValues::InitializeBToDefault() { *LCValuePtr(kConstraintKeyB) = LCValue(kConstraintKeyBDefault); }

PtrStrong<CILoadCase> CIConstraintLCValues::Clone() const {
  return PtrStrong<CILoadCase>(new CIConstraintLCValues(*this));
}

bool CIConstraintLCValues::Serialize(FILE* f, bool load) {
  return SerializeWrapped(f, load, _SerializeVersionCIConstraintLCValues);
}

CIConstraintLCValuesLst::CIConstraintLCValuesLst() : CILoadCaseValuesLst(&CIConstraintLCValues::GetNewObject) {}

CIConstraintLCValuesLst::~CIConstraintLCValuesLst() = default;

}  // namespace TELMARO_DATA_OBJECTS
