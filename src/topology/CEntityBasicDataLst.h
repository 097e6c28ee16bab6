// CEntityBasicDataLst: one member of an analysis entity model (a start node,
// an end node and the beams between them), and CEntityBasicDataLstArray, the
// named member lists a model keeps.
//
// The nodes and beams are items of a CEntity's lists and are not owned: a
// member must not outlive the lists of the model it was made on (CEntity
// drops its members whenever it empties its lists).
#pragma once

#include "framework/CArrayEx.h"
#include "framework/CSmartCollection.h"
#include "framework/PtrStrong.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "topology/ENTITIESStructs.h"

class TELIO_EXPORT CEntityBasicDataLst : public GE_::Safe::ObjStrong {
 public:
  CEntityBasicDataLst() = default;
  CEntityBasicDataLst(ENTITIESStructs::B_Node* start, ENTITIESStructs::B_Node* end)
      : m_start(start), m_end(end) {}
  ~CEntityBasicDataLst() override = default;

  CSmartCollection<ENTITIESStructs::Beam*>& GetBeams() { return m_beams; }
  const CSmartCollection<ENTITIESStructs::Beam*>& GetBeams() const { return m_beams; }
  ENTITIESStructs::B_Node* GetStartNode() const { return m_start; }
  ENTITIESStructs::B_Node* GetEndNode() const { return m_end; }
  void SetNodes(ENTITIESStructs::B_Node* start, ENTITIESStructs::B_Node* end) {
    m_start = start;
    m_end = end;
  }
  CString GetName() const { return m_name; }
  void SetName(const CString& name) { m_name = name; }
  int GetSelected() const { return m_selected; }
  void SetSelected(int selected) { m_selected = selected; }

  // True when the member's end nodes lie within 0.001 of the two points,
  // in either order. False without both nodes.
  bool HasEnds(double x1, double y1, double z1, double x2, double y2, double z2) const;

 private:
  CSmartCollection<ENTITIESStructs::Beam*> m_beams;
  ENTITIESStructs::B_Node* m_start = nullptr;
  ENTITIESStructs::B_Node* m_end = nullptr;
  CString m_name;
  int m_selected = 0;
};

// The named member lists of a model. A member is found by its two end
// points (either order, within 0.001); the searches start at an index and
// return the index of the first member found, or -1 (also for a start
// outside the array).
class TELIO_EXPORT CEntityBasicDataLstArray
    : public CArrayEx<GE_::Safe::PtrStrong<CEntityBasicDataLst>> {
 public:
  CEntityBasicDataLstArray() = default;
  ~CEntityBasicDataLstArray() override = default;
  CEntityBasicDataLstArray(const CEntityBasicDataLstArray&) = default;
  CEntityBasicDataLstArray& operator=(const CEntityBasicDataLstArray&) = default;

  // Sets every member's selected flag.
  void SelectAll(bool select);

  int FindLstMember(double x1, double y1, double z1, double x2, double y2, double z2,
                    int start = 0) const;
  // Selects the member found (the others keep their flags).
  int SelectLstMember(double x1, double y1, double z1, double x2, double y2, double z2,
                      int start = 0);
  // Gives the first member found the name.
  int RenameLstMember(double x1, double y1, double z1, double x2, double y2, double z2,
                      const CString& name);
  // Removes the member found from the array.
  int RemoveLstMember(double x1, double y1, double z1, double x2, double y2, double z2,
                      int start = 0);
};
