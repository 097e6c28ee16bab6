// CMemberValidation and CMembersArrayValidation: does a design member still
// agree with the topology of the analysis job it is linked to? Each of its
// internal beams must be a beam of the topology (same end points within
// 0.001), all of them must share one section and one rotation, and the
// section must be one member design accepts. They also find the topology
// beam and section behind a member's beam, rename a member's beams and
// points after the topology, and tell whether a member's section may be
// changed.
//
// Validation codes (ValidateLinkMember):
//      0  the member agrees (also a group template, at once)
//   -100  the member, or one of its internal beams, is missing
//    -99  no topology
//    -98  an internal beam is no topology beam
//    -97  the topology beam was found, its section was not
//    -96  more than 46 internal beams
//    -95  a section family member design does not accept
//    -94  an internal beam's zero-angle flag or rotation (0.001) differs
//         from the first beam's
//    -93  an internal beam's section (catalogue key) differs from the
//         first beam's, or a tapered member's segments do not share one
//         rate of change
// Every beam after the first is compared with the first, not with its
// neighbour.
//
// Tapered members (families 80, 81): a segment's taper values s and e are
// the floats at offsets 2 and 6 of its section's property block, its rate
// r = (e - s) / L with L its length between its topology nodes (0 when L
// is within 0.001 of 0). A segment after the first whose tapered section
// has no property block is compared with s = e = r = 0 (the rule reads the
// block and has no other value for it).
//
// The topology is not owned; it must outlive the objects that refer to it.
#pragma once

#include "files/CFileTOP.h"
#include "framework/PtrStrong.h"
#include "mdd/CMDDMember.h"
#include "objects/geometry/CGLine.h"
#include "platform/Export.h"
#include "topology/TOPO_REC.h"

namespace MDD_OBJECTS {
class CMDDMembersArray;
}

namespace MD_TOOLS {

// Validation codes (frozen: the applications test them).
enum : int {
  kMemberValid = 0,
  kMemberMissing = -100,
  kNoTopology = -99,
  kBeamNotInTopology = -98,
  kSectionNotInTopology = -97,
  kTooManyBeams = -96,
  kFamilyNotAccepted = -95,
  kRotationDiffers = -94,
  kSectionDiffers = -93,
  kCatalogueSectionMissing = -92,
};

// At most this many internal beams make one design member.
const int kMaxMemberBeams = 46;

// A line of the validation codes for people ("an internal beam has no
// topology beam with the same end points"); "" for an unknown code.
TELIO_EXPORT const char* ValidationMessage(int code);

class TELIO_EXPORT CMemberValidation {
 public:
  CMemberValidation(MDD_OBJECTS::CMDDMember* member, const TOPOStructs::TOPO_REC* topo);
  CMemberValidation(const CMemberValidation& other) = default;
  CMemberValidation& operator=(const CMemberValidation& other) = default;
  ~CMemberValidation();

  void SetDataForValidation(MDD_OBJECTS::CMDDMember* member, const TOPOStructs::TOPO_REC* topo);

  // The topology beam with beam's end points (in either order) into *out,
  // and, when section is given, its section (the topology's section table
  // entry of the beam's number, when that is not above the section count).
  // Both outputs are nulled first. 1 when the beam, and the section if one
  // was wanted, were found; 0 otherwise and for a null beam, topology or
  // out.
  static int GetLinkBeamTopoData(const GEOMETRY_OBJECTS::CGLine* beam, const TOPOStructs::TOPO_REC* topo,
                                 TOPOStructs::BEAM_REC** out, TOP_SEC** section);
  // GetLinkBeamTopoData of the member's first internal beam; 0 when any
  // argument is null.
  static int GetLinkMemberTopoSectionData(const MDD_OBJECTS::CMDDMember* member, const TOPOStructs::TOPO_REC* topo,
                                          TOP_SEC** section);

  // A validation code (see the header).
  int ValidateLinkMember() const;
  // Compares the member's section with the catalogue section of the
  // topology section of its first beam (the tapered parent for a tapered
  // one) by identifier, family and profile: 1 equal, 0 different; -100,
  // -99, -97, -92 when the member, the topology, the topology section or
  // the catalogue section is missing. The topology section goes to *section
  // when given.
  int IsSameLinkMemberSection(TOP_SEC** section) const;
  // Gives each internal beam the name of its topology beam and each
  // beam's end points the names of the topology nodes there, then rebuilds
  // the member's points from its beams, with (withBeamPoints nonzero) or
  // without the beams' own internal points. 1 when every beam was found; 0
  // otherwise and for a null member or topology.
  static int UpdateBeamNodeNamesFromTopology(MDD_OBJECTS::CMDDMember* member, const TOPOStructs::TOPO_REC* topo,
                                             int withBeamPoints);

 private:
  GE_::Safe::PtrStrong<MDD_OBJECTS::CMDDMember> m_member;
  const TOPOStructs::TOPO_REC* m_topo;
};

class TELIO_EXPORT CMembersArrayValidation {
 public:
  explicit CMembersArrayValidation(MDD_OBJECTS::CMDDMembersArray* members);

  // 1 when the member at index is selected for analysis (its element in the
  // analysis data's member list has the analysis flag set); 0 otherwise.
  int IsSelectedForAnalysis(int index) const;
  // Whether the section of the member at index may be changed:
  //   -10 no members array (or an unexpected code of IsSameLinkMemberSection)
  //    -9 no member at index
  //    -8 no usable link, or the member's topology data are missing
  //     0 onlyForAnalysis and the member is not selected for analysis
  //     1 its section is the catalogue section of its topology section
  //     3 the sections differ and another member overlaps it: a member whose
  //       line is not this one's, on the same line within 0.1, onto which
  //       this member's start or end point falls between its ends
  //     4 the sections differ and a physical beam of the topology (from its
  //       first to its last node) overlaps it the same way
  //     2 the sections differ and nothing overlaps
  // Members are tested in project order, then the physical beams in list
  // order; the first overlap decides.
  int CanChangeMemberSection(int index, bool onlyForAnalysis) const;

 private:
  MDD_OBJECTS::CMDDMembersArray* m_members;
};

}  // namespace MD_TOOLS
