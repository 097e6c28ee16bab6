// CMDDLoadCaseValues: the six internal forces of one load case at one point
// of a member; CMDDLoadCaseValuesLst: the value sets of one point, one per
// load case; CMDDLoadCaseLst: the load-case list of a design project.
//
// The forces are values of the CILoadCaseValues map under frozen keys:
// 1 Fx (axial), 2 Fy, 3 Fz (shear along local y and z), 4 Mx (torsion),
// 5 My, 6 Mz (bending about local y and z).
//
// Records:
//   CMDDLoadCaseValues (version 1): version word (4); the CILoadCaseValues
//     record. Another version read leaves the set reset.
//   CMDDLoadCaseValuesLst, CMDDLoadCaseLst: those of CILoadCaseValuesLst
//     and CILoadCaseLst.
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/data/CILoadCase.h"
#include "objects/data/CILoadCaseValues.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace MDD_OBJECTS {

const unsigned int _SerializeVersionCMDDLoadCaseValues = 1;

// Keys of the forces (frozen: records hold them).
enum : int {
  kKeyFx = 1,
  kKeyFy = 2,
  kKeyFz = 3,
  kKeyMx = 4,
  kKeyMy = 5,
  kKeyMz = 6,
};

class TELIO_EXPORT CMDDLoadCaseValues : public TELMARO_DATA_OBJECTS::CILoadCaseValues {
 public:
  CMDDLoadCaseValues();
  CMDDLoadCaseValues(const CMDDLoadCaseValues& other);
  explicit CMDDLoadCaseValues(const CMDDLoadCaseValues* other);
  CMDDLoadCaseValues& operator=(const CMDDLoadCaseValues& other) = default;
  ~CMDDLoadCaseValues() override;

  // A new CMDDLoadCaseValues, as the element factory of a point's values.
  static GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CILoadCase> GetNewObject();

  // The force, 0.0 when its key is missing.
  double Fx() const { return LCValue(kKeyFx); }
  double Fy() const { return LCValue(kKeyFy); }
  double Fz() const { return LCValue(kKeyFz); }
  double Mx() const { return LCValue(kKeyMx); }
  double My() const { return LCValue(kKeyMy); }
  double Mz() const { return LCValue(kKeyMz); }
  // The stored force in place, or null when its key is missing.
  double* FxPtr() { return ValuePtr(kKeyFx); }
  double* FyPtr() { return ValuePtr(kKeyFy); }
  double* FzPtr() { return ValuePtr(kKeyFz); }
  double* MxPtr() { return ValuePtr(kKeyMx); }
  double* MyPtr() { return ValuePtr(kKeyMy); }
  double* MzPtr() { return ValuePtr(kKeyMz); }
  // All six. Throws CMemoryException* when memory is short.
  void SetValues(double fx, double fy, double fz, double mx, double my, double mz);
  // The six keys with 0.0. Throws CMemoryException* when memory is short.
  void InitializeValues() override;

  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CILoadCase> Clone() const override;
  bool Serialize(FILE* f, bool load) override;

 private:
  double* ValuePtr(int key);
};

class TELIO_EXPORT CMDDLoadCaseValuesLst : public TELMARO_DATA_OBJECTS::CILoadCaseValuesLst {
 public:
  CMDDLoadCaseValuesLst();
  ~CMDDLoadCaseValuesLst() override;
  CMDDLoadCaseValuesLst& operator=(const CMDDLoadCaseValuesLst& other);

  static GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CILoadCaseValuesLst> GetNewObject();

  // As CILoadCaseValuesLst. A list that follows no load-case list while it
  // loads finds the value sets already read through an index of their
  // names, not by comparing each with all the others; what it refuses (a
  // second value set of the same load case) is the same.
  bool Serialize(FILE* f, bool load) override;

 protected:
  int GetPosition(const LoadCasePtr& e, int requested) const override;

 private:
  class LoadIndex;
  LoadIndex* m_loading = nullptr;
};

class TELIO_EXPORT CMDDLoadCaseLst : public TELMARO_DATA_OBJECTS::CILoadCaseLst {
 public:
  CMDDLoadCaseLst();
  ~CMDDLoadCaseLst() override;

 protected:
  // Always allows the removal.
  int OnBeforeRemoveElement(int index) override;
  // Does nothing.
  void OnAfterAddElement(int index) override;
};

}  // namespace MDD_OBJECTS
