// CMDDMember: a design member: a straight member between two end nodes made
// of internal beams (CMDDBeam, whose internal points are CMDDNode objects
// with the forces of every load case), designed as one piece, with its
// section, grade, lateral restraints in two planes, lateral-torsional
// buckling (LTB) points, purlin data and composite data.
//
// Record (version 5, little-endian):
//   version word (4); the CEMember record (with the internal beams and
//   points); has-LTB, Iy_Iz, KcIy_Iz (4 each); the section record
//   (CISectionData); the grade record (CIGradeData); the XY restraint list,
//   the XZ restraint list (CIConstraintLst), the LTB list (CILTBLst); the
//   purlin data record (CITegidaData); the composite data record
//   (CICompositeData).
// Older records, read (frozen history), after the CEMember record:
//   1: section, grade, XY, XZ, LTB lists. has-LTB 0; purlin data the
//      defaults for the member's length.
//   2: one word (read and dropped), then as 1; has-LTB, Iy_Iz, KcIy_Iz 0.
//   3: has-LTB, then as 1, then the purlin data; Iy_Iz, KcIy_Iz 0.
//   4: has-LTB, Iy_Iz, KcIy_Iz, then as 1, then the purlin data.
// Versions 3 to 5 repair purlin data whose count word is 0 or less or whose
// length is 0.0: they get the defaults for the member's length. Versions 1
// and 2 keep the composite data of a new member. Loading starts from a new
// member's data (the link status and the intermediate-values-linked word 0,
// new empty restraint and LTB lists); a version not listed reads nothing
// after the CEMember record.
//
// Checksum: for a linked member (link status not 0) the name (text) and the
// checksums of the start and end points (only the end points count: the
// analysis model gives the beams), else the CEMember checksum; then Iy_Iz,
// KcIy_Iz, the section's and the grade's checksums; then, for a composite
// member, the composite data's checksum alone, for any other has-LTB, the
// XY, XZ and LTB lists' checksums and the purlin data's checksum (4 bytes
// each).
//
// A member and each of its groups hold strong pointers to each other: the
// links are broken only by RemoveFromGroup/RemoveFromAllGroups and the
// groups' Remove operations. The restraint and LTB lists observe the member
// as their line, so the member must live on its own or through a PtrStrong.
#pragma once

#include <cstdio>

#include "framework/CArrayExPointers.h"
#include "framework/PtrStrong.h"
#include "objects/data/CICompositeData.h"
#include "objects/data/CIConstraintLst.h"
#include "objects/data/CIGradeData.h"
#include "objects/data/CIJobData.h"
#include "objects/data/CILTBLst.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "objects/data/CISectionData.h"
#include "objects/data/CITegidaData.h"
#include "objects/elements/CEMember.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace MDD_OBJECTS {

const unsigned int _SerializeVersionCMDDMember = 5;

// Attribute word bits of members (frozen).
enum : ulong32 {
  kMemberTemplate = 4,  // the template member of a group
  kMemberSelected = 8,
};

// The section family of composite members.
const ulong32 kCompositeFamily = 104;
// At most this many restraints in one plane.
const int kMaxConstraints = 20;

class CMDDMemGroup;

class TELIO_EXPORT CMDDMember : public ELEMENT_OBJECTS::CEMember {
 public:
  typedef GE_::Safe::PtrStrong<CMDDMemGroup> GroupPtr;
  typedef GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CIConstraintLst> ConstraintLstPtr;
  typedef GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CILTBLst> LTBLstPtr;

  CMDDMember();
  // A copy has copies of every stored field and list; it belongs to no
  // group.
  CMDDMember(const CMDDMember& other);
  explicit CMDDMember(const CMDDMember* other);
  // As CopyFrom.
  CMDDMember& operator=(const CMDDMember& other);
  ~CMDDMember() override;

  static GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLine> GetNewObject();

  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CISectionData> GetSection() const { return m_section; }
  void SetSection(const GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CISectionData>& s) { m_section = s; }
  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CIGradeData> GetGrade() const { return m_grade; }
  void SetGrade(const GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CIGradeData>& g) { m_grade = g; }
  const TELMARO_DATA_OBJECTS::CITegidaData& Tegida() const { return m_tegida; }
  TELMARO_DATA_OBJECTS::CITegidaData* PTegida() { return &m_tegida; }
  // Purlin data whose count word is 0 or less or whose length is 0.0 get
  // the defaults for the member's length, as loading the member's record
  // gives them: a new member then keeps its checksum through a save and a
  // load.
  void RepairTegida();
  const TELMARO_DATA_OBJECTS::CICompositeData& CompositeData() const { return m_composite; }
  TELMARO_DATA_OBJECTS::CICompositeData* PCompositeData() { return &m_composite; }
  ConstraintLstPtr GetConstraintXYLst() const { return m_constXY; }
  ConstraintLstPtr GetConstraintXZLst() const { return m_constXZ; }
  LTBLstPtr GetLTBLst() const { return m_ltb; }

  int HasLTB() const { return m_hasLTB; }
  int* PHasLTB() { return &m_hasLTB; }
  void SetHasLTB(int v) { m_hasLTB = v; }
  // The member's link to the analysis model (the members array sets it);
  // never stored.
  int LinkStatus() const { return m_linkStatus; }
  void SetLinkStatus(int v) { m_linkStatus = v; }
  // 1 once the members array attached the forces of the intermediate
  // points; never stored.
  int IPsLCValuesLinked() const { return m_ipsLinked; }
  void SetIPsLCValuesLinked(int v) { m_ipsLinked = v; }
  int Iy_Iz() const { return m_IyIz; }
  int* PIy_Iz() { return &m_IyIz; }
  void SetIy_Iz(int v) { m_IyIz = v; }
  int KcIy_Iz() const { return m_KcIyIz; }
  int* PKcIy_Iz() { return &m_KcIyIz; }
  void SetKcIy_Iz(int v) { m_KcIyIz = v; }
  // The section is of the composite family (104).
  bool IsCompositeMember() const;
  // The member is the template of a group (attribute 4).
  bool IsTemplate() const { return HasAttr(kMemberTemplate); }

  // Add an LTB point or a restraint at distance from the start point, with
  // two values the list holds (LTB: its default types; restraints: its sway
  // member word as the type, so type 2 unless the member sways, and its
  // default eta). 0 without the list,
  // when the list already holds as many entries as the member has internal
  // points, and (restraints) when it holds kMaxConstraints. The regulation
  // is not used.
  int AddLTB(double distance, TELMARO_DATA_OBJECTS::REGULATION regulation);
  int AddConstXY(double distance, TELMARO_DATA_OBJECTS::REGULATION regulation);
  int AddConstXZ(double distance, TELMARO_DATA_OBJECTS::REGULATION regulation);
  // Remove the entry at that distance; 0 without the list.
  int RemoveLTB(double distance, TELMARO_DATA_OBJECTS::REGULATION regulation);
  int RemoveConstXY(double distance, TELMARO_DATA_OBJECTS::REGULATION regulation);
  int RemoveConstXZ(double distance, TELMARO_DATA_OBJECTS::REGULATION regulation);

  // The values of every internal beam's points and of the restraint and
  // LTB lists follow lst; the AND of the results, starting from 1.
  int SynchronizeLCValues(TELMARO_DATA_OBJECTS::CILoadCaseLstSyn* lst);
  // The same for the internal beams only.
  int SynchronizeLCValuesForBeams(TELMARO_DATA_OBJECTS::CILoadCaseLstSyn* lst);
  // Makes ltb follow restraints at the member's internal points: an LTB
  // point where there is no restraint is removed; one where there is takes
  // the restraint's type as its KType (2 unless the type is 1 or 2); a
  // restraint without an LTB point gets one with that KType and the LTB
  // list's default KwType.
  void SynchronizeConstraintsLTB(const ConstraintLstPtr& restraints, const LTBLstPtr& ltb);

  // 0 for null, and for a template that already belongs to a group;
  // otherwise group is (again) the member's last group, 1.
  int AddToGroup(CMDDMemGroup* group);
  // 0 when the member is not in group.
  int RemoveFromGroup(CMDDMemGroup* group);
  // Takes the member out of every group it belongs to (each group's
  // Remove).
  void RemoveFromAllGroups();
  int GetCountGroups() const { return m_groups.GetSize(); }
  // Group i, or null.
  CMDDMemGroup* GroupAt(int i) const;

  using ELEMENT_OBJECTS::CEMember::CopyFrom;
  using ELEMENT_OBJECTS::CEMember::CopyTo;
  using ELEMENT_OBJECTS::CEMember::IsEqualWith;
  // Every stored field and copies of the lists (the groups and the link
  // status stay); the intermediate-values-linked word becomes 0. False for
  // null.
  bool CopyFrom(const CMDDMember* other);
  bool CopyTo(CMDDMember* other) const;
  // The member (element and line), its beams (end points), the three
  // words, section, grade, the restraints and LTB points with their spans,
  // the purlin data and the composite data equal. False for null.
  bool IsEqualWith(const CMDDMember* other) const;

  // The line reset; the intermediate-values-linked word 0.
  void ResetLine() override;
  GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLine> Clone() const override;
  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;

  // The geometry part of the checksum (see above).
  virtual ulong32 CheckSumGeometry() const;
  // The internal points' and the internal beams' list checksums.
  virtual ulong32 CheckSumInternalPoints() const;
  virtual ulong32 CheckSumInternalBeams() const;
  // Make the lists (on this member's line) when missing.
  virtual void EnsureValidConstraintXYLst();
  virtual void EnsureValidConstraintXZLst();
  virtual void EnsureValidLTBLst();
  // Empty the restraint lists, the LTB list.
  virtual void ResetConstraints();
  virtual void ResetLTB();

 protected:
  void EnsureValidIntPntLst() override;
  void EnsureValidIntBmsLst() override;
  // The fields of record versions 3, 4 and 5 after the CEMember record.
  virtual bool ReadVersion3(FILE* f);
  virtual bool ReadVersion4(FILE* f);
  virtual bool ReadVersion5(FILE* f);

 private:
  // Section, grade, XY, XZ, LTB lists: the fields every version holds,
  // read into the fresh lists ResetMemberData made before.
  bool ReadCommonFields(FILE* f);
  // A new member's data (see Serialize).
  void ResetMemberData();
  // New empty restraint and LTB lists in place of those held.
  void NewLists();
  int AddConstraint(const ConstraintLstPtr& list, double distance);
  // Copies other's stored fields (not the CEMember part).
  void CopyMemberData(const CMDDMember& other);

  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CISectionData> m_section;
  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CIGradeData> m_grade;
  TELMARO_DATA_OBJECTS::CITegidaData m_tegida;
  ConstraintLstPtr m_constXY;
  ConstraintLstPtr m_constXZ;
  LTBLstPtr m_ltb;
  TELMARO_DATA_OBJECTS::CICompositeData m_composite;
  int m_hasLTB;
  int m_linkStatus;
  int m_ipsLinked;
  int m_IyIz;
  int m_KcIyIz;
  CArrayExPointers<GroupPtr> m_groups;
};

}  // namespace MDD_OBJECTS
