#include "DesignProject.h"

#include "mdd/CMDDLoadCaseValues.h"
#include "mdd/CMDDNode.h"
#include "mdd/CMemberValidation.h"
#include "objects/elements/CEElement.h"

namespace telio_tool {

using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGLine;
using GEOMETRY_OBJECTS::CGPoint;
using MDD_OBJECTS::CMDDMember;
using MDD_OBJECTS::CMDDMembersArray;

namespace {

Json Point(const CGPoint& p) { return Json::array({p.X(), p.Y(), p.Z()}); }

std::string NameOf(const CGPoint* p) {
  const auto* e = dynamic_cast<const ELEMENT_OBJECTS::CEElement*>(p);
  return e ? AnsiToUtf8(e->Name().GetString()) : std::string();
}

// The forces held at a point, one entry per load case.
Json Forces(const CGPoint* p) {
  Json list = Json::array();
  const auto* node = dynamic_cast<const MDD_OBJECTS::CMDDNode*>(p);
  const TELMARO_DATA_OBJECTS::CILoadCaseValuesLst* values = node ? node->GetLoadCaseValuesLst() : nullptr;
  for (int i = 0; values && i < values->GetCount(); ++i) {
    const TELMARO_DATA_OBJECTS::CILoadCaseValues* v = values->GetLCValuesAt(i);
    if (!v) continue;
    Json six = Json::array();
    for (int k = MDD_OBJECTS::kKeyFx; k <= MDD_OBJECTS::kKeyMz; ++k) six.push_back(v->LCValue(k));
    list.push_back({{"load_case", AnsiToUtf8(v->Name().GetString())}, {"values", six}});
  }
  return list;
}

Json Restraints(const CMDDMember::ConstraintLstPtr& list) {
  Json out = Json::array();
  for (int i = 0; !list.IsNull() && i < list->GetCount(); ++i) {
    const TELMARO_DATA_OBJECTS::CIConstraint* c = list->GetConstraintAt(i);
    if (c) out.push_back({{"distance", c->Distance()}, {"type", c->Type()}, {"eta", c->Eta()}});
  }
  return out;
}

}  // namespace

Json ProjectSummary(CMDDMembersArray& project) {
  Json out;
  const TELMARO_DATA_OBJECTS::CIJobData& job = *project.GetJobData();
  const TELMARO_DATA_OBJECTS::CILinkJobData& link = *project.GetLinkJobData();
  out["project_name"] = AnsiToUtf8(job.ProjectName().GetString());
  out["engineer"] = AnsiToUtf8(job.Engineer().GetString());
  out["date"] = AnsiToUtf8(job.Date().GetString());
  out["regulation"] = static_cast<long>(job.Regulation());
  out["members"] = project.GetCountMembers();
  out["groups"] = project.GetGroups().IsNull() ? 0 : project.GetGroups()->Count();
  out["sections"] = project.GetSectionLst().IsNull() ? 0 : project.GetSectionLst()->GetCount();
  out["load_cases"] = project.GetLoadCaseLst() ? project.GetLoadCaseLst()->GetCount() : 0;
  out["linked"] = link.Link() != 0;
  out["link_valid"] = project.IsValidLink();
  out["job"] = AnsiToUtf8(link.LinkJobPath().GetString());
  out["topology_beams"] = project.TopoBeamStamp();
  out["topology_nodes"] = project.TopoNodeStamp();
  out["checksum"] = project.CheckSum();
  return out;
}

Json MemberJson(CMDDMembersArray& project, int index) {
  const PtrStrong<CMDDMember> m = project.MemberAt(index);
  if (m.IsNull()) return Json();
  if (project.IsValidLink()) project.LinkIPsLCValuesToMember(m.GetPtr(), -1);
  Json j;
  j["member"] = index + 1;
  j["name"] = AnsiToUtf8(m->Name().GetString());
  j["template"] = m->IsTemplate();
  j["length"] = m->Length();
  j["start"] = Point(m->SPoint());
  j["end"] = Point(m->EPoint());
  j["has_ltb"] = m->HasLTB();
  Json groups = Json::array();
  for (int g = 0; g < m->GetCountGroups(); ++g) {
    if (const MDD_OBJECTS::CMDDMemGroup* group = m->GroupAt(g)) groups.push_back(AnsiToUtf8(group->Name().GetString()));
  }
  j["groups"] = groups;
  const PtrStrong<TELMARO_DATA_OBJECTS::CISectionData> s = m->GetSection();
  j["section"] = s.IsNull() ? Json()
                            : Json{{"name", AnsiToUtf8(s->Name().GetString())}, {"family", s->Family()},
                                   {"id", s->Section()}, {"profile", s->Profile()}, {"angle", s->BAnnet()}};
  const PtrStrong<TELMARO_DATA_OBJECTS::CIGradeData> g = m->GetGrade();
  j["grade"] = g.IsNull() ? Json() : Json{{"index", g->Grade()}, {"name", AnsiToUtf8(g->Name().GetString())}};
  Json points = Json::array();
  for (int i = 0; i < m->GetCountInternalPoints(); ++i) {
    const PtrStrong<CGPoint> p = m->GetInternalPointAt(i);
    if (!p.IsNull()) points.push_back({{"name", NameOf(p.GetPtr())}, {"at", Point(*p)}});
  }
  j["points"] = points;
  Json beams = Json::array();
  for (int b = 0; b < m->GetCountInternalBeams(); ++b) {
    const PtrStrong<CGLine> beam = m->GetInternalBeamAt(b);
    if (beam.IsNull()) continue;
    Json ips = Json::array();
    for (int i = 0; i < beam->GetCountInternalPoints(); ++i) {
      const PtrStrong<CGPoint> p = beam->GetInternalPointAt(i);
      if (p.IsNull()) continue;
      ips.push_back({{"name", NameOf(p.GetPtr())},
                     {"distance", p->GetDistanceFromPoint(beam->SPoint())},
                     {"forces", Forces(p.GetPtr())}});
    }
    const auto* named = dynamic_cast<const ELEMENT_OBJECTS::CEElement*>(beam.GetPtr());
    beams.push_back({{"name", named ? AnsiToUtf8(named->Name().GetString()) : std::string()},
                     {"start", Point(beam->SPoint())},
                     {"end", Point(beam->EPoint())},
                     {"points", ips}});
  }
  j["beams"] = beams;
  j["restraints"] = {{"xy", Restraints(m->GetConstraintXYLst())}, {"xz", Restraints(m->GetConstraintXZLst())}};
  Json ltb = Json::array();
  const CMDDMember::LTBLstPtr list = m->GetLTBLst();
  for (int i = 0; !list.IsNull() && i < list->GetCount(); ++i) {
    const TELMARO_DATA_OBJECTS::CILTB* p = list->GetLTBAt(i);
    if (p) ltb.push_back({{"distance", p->Distance()}, {"k_type", p->KType()}, {"kw_type", p->KwType()}});
  }
  j["buckling_points"] = ltb;
  if (project.IsValidLink()) {
    const int code = MD_TOOLS::CMemberValidation(m.GetPtr(), project.GetTopoRec()).ValidateLinkMember();
    j["validation"] = {{"code", code}, {"message", MD_TOOLS::ValidationMessage(code)}};
  }
  return j;
}

}  // namespace telio_tool
