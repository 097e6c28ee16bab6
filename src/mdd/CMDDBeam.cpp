#include "mdd/CMDDBeam.h"

#include "framework/Persist.h"
#include "mdd/CMDDNode.h"

namespace MDD_OBJECTS {

using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGLine;

CMDDBeam::CMDDBeam() = default;

CMDDBeam::~CMDDBeam() = default;

PtrStrong<CGLine> CMDDBeam::GetNewObject() { return PtrStrong<CGLine>(new CMDDBeam); }

int CMDDBeam::SynchronizeLCValues(TELMARO_DATA_OBJECTS::CILoadCaseLstSyn* lst) {
  int result = 1;
  for (int i = 0; i < GetCountInternalPoints(); ++i) {
    PtrStrong<GEOMETRY_OBJECTS::CGPoint> p = GetInternalPointAt(i);
    CMDDNode* node = dynamic_cast<CMDDNode*>(p.GetPtr());
    if (!node || !node->GetLoadCaseValuesLst()) continue;
    result = node->GetLoadCaseValuesLst()->SynchronizeLCValues(lst) && result;
  }
  return result;
}

PtrStrong<CGLine> CMDDBeam::Clone() const { return PtrStrong<CGLine>(new CMDDBeam(*this)); }

bool CMDDBeam::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCMDDBeam;
  io.Version(version);
  return io.ok() && CEBeam::Serialize(f, load);
}

void CMDDBeam::EnsureValidIntPntLst() {
  CEBeam::EnsureValidIntPntLst();
  m_pIntPnts->SetElementFactory(&CMDDNode::GetNewObject);
}

}  // namespace MDD_OBJECTS
