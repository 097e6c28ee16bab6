// Design projects (MDP) for Python: a project read from its file, imported
// from a member-design job, or linked to an analysis job with one member per
// physical beam; each member as plain values and arrays (copies: a project
// may change them, an array must not).
#include <cmath>
#include <limits>
#include <memory>
#include <unordered_map>

#include <pybind11/stl.h>

#include "Bindings.h"
#include "DesignMembers.h"
#include "mdd/CMDDLoadCaseValues.h"
#include "mdd/CMDDNode.h"
#include "mdd/CMemberValidation.h"
#include "mdd/FileMDP.h"
#include "platform/LastError.h"
#include "platform/TelKrnl.h"

namespace telio_py {

namespace {

using MDD_OBJECTS::CMDDMembersArray;
using MDD_OBJECTS::FileMDP;

struct Project {
  std::unique_ptr<FileMDP> mdp = std::make_unique<FileMDP>();
  CMDDMembersArray& Array() const { return *mdp->GetMembersArray(); }
};

py::tuple Point(const GEOMETRY_OBJECTS::CGPoint& p) { return py::make_tuple(p.X(), p.Y(), p.Z()); }

py::str NameOf(const GEOMETRY_OBJECTS::CGLine* line) {
  const auto* e = dynamic_cast<const ELEMENT_OBJECTS::CEElement*>(line);
  return AnsiText(e ? e->Name().GetString() : "");
}

// A member's beams: name, ends, the distances of its points from its start
// and the forces there, (load cases, points, 6), NaN where a point holds no
// value set of a load case.
py::list Beams(CMDDMembersArray& project, const MDD_OBJECTS::CMDDMember& m) {
  std::unordered_map<std::string, int> cases;
  for (int c = 0; project.GetLoadCaseLst() && c < project.GetLoadCaseLst()->GetCount(); ++c) {
    cases.emplace(project.GetLoadCaseLst()->GetLoadCaseAt(c)->Name().GetString(), c);
  }
  const auto nc = static_cast<py::ssize_t>(cases.size());
  py::list out;
  for (int b = 0; b < m.GetCountInternalBeams(); ++b) {
    const auto beam = m.GetInternalBeamAt(b);
    if (beam.IsNull()) continue;
    const auto n = static_cast<py::ssize_t>(beam->GetCountInternalPoints());
    py::array_t<double> distances(n);
    py::array_t<double> forces({nc, n, static_cast<py::ssize_t>(6)});
    auto d = distances.mutable_unchecked<1>();
    auto f = forces.mutable_unchecked<3>();
    for (py::ssize_t c = 0; c < nc; ++c) {
      for (py::ssize_t i = 0; i < n; ++i) {
        for (py::ssize_t k = 0; k < 6; ++k) f(c, i, k) = std::numeric_limits<double>::quiet_NaN();
      }
    }
    for (py::ssize_t i = 0; i < n; ++i) {
      const auto p = beam->GetInternalPointAt(static_cast<int>(i));
      d(i) = p.IsNull() ? 0.0 : p->GetDistanceFromPoint(beam->SPoint());
      const auto* node = dynamic_cast<const MDD_OBJECTS::CMDDNode*>(p.GetPtr());
      const TELMARO_DATA_OBJECTS::CILoadCaseValuesLst* values = node ? node->GetLoadCaseValuesLst() : nullptr;
      for (int v = 0; values && v < values->GetCount(); ++v) {
        const TELMARO_DATA_OBJECTS::CILoadCaseValues* set = values->GetLCValuesAt(v);
        const auto at = set ? cases.find(set->Name().GetString()) : cases.end();
        if (at == cases.end()) continue;
        for (int k = 0; k < 6; ++k) f(at->second, i, k) = set->LCValue(MDD_OBJECTS::kKeyFx + k);
      }
    }
    py::dict beamData;
    beamData["name"] = NameOf(beam.GetPtr());
    beamData["start"] = Point(beam->SPoint());
    beamData["end"] = Point(beam->EPoint());
    beamData["distances"] = distances;
    beamData["forces"] = forces;
    out.append(beamData);
  }
  return out;
}

py::dict Member(Project& p, int i) {
  CMDDMembersArray& project = p.Array();
  const auto m = project.MemberAt(i);
  if (m.IsNull()) throw py::index_error("no member " + std::to_string(i));
  Unlocked([&] { return project.IsValidLink() ? project.LinkIPsLCValuesToMember(m.GetPtr(), -1) : 0; });
  py::dict d;
  d["name"] = AnsiText(m->Name().GetString());
  d["start"] = Point(m->SPoint());
  d["end"] = Point(m->EPoint());
  d["length"] = m->Length();
  const auto s = m->GetSection();
  d["section"] = s.IsNull() ? py::dict()
                            : py::dict(py::arg("name") = AnsiText(s->Name().GetString()), py::arg("family") = s->Family(),
                                       py::arg("id") = s->Section(), py::arg("profile") = s->Profile(),
                                       py::arg("angle") = s->BAnnet());
  const auto g = m->GetGrade();
  d["grade"] = g.IsNull() ? py::str() : AnsiText(g->Name().GetString());
  d["beams"] = Beams(project, *m);
  return d;
}

}  // namespace

void BindDesign(py::module_& m) {
  m.def(
      "use_suite", [](const std::string& folder) { Unlocked([&] { SetGDirs(folder.c_str()); return 0; }); },
      py::arg("folder"), "Makes folder the suite data folder whose section catalogue the design side reads.");
  py::class_<Project>(m, "DesignProject", "A member design project (MDP).")
      .def_static(
          "load",
          [](const std::string& path) {
            auto p = std::make_unique<Project>();
            Check(Unlocked([&] { return p->mdp->Import(path.c_str()); }), path);
            return p;
          },
          py::arg("path"))
      .def_static(
          "import_job",
          [](const std::string& path) {
            auto p = std::make_unique<Project>();
            Check(Unlocked([&] { return static_cast<ulong32>(telio_tool::ImportDesignJob(*p->mdp, path)); }), path);
            return p;
          },
          py::arg("path"))
      .def_static(
          "link",
          [](const std::string& job) {
            auto p = std::make_unique<Project>();
            const std::string full = telio_tool::AbsoluteJobPath(job);
            if (!Unlocked([&] { return p->mdp->NewFileLinked(full.c_str()); })) Check(telio::kErrorNotEnoughMemory, job);
            if (!p->Array().IsValidLink() || !p->Array().GetTopoRec()) Check(telio::kErrorPathNotFound, job);
            Unlocked([&] { return telio_tool::AddMembersFromPhysicalBeams(p->Array()); });
            return p;
          },
          py::arg("job"))
      .def(
          "save", [](Project& p, const std::string& path) { Check(Unlocked([&] { return p.mdp->Export(path.c_str()); }), path); },
          py::arg("path"))
      .def_property_readonly("member_count", [](const Project& p) { return p.Array().GetCountMembers(); })
      .def("member", &Member, py::arg("index"))
      .def("_link_all",
           [](Project& p) {
             Unlocked([&] { return p.Array().IsValidLink() ? p.Array().LinkIPsLCValuesToAllMembers() : 0; });
           },
           "Reads every member's forces from the linked job in one pass (member() then finds them read).")
      .def_property_readonly("load_case_names",
                             [](const Project& p) {
                               py::list names;
                               for (int c = 0; p.Array().GetLoadCaseLst() && c < p.Array().GetLoadCaseLst()->GetCount(); ++c) {
                                 names.append(AnsiText(p.Array().GetLoadCaseLst()->GetLoadCaseAt(c)->Name().GetString()));
                               }
                               return names;
                             })
      .def_property_readonly("section_names",
                             [](const Project& p) {
                               py::list names;
                               const auto sections = p.Array().GetSectionLst();
                               for (int i = 0; !sections.IsNull() && i < sections->GetCount(); ++i) {
                                 names.append(AnsiText(sections->GetAt(i)->Name().GetString()));
                               }
                               return names;
                             })
      .def_property_readonly("groups",
                             [](const Project& p) {
                               py::dict groups;
                               const auto list = p.Array().GetGroups();
                               for (int g = 0; !list.IsNull() && g < list->Count(); ++g) {
                                 py::list names;
                                 for (int k = 0; k < list->GroupAt(g)->Count(); ++k) {
                                   names.append(AnsiText(list->GroupAt(g)->MemberNameAt(k).GetString()));
                                 }
                                 groups[AnsiText(list->GroupAt(g)->Name().GetString())] = names;
                               }
                               return groups;
                             })
      .def_property_readonly("linked", [](const Project& p) { return p.Array().GetLinkJobData()->Link() != 0; })
      .def_property_readonly("link_valid", [](const Project& p) { return p.Array().IsValidLink(); })
      .def_property_readonly("checksum", [](const Project& p) { return p.Array().CheckSum(); })
      .def("invalid_members", [](Project& p) {
        py::list out;
        for (const telio_tool::MemberFinding& f : Unlocked([&] { return telio_tool::ValidateMembers(p.Array()); })) {
          out.append(py::make_tuple(AnsiText(f.name.c_str()), f.code, MD_TOOLS::ValidationMessage(f.code)));
        }
        return out;
      });
}

}  // namespace telio_py
