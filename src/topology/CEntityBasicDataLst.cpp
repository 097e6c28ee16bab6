#include "topology/CEntityBasicDataLst.h"

#include "platform/TelKrnl.h"

namespace {

constexpr float kEndTolerance = 0.001f;

bool NodeAt(const ENTITIESStructs::B_Node* n, double x, double y, double z) {
  return E_SgmLen3D(n->X(), n->Y(), n->Z(), static_cast<float>(x), static_cast<float>(y),
                    static_cast<float>(z)) < kEndTolerance;
}

}  // namespace

bool CEntityBasicDataLst::HasEnds(double x1, double y1, double z1, double x2, double y2,
                                  double z2) const {
  if (!m_start || !m_end) return false;
  return (NodeAt(m_start, x1, y1, z1) && NodeAt(m_end, x2, y2, z2)) ||
         (NodeAt(m_start, x2, y2, z2) && NodeAt(m_end, x1, y1, z1));
}

void CEntityBasicDataLstArray::SelectAll(bool select) {
  for (int i = 0; i < GetSize(); ++i) {
    if (!GetData()[i].IsNull()) GetData()[i]->SetSelected(select ? 1 : 0);
  }
}

int CEntityBasicDataLstArray::FindLstMember(double x1, double y1, double z1, double x2, double y2,
                                            double z2, int start) const {
  if (start < 0) return -1;
  for (int i = start; i < GetSize(); ++i) {
    const auto& m = GetData()[i];
    if (!m.IsNull() && m->HasEnds(x1, y1, z1, x2, y2, z2)) return i;
  }
  return -1;
}

int CEntityBasicDataLstArray::SelectLstMember(double x1, double y1, double z1, double x2,
                                              double y2, double z2, int start) {
  int i = FindLstMember(x1, y1, z1, x2, y2, z2, start);
  if (i >= 0) GetData()[i]->SetSelected(1);
  return i;
}

int CEntityBasicDataLstArray::RenameLstMember(double x1, double y1, double z1, double x2,
                                              double y2, double z2, const CString& name) {
  int i = FindLstMember(x1, y1, z1, x2, y2, z2, 0);
  if (i >= 0) GetData()[i]->SetName(name);
  return i;
}

int CEntityBasicDataLstArray::RemoveLstMember(double x1, double y1, double z1, double x2,
                                              double y2, double z2, int start) {
  int i = FindLstMember(x1, y1, z1, x2, y2, z2, start);
  if (i >= 0) RemoveAt(i);
  return i;
}
