// The job folder, the model (T3L), the topology (TOP), the static load-case
// names (NAM) and the combinations (CMI) for Python.
#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <memory>

#include <pybind11/stl.h>

#include "Bindings.h"
#include "files/CAJF_PATHS.h"
#include "files/CFileCMI.h"
#include "files/CFileNAM.h"
#include "files/CFileT3L.h"
#include "files/CFileTOP.h"
#include "platform/PathCase.h"

namespace telio_py {

namespace {

template <class Reader>
std::unique_ptr<Reader> Import(const std::string& path) {
  auto r = std::make_unique<Reader>();
  Check(Unlocked([&] { return r->Import(path.c_str()); }), path);
  return r;
}

// The table of a model's table kind with its record size; null for a kind
// outside 1 to 12.
const void* ModelTable(const CFileT3L& f, int kind, std::size_t* size) {
  switch (kind) {
    case CFileT3L::kNodes: *size = sizeof(REC32A); return f.Nodes();
    case CFileT3L::kBeams: *size = sizeof(REC32A); return f.Beams();
    case CFileT3L::kSections: *size = sizeof(REC96A); return f.Sections();
    case CFileT3L::kPhysBeams: *size = sizeof(REC128); return f.Bufs();
    case CFileT3L::kSupports: *size = sizeof(REC64A); return f.Supps();
    case CFileT3L::kConnections: *size = sizeof(REC64A); return f.Conns();
    case CFileT3L::kMaterials: *size = sizeof(REC64A); return f.Mates();
    case CFileT3L::kStaticLoadCases: *size = sizeof(REC32B); return f.StaticLoads();
    case CFileT3L::kStaticBeamLoads: *size = sizeof(REC64A); return f.StaticBeamLoads();
    case CFileT3L::kStaticNodeLoads: *size = sizeof(REC64A); return f.StaticNodeLoads();
    case CFileT3L::kBeamMasses: *size = sizeof(REC64A); return f.BeamMasses();
    case CFileT3L::kNodeMasses: *size = sizeof(REC64A); return f.NodeMasses();
    default: return nullptr;
  }
}

void BindModel(py::module_& m) {
  py::class_<CFileT3L>(m, "Model", "The analysis model (T3L) read whole; its tables as raw records.")
      .def(py::init(&Import<CFileT3L>), py::arg("path"))
      .def(
          "_table",
          [](py::object self, int kind) {
            const CFileT3L& f = self.cast<CFileT3L&>();
            std::size_t size = 0;
            const void* table = ModelTable(f, kind, &size);
            if (!size) throw py::value_error("no model table of kind " + std::to_string(kind));
            return Records(table, static_cast<std::size_t>(f.Count(kind)), size, self);
          },
          py::arg("kind"))
      .def("_load_case_extra",
           [](py::object self) {
             const CFileT3L& f = self.cast<CFileT3L&>();
             const auto cases = static_cast<std::size_t>(f.Count(CFileT3L::kStaticLoadCases));
             return Records(f.LoadingCaseExtraData(), cases, sizeof(LOADCASE_EXTRA), self);
           })
      .def_property_readonly("extended_layout", [](const CFileT3L& s) { return s.ReadExtendedLayout(); })
      .def_property_readonly("section_names", [](const CFileT3L& s) {
        py::list names;
        for (int i = 0; i < s.Count(CFileT3L::kSections); ++i) {
          names.append(OemText(s.Section(i)->Name(), sizeof(REC96A)));
        }
        return names;
      });
}

void BindTopology(py::module_& m) {
  m.attr("SECTION_RECORD_SIZE") = sizeof(TOP_SEC);
  m.attr("SECTION_COMPOSITE_OFFSET") = offsetof(TOP_SEC, composite);
  py::class_<CFileTOP>(m, "Topology", "The topology (TOP) read whole; its tables as raw records.")
      .def(py::init(&Import<CFileTOP>), py::arg("path"))
      .def(
          "_table",
          [](py::object self, int table) {
            const TOPO_CURDIMS_REC* r = self.cast<CFileTOP&>().GetTOPO_CURDIMS_REC();
            switch (table) {
              case 0: return Records(r->nodes, r->NodeCount(), sizeof(TOP_NODE), self);
              case 1: return Records(r->beams, r->BeamCount(), sizeof(TOP_BEAM), self);
              case 2: return Records(r->supports, r->SupportCount(), sizeof(TOP_SUPPORT), self);
              case 3: return Records(r->sections, r->SectionCount(), sizeof(TOP_SEC), self);
              default: throw py::value_error("no topology table " + std::to_string(table));
            }
          },
          py::arg("table"), "Table 0 nodes, 1 beams, 2 supports, 3 sections, as raw records.")
      .def(
          "_property_block",
          [](py::object self, int i) -> py::object {
            const TOPO_CURDIMS_REC* r = self.cast<CFileTOP&>().GetTOPO_CURDIMS_REC();
            if (i < 0 || i >= r->SectionCount()) throw py::index_error("no section " + std::to_string(i));
            const TOP_PRS* prs = r->sections[i].Prs();
            if (!prs) return py::none();
            return Records(prs, 1, sizeof(TOP_PRS), self);
          },
          py::arg("section"))
      .def_property_readonly("angles",
                             [](py::object self) {
                               const TOPO_CURDIMS_REC* r = self.cast<CFileTOP&>().GetTOPO_CURDIMS_REC();
                               return View(py::dtype::of<float>(), {r->BeamCount()}, {sizeof(float)}, r->angles,
                                           self);
                             })
      .def_property_readonly("physical_beams",
                             [](py::object self) {
                               const TOPO_CURDIMS_REC* r = self.cast<CFileTOP&>().GetTOPO_CURDIMS_REC();
                               py::list out;
                               for (int i = 0; i < r->PhysBeamCount(); ++i) {
                                 const CURPHBM_REC_TOPO& p = r->physBeams[i];
                                 const py::ssize_t n = p.BeamCount() > 0 ? p.BeamCount() : 0;
                                 out.append(py::make_tuple(p.Label(), p.FirstNode(), p.LastNode(),
                                                           View(py::dtype::of<int16_t>(), {n}, {sizeof(int16_t)},
                                                                n ? p.beams : nullptr, self)));
                               }
                               return out;
                             })
      .def_property_readonly("section_names",
                             [](const CFileTOP& s) {
                               const TOPO_CURDIMS_REC* r = s.GetTOPO_CURDIMS_REC();
                               py::list names;
                               for (int i = 0; i < r->SectionCount(); ++i) {
                                 names.append(AnsiText(r->sections[i].Name().GetString()));
                               }
                               return names;
                             })
      .def_property_readonly("is_3d", [](const CFileTOP& s) { return s.GetTOPO_CURDIMS_REC()->Is3D(); })
      .def_property_readonly("static_load_cases",
                             [](const CFileTOP& s) { return s.GetTOPO_CURDIMS_REC()->StaticLoadCases(); })
      .def_property_readonly("dynamic_load_cases",
                             [](const CFileTOP& s) { return s.GetTOPO_CURDIMS_REC()->DynamicLoadCases(); })
      .def_property_readonly("model_word",
                             [](const CFileTOP& s) { return s.GetTOPO_CURDIMS_REC()->ModelWord(); });
}

void BindCases(py::module_& m) {
  m.def(
      "read_load_case_names",
      [](const std::string& path) {
        CFileNAM nam;
        Check(Unlocked([&] { return nam.Import(path.c_str()); }), path);
        py::list names;
        for (int i = 0; i < nam.GetCountLdsNames(); ++i) names.append(AnsiText(nam.LdsNames(i).GetString()));
        return names;
      },
      py::arg("path"), "The static load-case names of a NAM file.");

  py::class_<CFileCMI>(m, "Combinations", "The load combinations (CMI) read whole.")
      .def(py::init(&Import<CFileCMI>), py::arg("path"))
      // A negative count in the file is no combination.
      .def("__len__", [](CFileCMI& s) { return std::max<long32>(s.GetNumberOfCombinations(), 0); })
      .def(
          "_record",
          [](py::object self, long32 j) {
            CFileCMI& f = self.cast<CFileCMI&>();
            const CMI_REC* rec = f.GetCombination(j);
            if (!rec) throw py::index_error("no combination " + std::to_string(j));
            return Records(rec, 1, sizeof(CMI_REC), self);
          },
          py::arg("j"))
      .def(
          "kind", [](const CFileCMI& s, long32 j) { return s.GetKind(j); }, py::arg("j"))
      .def(
          "link", [](const CFileCMI& s, long32 j) { return s.GetLink(j); }, py::arg("j"))
      .def_property_readonly("version", [](const CFileCMI& s) { return s.GetVersion(); });
}

}  // namespace

void BindAnalysisFiles(py::module_& m) {
  m.def(
      "project_paths",
      [](const std::string& path) {
        const std::string given = telio::ResolvePathCase(path.c_str());
        CAJF_PATHS p;
        p.Set(given.c_str(), nullptr, 0);
        py::dict files;
        const std::pair<const char*, const CString*> kinds[] = {
            {"T3L", &p.T3L()}, {"TOP", &p.TOP()}, {"JOB", &p.JOB()}, {"NAM", &p.NAM()},
            {"CMI", &p.CMI()}, {"ACE", &p.ACE()}, {"RES", &p.RES()}, {"OUC", &p.OUC()}};
        for (const auto& k : kinds) files[k.first] = k.second->GetString();
        std::error_code ec;
        const bool exists = std::filesystem::exists(given, ec) && p.ValidatePaths(0) != static_cast<ulong32>(-1);
        return py::make_tuple(std::string(p.ProjectFolder().GetString()), std::string(p.Name().GetString()),
                              files, exists);
      },
      py::arg("path"),
      "(folder, name, files by kind, whether path and the folder exist) of a project folder or a file in it.");
  BindModel(m);
  BindTopology(m);
  BindCases(m);
}

}  // namespace telio_py
