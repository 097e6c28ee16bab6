// Feeds arbitrary bytes to the model (T3L) reader, then edits and writes
// what it loaded. The input goes through one temporary file per process.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>


#include "files/CFileT3L.h"

#include "FuzzScratch.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string out = fuzz_scratch::Folder() + "/out.T3L";
  const std::string in = fuzz_scratch::Put("in.T3L", data, size);
  if (in.empty()) return 0;

  CFileT3L model;
  model.Import(in.c_str());
  unsigned sum = 0;
  for (int i = 0; i < model.Count(CFileT3L::kBeams); ++i) {
    if (const REC32A* n = model.SNodeOfBeam(i)) sum += n->b[0];
    if (const REC32A* n = model.ENodeOfBeam(i)) sum += n->b[0];
    if (const REC96A* s = model.SectionOfBeam(i)) sum += static_cast<unsigned>(s->NameLength());
  }
  for (int i = 0; i < model.Count(CFileT3L::kStaticLoadCases); ++i) {
    if (const LOADCASE_EXTRA* e = model.LoadingCaseExtra(i)) sum += e->First();
    model.AddLoadingCaseSelfWeight(i, static_cast<uint16_t>(i));
  }
  model.OemToCharSectC();
  CFileT3L copy(model);
  if (copy.Count(CFileT3L::kNodes) > 0) copy.RemoveNode(0);
  if (copy.Count(CFileT3L::kSections) > 0) copy.RemoveSect(0);
  if (copy.Count(CFileT3L::kStaticLoadCases) > 0) copy.RemoveStaticLoadCase(0);
  copy.Export(out.c_str());
  volatile unsigned sink = sum;  // keeps the reads above
  (void)sink;
  return 0;
}
