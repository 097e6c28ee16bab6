#include "mdd/CMemberValidation.h"

#include <cmath>
#include <cstring>

#include "connections/CConElmData_base.h"
#include "mdd/CMDDMembersArray.h"
#include "objects/data/CIAnalysisElement.h"
#include "objects/elements/CEElement.h"
#include "platform/TelKrnl.h"
#include "sections/SectionFamilies.h"
#include "sections/SectionObjectBridge.h"
#include "topology/CTOPO_REC.h"

namespace MD_TOOLS {

using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGLine;
using GEOMETRY_OBJECTS::CGPoint;
using MDD_OBJECTS::CMDDMember;
using MDD_OBJECTS::CMDDMembersArray;
using TOPOStructs::BEAM_REC;
using TOPOStructs::NODE_REC;
using TOPOStructs::TOPO_REC;

namespace {

constexpr double kTolerance = 0.001;
constexpr double kOverlapTolerance = 0.1;

bool IsAccepted(int family) { return IsValidForMDEC3(family) || IsValidForMDEC3Lepto(family) || family == 104; }

// The taper of a segment: its values at the start and the end, and its
// rate of change along the beam.
struct Taper {
  double s = 0, e = 0, r = 0;
};

Taper TaperOf(const TOP_SEC* section, const BEAM_REC* beam) {
  Taper t;
  if (!section || !section->Prs()) return t;
  t.s = section->Prs()->Value(0);
  t.e = section->Prs()->Value(1);
  const NODE_REC* a = beam->start;
  const NODE_REC* b = beam->end;
  const double length = (a && b) ? E_SgmLen3D(a->x, a->y, a->z, b->x, b->y, b->z) : 0.0;
  t.r = std::fabs(length) <= kTolerance ? 0.0 : (t.e - t.s) / length;
  return t;
}

// The code of a failed lookup: the section was not found, or the beam.
int LookupFailure(const BEAM_REC* found) { return found ? kSectionNotInTopology : kBeamNotInTopology; }

CGPoint NodePoint(const NODE_REC* n) { return CGPoint(n->x, n->y, n->z); }

// A name field of a topology record, which may fill its field.
CString FieldName(const char* field, size_t width) { return CString(field, static_cast<int>(strnlen(field, width))); }

// The section of a topology section that member design uses: the tapered
// parent of a tapered one.
TOP_SEC* DesignSection(const TOPO_REC* topo, TOP_SEC* section) {
  if (section && IsTaperedSection(section->Family())) {
    return CTOPO_REC::FindTaperedParent(topo, section->SubNumber());
  }
  return section;
}

// Does line overlap other: other is not equal to it, lies on its line
// within 0.1, and one of line's end points falls between other's ends?
bool Overlaps(const CGLine& line, const CGLine& other) {
  if (line.IsEqualWith(&other) || !line.IsCollinearWithTolerance(other, kOverlapTolerance)) return false;
  for (const CGPoint& p : {line.SPoint(), line.EPoint()}) {
    double d = 0;
    other.Point2Distance(p, &d, false);
    if (d >= 0 && d <= other.Length()) return true;
  }
  return false;
}

}  // namespace

const char* ValidationMessage(int code) {
  switch (code) {
    case kMemberValid:
      return "the member agrees with the topology";
    case kMemberMissing:
      return "the member or one of its internal beams is missing";
    case kNoTopology:
      return "there is no topology";
    case kBeamNotInTopology:
      return "an internal beam has no topology beam with the same end points";
    case kSectionNotInTopology:
      return "the topology beam has no section";
    case kTooManyBeams:
      return "the member has more than 46 internal beams";
    case kFamilyNotAccepted:
      return "member design does not accept the section family";
    case kRotationDiffers:
      return "the internal beams differ in rotation";
    case kSectionDiffers:
      return "the internal beams differ in section";
    case kCatalogueSectionMissing:
      return "the catalogue does not hold the section";
    default:
      return "";
  }
}

CMemberValidation::CMemberValidation(CMDDMember* member, const TOPO_REC* topo) : m_member(member), m_topo(topo) {}

CMemberValidation::~CMemberValidation() = default;

void CMemberValidation::SetDataForValidation(CMDDMember* member, const TOPO_REC* topo) {
  m_member = member;
  m_topo = topo;
}

int CMemberValidation::GetLinkBeamTopoData(const CGLine* beam, const TOPO_REC* topo, BEAM_REC** out, TOP_SEC** section) {
  if (out) *out = nullptr;
  if (section) *section = nullptr;
  if (!beam || !topo || !out) return 0;
  const CGPoint s = beam->SPoint(), e = beam->EPoint();
  *out = CTOPO_REC::FindBeam(topo->beams, static_cast<float>(s.X()), static_cast<float>(s.Y()),
                             static_cast<float>(s.Z()), static_cast<float>(e.X()), static_cast<float>(e.Y()),
                             static_cast<float>(e.Z()));
  if (!*out) return 0;
  if (!section) return 1;
  if (topo->sections && (*out)->section <= topo->sectionCount) *section = &topo->sections[(*out)->section];
  return *section ? 1 : 0;
}

int CMemberValidation::GetLinkMemberTopoSectionData(const CMDDMember* member, const TOPO_REC* topo,
                                                    TOP_SEC** section) {
  if (!member || !topo || !section) return 0;
  BEAM_REC* beam = nullptr;
  const PtrStrong<CGLine> first = member->GetInternalBeamAt(0);
  return GetLinkBeamTopoData(first.GetPtr(), topo, &beam, section);
}

int CMemberValidation::ValidateLinkMember() const {
  const CMDDMember* member = m_member.GetPtr();
  if (!member) return kMemberMissing;
  if (member->IsTemplate()) return kMemberValid;
  if (!m_topo) return kNoTopology;

  const int beams = member->GetCountInternalBeams();
  const PtrStrong<CGLine> first = member->GetInternalBeamAt(0);
  if (first.IsNull()) return kMemberMissing;
  BEAM_REC* firstBeam = nullptr;
  TOP_SEC* firstSection = nullptr;
  if (!GetLinkBeamTopoData(first.GetPtr(), m_topo, &firstBeam, &firstSection)) return LookupFailure(firstBeam);
  const int family = firstSection->Family();
  const ulong32 key = firstSection->Key();
  const bool tapered = IsTaperedSection(family);
  const Taper firstTaper = tapered ? TaperOf(firstSection, firstBeam) : Taper();

  if (beams > kMaxMemberBeams) return kTooManyBeams;
  if (!IsAccepted(family)) return kFamilyNotAccepted;

  for (int i = 1; i < beams; ++i) {
    const PtrStrong<CGLine> line = member->GetInternalBeamAt(i);
    if (line.IsNull()) return kMemberMissing;
    BEAM_REC* beam = nullptr;
    TOP_SEC* section = nullptr;
    if (!GetLinkBeamTopoData(line.GetPtr(), m_topo, &beam, &section)) return LookupFailure(beam);
    if (beam->zeroAngle != firstBeam->zeroAngle ||
        !(std::fabs(static_cast<double>(beam->angle) - firstBeam->angle) < kTolerance)) {
      return kRotationDiffers;
    }
    if (!tapered) {
      if (section->Key() != key) return kSectionDiffers;
      continue;
    }
    if (!IsTaperedSection(section->Family())) return kSectionDiffers;
    const Taper t = TaperOf(section, beam);
    if (firstTaper.s != firstTaper.e && t.s != t.e && (t.s == firstTaper.s || t.e == firstTaper.e)) {
      return kSectionDiffers;
    }
    if (std::fabs(t.r - firstTaper.r) > kTolerance) return kSectionDiffers;
  }
  return kMemberValid;
}

int CMemberValidation::IsSameLinkMemberSection(TOP_SEC** out) const {
  if (out) *out = nullptr;
  const CMDDMember* member = m_member.GetPtr();
  if (!member) return kMemberMissing;
  if (!m_topo) return kNoTopology;
  TOP_SEC* section = nullptr;
  GetLinkMemberTopoSectionData(member, m_topo, &section);
  if (out) *out = section;
  TOP_SEC* design = DesignSection(m_topo, section);
  if (!design) return kSectionNotInTopology;
  const PtrStrong<CConElmData_base> obj =
      GetSMDBSectionDataObj(design->Family(), design->SubNumber(), design->Key(), design);
  const PtrStrong<TELMARO_DATA_OBJECTS::CISectionData> catalogue = GetSectionDataFromObj(obj.GetPtr());
  if (obj.IsNull() || catalogue.IsNull()) return kCatalogueSectionMissing;
  const PtrStrong<TELMARO_DATA_OBJECTS::CISectionData> mine = member->GetSection();
  if (mine.IsNull()) return 0;
  return mine->Section() == catalogue->Section() && mine->Family() == catalogue->Family() &&
                 mine->Profile() == catalogue->Profile()
             ? 1
             : 0;
}

int CMemberValidation::UpdateBeamNodeNamesFromTopology(CMDDMember* member, const TOPO_REC* topo, int withBeamPoints) {
  if (!member || !topo) return 0;
  int all = 1;
  for (int i = 0; i < member->GetCountInternalBeams(); ++i) {
    const PtrStrong<CGLine> line = member->GetInternalBeamAt(i);
    BEAM_REC* beam = nullptr;
    if (!GetLinkBeamTopoData(line.GetPtr(), topo, &beam, nullptr)) {
      all = 0;
      continue;
    }
    if (auto* named = dynamic_cast<ELEMENT_OBJECTS::CEElement*>(line.GetPtr())) named->SetName(FieldName(beam->name, sizeof beam->name));
    if (line->GetCountInternalPoints() == 0) line->RemoveInternalPointsAll();  // makes the end points
    const int last = line->GetCountInternalPoints() - 1;
    for (int end : {0, last}) {
      const PtrStrong<CGPoint> p = line->GetInternalPointAt(end);
      auto* node = dynamic_cast<ELEMENT_OBJECTS::CEElement*>(p.GetPtr());
      if (!node || !beam->start || !beam->end) continue;
      const bool atStart = p->GetDistanceFromPoint(NodePoint(beam->start)) <= kTolerance;
      const bool atEnd = p->GetDistanceFromPoint(NodePoint(beam->end)) <= kTolerance;
      if (atStart || atEnd) {
        const NODE_REC* n = atStart ? beam->start : beam->end;
        node->SetName(FieldName(n->name, sizeof n->name));
      }
    }
  }
  member->SynchronizePointsFromBeamsLst(withBeamPoints);
  return all;
}

CMembersArrayValidation::CMembersArrayValidation(CMDDMembersArray* members) : m_members(members) {}

int CMembersArrayValidation::IsSelectedForAnalysis(int index) const {
  if (!m_members) return 0;
  const PtrStrong<CMDDMember> member = m_members->MemberAt(index);
  const TELMARO_DATA_OBJECTS::CIAnalysisElementLst* list = m_members->GetAnalysisData()->GetElementLists().GetListAt(0);
  if (member.IsNull() || !list) return 0;
  const TELMARO_DATA_OBJECTS::CIAnalysisElement* e = list->FindAnalysisElement(member.GetPtr());
  return e && e->BAnalysis() != 0 ? 1 : 0;
}

int CMembersArrayValidation::CanChangeMemberSection(int index, bool onlyForAnalysis) const {
  if (!m_members) return -10;
  const PtrStrong<CMDDMember> member = m_members->MemberAt(index);
  if (member.IsNull()) return -9;
  if (!m_members->IsValidLink()) return -8;
  const int same = CMemberValidation(member.GetPtr(), m_members->GetTopoRec()).IsSameLinkMemberSection(nullptr);
  switch (same) {
    case 0:
    case 1:
      break;
    case kMemberMissing:
      return -9;
    case kNoTopology:
    case kSectionNotInTopology:
    case kCatalogueSectionMissing:
      return -8;
    default:
      return -10;
  }
  if (onlyForAnalysis && !IsSelectedForAnalysis(index)) return 0;
  if (same == 1) return 1;

  const CGLine line(member->SPoint(), member->EPoint());
  for (int i = 0; i < m_members->GetCountMembers(); ++i) {
    const PtrStrong<CMDDMember> other = m_members->MemberAt(i);
    if (i == index || other.IsNull()) continue;
    if (Overlaps(line, CGLine(other->SPoint(), other->EPoint()))) return 3;
  }
  const TOPO_REC* topo = m_members->GetTopoRec();
  for (const TOPOStructs::CURPHBM_REC* p = topo ? topo->physBeams : nullptr; p; p = p->next) {
    if (!p->firstNode || !p->lastNode) continue;
    if (Overlaps(line, CGLine(NodePoint(p->firstNode), NodePoint(p->lastNode)))) return 4;
  }
  return 2;
}

}  // namespace MD_TOOLS
