#include "objects/data/CILTBLCValues.h"

#include <cmath>

#include "framework/Persist.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;

namespace {

const double kValueTolerance = 0.001;

bool Near(double a, double b) { return std::fabs(a - b) < kValueTolerance; }

}  // namespace

CILTBLCValues::CILTBLCValues() = default;

CILTBLCValues::~CILTBLCValues() = default;

PtrStrong<CILoadCase> CILTBLCValues::GetNewObject() { return PtrStrong<CILoadCase>(new CILTBLCValues); }

void CILTBLCValues::InitializeValues() {
  *LCValuePtr(kLTBKeyB) = 0.0;
  InitializeCToDefault();
}

void CILTBLCValues::InitializeCToDefault() {
  *LCValuePtr(kLTBKeyC1) = 1.0;
  *LCValuePtr(kLTBKeyC2) = 0.0;
  *LCValuePtr(kLTBKeyC3) = 0.0;
}

void CILTBLCValues::InitializeBToDefault() { *LCValuePtr(kLTBKeyB) = LCValue(kLTBKeyBDefault); }

void CILTBLCValues::SetBDefault(double d) { *LCValuePtr(kLTBKeyBDefault) = d; }

bool CILTBLCValues::HasBDefault() const { return Values().PLookup(kLTBKeyBDefault) != nullptr; }

bool CILTBLCValues::IsBDefault() const { return Near(LCValue(kLTBKeyB), LCValue(kLTBKeyBDefault)); }

bool CILTBLCValues::IsCDefault() const {
  return Near(LCValue(kLTBKeyC1), 1.0) && Near(LCValue(kLTBKeyC2), 0.0) && Near(LCValue(kLTBKeyC3), 0.0);
}

PtrStrong<CILoadCase> CILTBLCValues::Clone() const { return PtrStrong<CILoadCase>(new CILTBLCValues(*this)); }

bool CILTBLCValues::Serialize(FILE* f, bool load) {
  return SerializeWrapped(f, load, _SerializeVersionCILTBLCValues);
}

CILTBLCValuesLst::CILTBLCValuesLst() : CILoadCaseValuesLst(&CILTBLCValues::GetNewObject) {}

CILTBLCValuesLst::~CILTBLCValuesLst() = default;

}  // namespace TELMARO_DATA_OBJECTS
