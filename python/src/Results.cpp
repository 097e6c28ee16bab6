// The static results (RES) and intermediate-point results (OUC) for Python.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

#include "Bindings.h"
#include "files/CFileOUC.h"
#include "files/CFileRES.h"
#include "platform/LastError.h"

namespace telio_py {

namespace {

using NodeResults = CArrayEx<AnasisData, const AnasisData&>;
using ForceResults = CArrayEx<AnasisForces, const AnasisForces&>;

// The readers with the path they were given, which errors name.
struct StaticResults {
  CFileRES file;
  std::string path;
};

struct IPResults {
  CFileOUC file;
  std::string path;
};

void CheckLoadResult(const CFileRES& f, int r) {
  if (r < 0 || r >= f.NumberOfLoadsResults()) {
    throw py::index_error("load result " + std::to_string(r) + " outside 0 to " +
                          std::to_string(f.NumberOfLoadsResults() - 1));
  }
}

// One load result read by get, with the failure the reader reports in the
// thread's last error raised: the reader itself hands back what it could
// read, which Python callers would take for the whole result.
template <class A, class Get>
std::unique_ptr<A> ReadResult(StaticResults& s, int r, std::size_t expected, Get get) {
  CheckLoadResult(s.file, r);
  ulong32 code = 0;
  std::unique_ptr<A> a = Unlocked([&] {
    telio::SetLastError(0);
    std::unique_ptr<A> got(new A(get(s.file, r)));
    code = telio::GetLastError();
    if (code == 0 && static_cast<std::size_t>(got->GetSize()) != expected) code = telio::kErrorHandleEof;
    return got;
  });
  Check(code, s.path);
  return a;
}

py::array NodeRecords(py::object self, int r, NodeResults (CFileRES::*get)(int)) {
  StaticResults& s = self.cast<StaticResults&>();
  auto a = ReadResult<NodeResults>(s, r, static_cast<std::size_t>(s.file.NumberOfNodes()),
                                   [get](CFileRES& f, int lr) { return (f.*get)(lr); });
  const std::size_t n = static_cast<std::size_t>(a->GetSize());
  const void* data = a->GetData();
  return Records(data, n, sizeof(AnasisData), Own(a.release()));
}

std::unique_ptr<ForceResults> ReadForces(StaticResults& s, int r) {
  return ReadResult<ForceResults>(s, r, static_cast<std::size_t>(s.file.NumberOfBeams()),
                                  [](CFileRES& f, int lr) { return f.GetForcesFor(lr); });
}

py::array EndForcesView(py::object self, int r) {
  auto a = ReadForces(self.cast<StaticResults&>(), r);
  const py::ssize_t beams = a->GetSize();
  // An end's record: load result, node, then the six values.
  constexpr std::size_t kValuesAt = 8;
  const auto* values =
      reinterpret_cast<const unsigned char*>(a->GetData()) + offsetof(AnasisForces, first) + kValuesAt;
  return View(py::dtype("<f4"), {beams, 2, CFileRES::kValues},
              {sizeof(AnasisForces), sizeof(AnasisData), sizeof(float)}, values, Own(a.release()));
}

// The copy a caller would make of the view, done as the reader is read
// (the way h5py's read_direct fills a caller's array).
void ReadEndForcesInto(StaticResults& s, int r, const py::object& out) {
  const py::ssize_t beams = s.file.NumberOfBeams();
  auto into = py::reinterpret_borrow<py::array>(out);
  if (!py::isinstance<py::array>(out) || !into.dtype().equal(py::dtype::of<float>()) || into.ndim() != 3 ||
      into.shape(0) != beams || into.shape(1) != 2 || into.shape(2) != CFileRES::kValues ||
      !(into.flags() & py::array::c_style)) {
    throw py::type_error("out must be a C-contiguous float32 array of shape (" + std::to_string(beams) +
                         ", 2, 6)");
  }
  float* o = static_cast<float*>(into.mutable_data());
  auto a = ReadForces(s, r);
  py::gil_scoped_release release;
  for (int b = 0; b < a->GetSize(); ++b) {
    const AnasisForces& f = (*a)[b];
    for (int k = 0; k < CFileRES::kValues; ++k) *o++ = f.first.Value(k);
    for (int k = 0; k < CFileRES::kValues; ++k) *o++ = f.second.Value(k);
  }
}

void BindStaticResults(py::module_& m) {
  py::class_<StaticResults>(m, "StaticResults",
                            "The static results (RES); each load result is read from the file on request.")
      .def(py::init([](const std::string& path) {
             auto s = std::make_unique<StaticResults>();
             s->path = path;
             Check(Unlocked([&] { return s->file.Import(path.c_str()); }), path);
             return s;
           }),
           py::arg("path"))
      .def(
          "_displacements",
          [](py::object self, int r) { return NodeRecords(self, r, &CFileRES::GetDisplacementsFor); },
          py::arg("r"))
      .def(
          "_reactions", [](py::object self, int r) { return NodeRecords(self, r, &CFileRES::GetReactionsFor); },
          py::arg("r"))
      .def(
          "_forces",
          [](py::object self, int r) {
            auto a = ReadForces(self.cast<StaticResults&>(), r);
            const std::size_t n = static_cast<std::size_t>(a->GetSize());
            const void* data = a->GetData();
            return Records(data, n, sizeof(AnasisForces), Own(a.release()));
          },
          py::arg("r"))
      .def(
          "end_forces",
          [](py::object self, int r, py::object out) -> py::object {
            if (out.is_none()) return EndForcesView(self, r);
            ReadEndForcesInto(self.cast<StaticResults&>(), r, out);
            return out;
          },
          py::arg("r"), py::arg("out") = py::none(),
          "Forces of every beam at both ends for load result r as float32 (beams, 2, 6): a view on the "
          "records read, or written into out (a writable C-contiguous float32 array of that shape), "
          "which is returned.")
      .def_property_readonly("nodes", [](const StaticResults& s) { return s.file.NumberOfNodes(); })
      .def_property_readonly("beams", [](const StaticResults& s) { return s.file.NumberOfBeams(); })
      .def_property_readonly("supports", [](const StaticResults& s) { return s.file.NumberOfSupports(); })
      .def_property_readonly("static_load_cases",
                             [](const StaticResults& s) { return s.file.NumberOfStaticLCS(); })
      .def_property_readonly("combinations", [](const StaticResults& s) { return s.file.NumberOfCombinaiosn(); })
      .def_property_readonly("load_results", [](const StaticResults& s) { return s.file.NumberOfLoadsResults(); })
      .def_property_readonly("eak", [](const StaticResults& s) { return s.file.IsJobEAK() != 0; })
      .def_property_readonly("is_3d", [](const StaticResults& s) { return s.file.IsJob3D() != 0; })
      .def_property_readonly("header_word", [](const StaticResults& s) { return s.file.HeaderWord(); });
}

void CheckLoadCase(const CFileOUC& f, int lc) {
  if (lc < 0 || lc >= f.GetLCNum()) throw py::index_error("no load case " + std::to_string(lc));
}

// Hands the block of beam b in load case lc to use under the library lock
// and returns what use made of it: in indexed mode the block lies in a
// scratch record that the next request overwrites. The block is the b-th
// of the load case in loaded mode, the one numbered b + 1 in indexed mode.
template <class Use>
auto WithBlock(IPResults& s, int lc, int b, Use use) {
  CheckLoadCase(s.file, lc);
  ulong32 code = 0;
  bool found = false;
  auto made = Unlocked([&] {
    telio::SetLastError(0);
    const BEAM_DATA* d = s.file.GetBeamData(lc, b);
    code = telio::GetLastError();
    found = d != nullptr;
    return found ? use(*d) : decltype(use(*d))();
  });
  if (!found && code != 0) throw FileFailure(code, s.path);
  if (!found) {
    throw py::index_error("no block of beam " + std::to_string(b) + " in load case " + std::to_string(lc));
  }
  return made;
}

// The first of a block's tables when they lie evenly, step floats apart,
// so that they make one strided array; else null.
const float* EvenTables(const BEAM_DATA& d, std::ptrdiff_t* step) {
  *step = d.tables[1] - d.tables[0];
  for (int t = 2; t < BEAM_DATA::kTables; ++t) {
    if (d.tables[t] != d.tables[0] + t * *step) return nullptr;
  }
  return d.tables[0];
}

// A block's seven tables: where they lie in the reader (loaded mode), or
// their first n values copied out.
struct BlockTables {
  const float* even = nullptr;
  std::ptrdiff_t step = 0;
  py::ssize_t n = 0;
  std::vector<float> copy;
};

py::array Beam(py::object self, int lc, int b) {
  IPResults& s = self.cast<IPResults&>();
  const bool indexed = s.file.UseBmidxFile();
  BlockTables t = WithBlock(s, lc, b, [indexed](const BEAM_DATA& d) {
    BlockTables found;
    found.n = d.NumIPs() > 0 ? d.NumIPs() : 0;
    if (!indexed) found.even = EvenTables(d, &found.step);
    if (!found.even) {
      for (int k = 0; k < BEAM_DATA::kTables; ++k) {
        found.copy.insert(found.copy.end(), d.tables[k], d.tables[k] + found.n);
      }
    }
    return found;
  });
  if (t.even) {
    return View(py::dtype::of<float>(), {BEAM_DATA::kTables, t.n},
                {static_cast<py::ssize_t>(t.step * sizeof(float)), sizeof(float)}, t.even, self);
  }
  return py::array_t<float>({static_cast<py::ssize_t>(BEAM_DATA::kTables), t.n}, t.copy.data());
}

// Every block of load case lc (loaded mode) as (beam numbers, IP counts,
// count x 7 x MaxIP values): views where the reader holds the load case's
// blocks in one array and their tables in one block, else copies.
py::tuple LoadCase(py::object self, int lc) {
  IPResults& s = self.cast<IPResults&>();
  if (s.file.UseBmidxFile()) throw py::value_error("whole load cases are read in loaded mode only");
  CheckLoadCase(s.file, lc);
  const long32 count = s.file.GetBeamsInLC(lc);
  const py::ssize_t maxIP = s.file.GetMaxIP();
  const py::ssize_t perBeam = BEAM_DATA::kTables * maxIP;
  // Loaded mode reads nothing: the blocks are looked at with the GIL held.
  const BEAM_DATA* first = count > 0 ? s.file.GetBeamData(lc, 0) : nullptr;
  std::ptrdiff_t step = 0;
  bool even = first && EvenTables(*first, &step) && step == maxIP;
  for (long32 b = 1; b < count && even; ++b) {
    const BEAM_DATA* d = s.file.GetBeamData(lc, b);
    even = d == first + b && d->tables[0] == first->tables[0] + b * perBeam;
  }
  const py::ssize_t n = count > 0 ? count : 0;
  if (even) {
    const auto* head = reinterpret_cast<const unsigned char*>(first);
    return py::make_tuple(
        View(py::dtype::of<int32_t>(), {n}, {sizeof(BEAM_DATA)}, head + offsetof(BEAM_DATA, beamNumber), self),
        View(py::dtype::of<int16_t>(), {n}, {sizeof(BEAM_DATA)}, head + offsetof(BEAM_DATA, ipCount), self),
        View(py::dtype::of<float>(), {n, BEAM_DATA::kTables, maxIP},
             {static_cast<py::ssize_t>(perBeam * sizeof(float)), static_cast<py::ssize_t>(maxIP * sizeof(float)),
              sizeof(float)},
             first->tables[0], self));
  }
  py::array_t<int32_t> beams(n);
  py::array_t<int16_t> ips(n);
  py::array_t<float> values({n, static_cast<py::ssize_t>(BEAM_DATA::kTables), maxIP});
  for (long32 b = 0; b < count; ++b) {
    const BEAM_DATA* d = s.file.GetBeamData(lc, b);
    if (!d) throw py::index_error("no block " + std::to_string(b) + " in load case " + std::to_string(lc));
    beams.mutable_at(b) = d->beamNumber;
    ips.mutable_at(b) = d->ipCount;
    for (int t = 0; t < BEAM_DATA::kTables; ++t) {
      std::copy(d->tables[t], d->tables[t] + maxIP, values.mutable_data(b, t, 0));
    }
  }
  return py::make_tuple(beams, ips, values);
}

void BindIPResults(py::module_& m) {
  py::class_<IPResults>(m, "IPResults",
                        "The intermediate-point results (OUC), held in memory (loaded mode) or read block by "
                        "block through an index of the file (indexed mode).")
      .def(py::init([](const std::string& path, bool indexed) {
             auto s = std::make_unique<IPResults>();
             s->path = path;
             Check(Unlocked([&] {
                     s->file.SetUseBmidx(indexed);
                     return s->file.Import(path.c_str());
                   }),
                   path);
             return s;
           }),
           py::arg("path"), py::arg("indexed") = false)
      .def(
          "beam", &Beam, py::arg("lc"), py::arg("b"),
          "The seven tables of a block, n values each, rows in file order (kinds 0, 1, 2, 6, 3, 4, 5): "
          "a view in loaded mode, a copy in indexed mode.")
      .def(
          "beam_number",
          [](py::object self, int lc, int b) {
            return WithBlock(self.cast<IPResults&>(), lc, b, [](const BEAM_DATA& d) { return d.beamNumber; });
          },
          py::arg("lc"), py::arg("b"))
      .def("load_case", &LoadCase, py::arg("lc"))
      .def(
          "beams_in", [](const IPResults& s, int lc) { return s.file.GetBeamsInLC(lc); }, py::arg("lc"))
      .def_property_readonly("load_cases", [](const IPResults& s) { return s.file.GetLCNum(); })
      .def_property_readonly("max_ip", [](const IPResults& s) { return s.file.GetMaxIP(); })
      .def_property_readonly("max_lce", [](const IPResults& s) { return s.file.GetMaxLCE(); })
      .def_property_readonly("indexed", [](const IPResults& s) { return s.file.UseBmidxFile(); });
}

}  // namespace

void BindResults(py::module_& m) {
  BindStaticResults(m);
  BindIPResults(m);
}

}  // namespace telio_py
