// Reads a member-design job set from arbitrary bytes: the input is split
// into length-prefixed parts (u32 little-endian length, then the bytes; a
// part cut by the end of the input takes what is left, missing parts are
// empty) written as A.MDL, A.MLC, A.CNS, A.LTB, A.DB0, A.TOP, A.TGD and the
// analysis files A.JOB, A.CMI, A.NAM and A.RES, all in a folder A.AJF, so a
// linked job named A finds its analysis job by the folder repair. Only the
// parts that differ from the last input are written again. Every getter
// must stay inside the reader's tables.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "mdd/CFileMDL.h"

#include "FuzzScratch.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

const std::string& JobFolder() {
  static const std::string folder = [] {
    std::string f = fuzz_scratch::Folder() + "/A.AJF";
    std::error_code ec;
    std::filesystem::create_directories(f, ec);
    return f;
  }();
  return folder;
}

float Touch(const float* v, int n) {
  float sum = 0;
  for (int i = 0; i < n; ++i) sum += v[i];
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kNames[] = {"MDL", "MLC", "CNS", "LTB", "DB0", "TOP", "TGD", "JOB", "CMI", "NAM", "RES"};
  JobFolder();
  // A mutation mostly changes one part: the files of the others stay.
  static std::vector<uint8_t> written[sizeof kNames / sizeof kNames[0]];
  static bool any = false;
  for (size_t i = 0; i < sizeof kNames / sizeof kNames[0]; ++i) {
    const uint8_t* part;
    size_t length;
    fuzz_scratch::NextPart(data, size, &part, &length);
    if (any && written[i].size() == length && std::equal(part, part + length, written[i].begin())) continue;
    written[i].assign(part, part + length);
    if (fuzz_scratch::Put((std::string("A.AJF/A.") + kNames[i]).c_str(), part, length).empty()) return 0;
  }
  any = true;
  const std::string path = JobFolder() + "/A.MDL";

  CFileMDL job;
  job.Import(path.c_str());
  const int members = job.GetMemberCount();
  Check(members >= 0 && members <= job.GetCapacity());
  volatile float sink = 0;
  for (int m = -1; m <= members; ++m) {
    const int first = job.GetBeamsPerMemberPos(m);
    Check(first >= 0 && first <= job.GetTotalPositions());
    sink = sink + static_cast<float>(job.BeamsPerMemberPos(first));
  }
  for (int p = 0; p <= job.GetTotalPositions() && p < 4096; ++p) sink = sink + static_cast<float>(job.BeamsPerMemberPos(p));
  for (int i = 0; i < job.GetPointsCount(); ++i) sink = sink + job.GetPointAt(i)->X();
  Check(job.GetPointAt(job.GetPointsCount()) == nullptr);
  for (int n = 0; n < 8; ++n) {
    if (const TOPOStructs::NODE_REC* node = job.GetNode(n)) sink = sink + node->x;
  }

  const CFileMDD::MemLCData& lc = *job.GetMemLCData();
  const MDDStrucst::MLCHEADER head = job.GetMLCHeader();
  Check(lc.GetSize() <= job.GetCapacity() && head.LoadCases() <= MDDStrucst::MLCHEADER::kMaxLoadCases);
  for (int m = 0; m < lc.GetSize(); ++m) {
    Check(lc[m].GetSize() <= head.LoadCases());
    for (int c = 0; c < lc[m].GetSize(); ++c) {
      Check(lc[m][c].GetSize() <= CFileMDD::kMaxPositions);
      for (int p = 0; p < lc[m][c].GetSize(); ++p) {
        Check(lc[m][c][p].GetSize() == CFileMDD::kKinds);
        sink = sink + Touch(lc[m][c][p].GetData(), CFileMDD::kKinds);
      }
    }
  }
  for (int s = 0; s < 2; ++s) {
    Check(job.GetConstraintsX(s)->GetSize() <= members && job.GetConstraints(s)->GetSize() <= members);
    for (int m = 0; m < job.GetConstraints(s)->GetSize(); ++m) {
      Check((*job.GetConstraints(s))[m].GetSize() == CFileMDD::kRestraintsPerSet);
      Check((*job.GetConstraints(s))[m][19].Byte(94) == 0);
    }
  }
  Check(job.GetLTBbuf()->GetSize() <= members);
  for (int m = 0; m < job.GetLTBbuf()->GetSize(); ++m) Check((*job.GetLTBbuf())[m].GetSize() <= CFileMDD::kLtbRestraints);
  for (CFileMDD::DB0Table* t : {job.GetBmFy(), job.GetBmFz(), job.GetBmlt(), job.GetC1(), job.GetC2(), job.GetC3()}) {
    for (int i = 0; i < t->GetSize(); ++i) {
      for (int j = 0; j < (*t)[i].GetSize(); ++j) sink = sink + Touch((*t)[i][j].GetData(), (*t)[i][j].GetSize());
    }
  }
  MDDStrucst::TEGIDA purlin;
  job.ReadTegida((JobFolder() + "/A.TGD").c_str(), purlin, members > 1 ? 1 : 0);
  if (job.IsLinked()) job.ReadMLCLinked((JobFolder() + "/A.MLC").c_str());
  return 0;
}
