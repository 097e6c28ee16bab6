// CMDDBeam: an internal beam of a design member; its internal points are
// CMDDNode objects, which carry the forces of every load case.
//
// Record (version 1): version word (4); the CEBeam record (whose point list
// holds CMDDNode records). The version word is read and not tested.
// Checksum: that of CEBeam.
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "objects/elements/CEBeam.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace MDD_OBJECTS {

const unsigned int _SerializeVersionCMDDBeam = 1;

class TELIO_EXPORT CMDDBeam : public ELEMENT_OBJECTS::CEBeam {
 public:
  CMDDBeam();
  // A copy holds copies of the other beam's points and their value sets.
  CMDDBeam(const CMDDBeam& other) = default;
  CMDDBeam& operator=(const CMDDBeam& other) = default;
  ~CMDDBeam() override;

  // A new CMDDBeam, as the element factory of a design member's beams.
  static GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLine> GetNewObject();

  // Synchronises the values list of every internal point with lst (see
  // CILoadCaseValuesLst::SynchronizeLCValues); the AND of the results,
  // starting from 1.
  int SynchronizeLCValues(TELMARO_DATA_OBJECTS::CILoadCaseLstSyn* lst);

  GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLine> Clone() const override;
  bool Serialize(FILE* f, bool load) override;

 protected:
  // CEBeam's list, with CMDDNode as its element factory.
  void EnsureValidIntPntLst() override;
};

}  // namespace MDD_OBJECTS
