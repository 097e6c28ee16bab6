// Members made over a linked project's topology beams, and the forces their
// points hold, for the tests of the design project.
#pragma once

#include <string>
#include <vector>

#include "framework/PtrStrong.h"
#include "mdd/CMDDMember.h"
#include "mdd/CMDDMembersArray.h"
#include "mdd/CMDDNode.h"
#include "topology/CTOPO_REC.h"

namespace telio_test {

// A member over the given topology beams (1-based numbers), added with the
// topology's section; its index.
inline int AddMemberOver(MDD_OBJECTS::CMDDMembersArray& p, const std::vector<int>& beams) {
  GE_::Safe::PtrStrong<MDD_OBJECTS::CMDDMember> m(new MDD_OBJECTS::CMDDMember);
  for (int b : beams) {
    MDD_OBJECTS::CMDDMembersArray::AppendTopologyBeam(*m, *CTOPO_REC::GetBeam(p.GetTopoRec()->beams, b));
  }
  m->SynchronizePointsFromBeamsLst(0);
  const int index = p.AddMember(m);
  p.UpdateMemberSectionFromTopology(index);
  return index;
}

// The value sets of point i of internal beam b of member m.
inline const TELMARO_DATA_OBJECTS::CILoadCaseValuesLst* ValuesAt(MDD_OBJECTS::CMDDMembersArray& p, int m, int b,
                                                                 int i) {
  auto* node =
      dynamic_cast<MDD_OBJECTS::CMDDNode*>(p.MemberAt(m)->GetInternalBeamAt(b)->GetInternalPointAt(i).GetPtr());
  return node->GetLoadCaseValuesLst();
}

// A value set as text: its load case's name and its six values.
inline std::string ValuesText(const TELMARO_DATA_OBJECTS::CILoadCaseValues& v) {
  std::string s = v.Name().GetString();
  for (int key = 1; key <= 6; ++key) s += " " + std::to_string(v.LCValue(key));
  return s;
}

}  // namespace telio_test
