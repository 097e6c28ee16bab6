// Generated sample models for the demo and the benchmarks.
//
// A sample model is a plane grid of columns and floor beams with its own
// sections, one material, a support under every column and a few static
// load cases. The numbers follow simple rules, so anything read back can be
// checked against the rule that wrote it.
#pragma once

class CFileT3L;

namespace telio_tool {

struct SampleSize {
  int nodes = 1000;  // rounded down to whole grid storeys
  int cases = 3;
};

// Fills an empty model. Returns false when the model could not grow.
bool BuildSampleT3L(CFileT3L& model, const SampleSize& size);

// Checks a model read back against the rules of BuildSampleT3L; returns
// the number of records that differ.
int CheckSampleT3L(const CFileT3L& model, const SampleSize& size);

}  // namespace telio_tool
