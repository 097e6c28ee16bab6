#include "SampleModel.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "files/CFileT3L.h"
#include "platform/Coding.h"

namespace telio_tool {

namespace {

// The grid has kBays + 1 columns per storey; storey 0 is the ground.
constexpr int kBays = 9;
constexpr int kColumnsPerStorey = kBays + 1;

// Section names as the analysis program stores them, in the OEM page:
// 0x81 is u-umlaut there.
const char* const kSectionNames[] = {"IPE 300", "HEA 200", "HEB 240", "St\x81tze"};
constexpr int kSectionCount = 4;

int Storeys(const SampleSize& s) { return std::max(2, s.nodes / kColumnsPerStorey); }

// Node coordinates are kept in the first three floats of the record; the
// library treats node records as opaque, this is only the sample's choice.
void PutNode(REC32A& r, int index) {
  std::memset(r.b, 0, sizeof r.b);
  telio::EncodeFloat(r.b + 0, static_cast<float>(index % kColumnsPerStorey) * 6.0f);
  telio::EncodeFloat(r.b + 4, static_cast<float>(index / kColumnsPerStorey) * 3.5f);
  telio::EncodeFloat(r.b + 8, 0.0f);
}

struct BeamPlan {
  int start, end, section;
};

std::vector<BeamPlan> PlanBeams(int storeys) {
  std::vector<BeamPlan> beams;
  for (int s = 1; s < storeys; ++s) {
    for (int c = 0; c < kColumnsPerStorey; ++c) {  // columns
      int top = s * kColumnsPerStorey + c + 1;
      beams.push_back({top - kColumnsPerStorey, top, (c == 0 || c == kBays) ? 2 : 3});
    }
    for (int c = 0; c < kBays; ++c) {  // floor beams
      int left = s * kColumnsPerStorey + c + 1;
      beams.push_back({left, left + 1, (s % 4 == 0) ? 4 : 1});
    }
  }
  return beams;
}

}  // namespace

bool BuildSampleT3L(CFileT3L& model, const SampleSize& size) {
  const int storeys = Storeys(size);
  const int nodes = storeys * kColumnsPerStorey;

  std::vector<REC32A> nodeRecs(static_cast<size_t>(nodes));
  for (int i = 0; i < nodes; ++i) PutNode(nodeRecs[static_cast<size_t>(i)], i);
  if (model.AddNode(nodeRecs.data(), nodes) != 1) return false;

  std::vector<REC96A> sections(kSectionCount);
  for (int i = 0; i < kSectionCount; ++i) {
    std::memset(sections[static_cast<size_t>(i)].b, 0, sizeof(REC96A));
    std::strncpy(reinterpret_cast<char*>(sections[static_cast<size_t>(i)].b), kSectionNames[i], 20);
  }
  if (model.AddSect(sections.data(), kSectionCount) != 1) return false;

  REC64A steel;
  std::memset(steel.b, 0, sizeof steel.b);
  telio::EncodeFloat(steel.b + 0, 210000.0f);  // E, carried opaque
  if (model.AddMaterial(&steel, 1) != 1) return false;

  std::vector<BeamPlan> plan = PlanBeams(storeys);
  std::vector<REC32A> beams(plan.size());
  for (size_t i = 0; i < plan.size(); ++i) {
    std::memset(beams[i].b, 0, sizeof(REC32A));
    beams[i].SetStartNode(static_cast<uint16_t>(plan[i].start));
    beams[i].SetEndNode(static_cast<uint16_t>(plan[i].end));
    beams[i].SetSectionNo(static_cast<uint16_t>(plan[i].section));
    beams[i].SetMaterialNo(1);
  }
  if (model.AddBeam(beams.data(), static_cast<int>(beams.size())) != 1) return false;

  std::vector<REC64A> supports(kColumnsPerStorey);
  for (int c = 0; c < kColumnsPerStorey; ++c) {
    std::memset(supports[static_cast<size_t>(c)].b, 0, sizeof(REC64A));
    supports[static_cast<size_t>(c)].SetSupportNode(static_cast<uint16_t>(c + 1));
  }
  if (model.AddSupport(supports.data(), kColumnsPerStorey) != 1) return false;

  for (int lc = 0; lc < size.cases; ++lc) {
    REC32B rec;
    std::memset(rec.b, 0, sizeof rec.b);
    if (model.AddStaticLoadCaseEx(rec, lc + 1, lc == 0 ? 1 : 0, 1.35f + 0.15f * static_cast<float>(lc)) != 1)
      return false;
  }
  return true;
}

int CheckSampleT3L(const CFileT3L& model, const SampleSize& size) {
  const int storeys = Storeys(size);
  const std::vector<BeamPlan> plan = PlanBeams(storeys);
  int bad = 0;
  if (model.Count(CFileT3L::kNodes) != storeys * kColumnsPerStorey) ++bad;
  if (model.Count(CFileT3L::kBeams) != static_cast<long32>(plan.size())) return bad + 1;
  for (size_t i = 0; i < plan.size(); ++i) {
    const REC32A* b = model.Beam(static_cast<int>(i));
    if (!b || b->StartNode() != plan[i].start || b->EndNode() != plan[i].end ||
        b->SectionNo() != plan[i].section || !model.SNodeOfBeam(static_cast<int>(i)) ||
        !model.SectionOfBeam(static_cast<int>(i))) {
      ++bad;
    }
  }
  for (int lc = 0; lc < size.cases; ++lc) {
    const LOADCASE_EXTRA* e = model.LoadingCaseExtra(lc);
    if (!e || e->First() != lc + 1 || e->Value() != 1.35f + 0.15f * static_cast<float>(lc)) ++bad;
  }
  return bad;
}

}  // namespace telio_tool
