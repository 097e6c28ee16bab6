// The sample job writer for Python: complete jobs whose every value follows
// the rules drawn in SampleJob.h.
#include <pybind11/stl.h>

#include "Bindings.h"
#include "SampleJob.h"
#include "SampleMemberJob.h"

namespace telio_py {

void BindSampleJob(py::module_& m) {
  m.attr("SAMPLE_MAX_NODES") = telio_tool::kSampleMaxNodes;
  m.attr("SAMPLE_MAX_BEAMS") = telio_tool::kSampleMaxBeams;
  m.def(
      "write_sample_job",
      [](const std::string& folder, const std::string& name, int nodes, int beams, int cases, int combinations,
         bool eak, ulong32 seed, const std::string& suite, int members) {
        telio_tool::SampleJobSize size;
        size.nodes = nodes;
        size.beams = beams;
        size.cases = cases;
        size.combinations = combinations;
        size.eak = eak;
        size.seed = seed;
        std::string bad = telio_tool::SampleJob::Validate(size);
        if (bad.empty() && members != 0) bad = telio_tool::SampleMemberJob::Validate(size, members);
        if (!bad.empty()) throw py::value_error(bad);
        std::vector<telio_tool::SampleSection> sections;
        std::string failed = suite + "/FilesSectionDB";
        Check(Unlocked([&] {
                ulong32 code = telio_tool::PickSampleSections(suite, sections);
                if (code == 0) code = telio_tool::WriteSampleJob(folder, name, size, sections, &failed);
                if (code == 0 && members != 0) {
                  code = telio_tool::WriteSampleMemberJobs(folder, name, size, members, sections, &failed);
                }
                return code;
              }),
              failed);
      },
      py::arg("folder"), py::arg("name"), py::arg("nodes"), py::arg("beams"), py::arg("cases"),
      py::arg("combinations"), py::arg("eak"), py::arg("seed"), py::arg("suite"), py::arg("members") = 0,
      "Writes the sample job folder/name.AJF with sections from the catalogue in suite, and with members "
      "its member-design jobs (folder/name.AJF/name.MDD, folder/name_own.MDL).");
}

}  // namespace telio_py
