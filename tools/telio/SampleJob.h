// Generated analysis jobs: a complete, consistent project folder NAME.AJF
// of a chosen size, for the demo, the tests and the benchmarks.
//
// The job holds the model (T3L), topology (TOP) with its composite-section
// companion (CS), run control (JOB), static load-case names (NAM), dynamic
// names and counts (DYN, DEN, DCM), combinations (CMI, ACE), static results
// (RES) and intermediate-point results (OUC). Every number follows from the
// rules below, so any reader can check what it read without this code.
//
// Model (plane, 3-D flag 0):
//   node n (1..N):  X = 6 * ((n-1) mod 10), Y = 3.5 * ((n-1) div 10), Z = 0;
//                   label n; not restrained unless a support names it
//   support i (0..P-1), P = ceil(N / 10): node 10*i + 1
//   beam b (1..M):  k = b-1, start a = 1 + k mod (N-1),
//                   end e = 1 + (a - 1 + 1 + k div (N-1)) mod N
//                   (when e = a: e = a mod N + 1); label b; angle 0;
//                   section 1 + ((b-1) div 10) mod (section count), so
//                   the beams of a row of the grid (b = 10r+1 .. 10r+10)
//                   share one; material 1
//   sections:       the middle section of each of the catalogue families
//                   12, 13, 14 and 41 that the catalogue holds (name,
//                   family and key from the catalogue), then one composite
//                   section "COMPOSITE 1" (family 104, sub-number 1) whose
//                   record in the CS file is built on section 1
//   physical beam p (1..P): row r = (p-1) div 4, slot s = (p-1) mod 4,
//                   first beam f = 10r + 2s + 1: beams f and f+1, nodes f
//                   to f+2 (straight, in one row of the grid); P is the
//                   largest p <= 20 with f+1 <= min(M, N-1)
//   static load case c (0..S-1): name "Load case <c+1>"; extra data bytes
//                   c+1 (low 8 bits) and 0, value 1 + c/4 (T3L and JOB)
//   dynamic:        2 load cases, 1 combination, 1 envelope (DYN names
//                   "Dynamic case <i>", "Dynamic combination 1",
//                   "Envelope 1"; the records the reader skips hold "-")
//   combination j (0..K-1): terms t = 0 .. min(S, 1 + j mod 3) - 1, load
//                   case (j + t) mod S (0-based), factor 1 + (t+1)/4;
//                   all K active in ACE
//   JOB:            version 2050, static run status 1, EAK flag 1 for an
//                   EAK job (the OUC table then has 20803 entries, else 400)
//
// Results, for load result r (0..S+K-1, static cases first), R = r + 1,
// sigma = seed mod 1000, value index v = 0..5. Every value is a multiple of
// 1/16 below 2^18, so each is exact in a 32-bit float:
//   RES header word            = seed
//   displacement of node n     D(r,n,v)  = (v+1) * (sigma + R + n/16)
//   reaction of supported n    Q(r,n,v)  = -D(r,n,v)
//   force at the first end     F1(r,b,v) = (v+1) * (sigma + R + b/16)
//   force at the second end    F2(r,b,v) = F1(r,b,v) + 2 * (v+1)
//   RES beam record head       beam number b (u32); the further beam
//                              records are zero
//   OUC: every load result holds one block per beam, in beam order;
//   beam b has n_b = {2, 3, 5, 9}[b mod 4] intermediate points at
//   t_i = i / (n_b - 1):
//     position (kind 0)        = length of beam b * t_i (length computed
//                                in double from the coordinates, rounded
//                                once to float)
//     value v+1 (kinds 1..6)   = F1(r,b,v) + (F2(r,b,v) - F1(r,b,v)) * t_i
//   MaxIP is the largest n_b used.
#pragma once

#include <string>
#include <vector>

#include "Progress.h"
#include "platform/Types.h"

namespace telio_tool {

struct SampleJobSize {
  int nodes = 1000;
  int beams = 1800;
  int cases = 4;         // static load cases
  int combinations = 3;
  bool eak = false;
  ulong32 seed = 1;
  int members = 0;       // member-design jobs beside it (SampleMemberJob.h), 0 for none
};

// Limits of a sample job: the topology's capacity and the tables of the
// combination and intermediate-point files.
constexpr int kSampleMaxNodes = 10000;
constexpr int kSampleMaxBeams = 20000;
constexpr int kSampleMaxCombinations = 800;
constexpr int kSampleDynamicCases = 2;
constexpr int kSampleDynamicCombinations = 1;
constexpr int kSampleDynamicEnvelopes = 1;
constexpr long32 kMaxLCE = 400;
constexpr long32 kMaxLCEEak = 20803;

// A section of the sample, as written to the topology and the model.
struct SampleSection {
  std::string name;
  int family = 0;
  int subNumber = 0;
  ulong32 key = 0;
};

// The rules above for one size. Numbers are 1-based where the files are.
class SampleJob {
 public:
  explicit SampleJob(const SampleJobSize& size);

  // Empty when the size can be written, else what is wrong with it.
  static std::string Validate(const SampleJobSize& size);

  const SampleJobSize& Size() const { return size_; }
  int Nodes() const { return size_.nodes; }
  int Beams() const { return size_.beams; }
  int Supports() const { return (size_.nodes + 9) / 10; }
  int SupportNode(int i) const { return 10 * i + 1; }
  bool IsSupported(int node) const { return (node - 1) % 10 == 0; }
  int StaticCases() const { return size_.cases; }
  int Combinations() const { return size_.combinations; }
  int LoadResults() const { return size_.cases + size_.combinations; }
  int PhysBeams() const;
  // The first of the two beams of physical beam p (1-based).
  static int PhysBeamFirst(int p) { return 10 * ((p - 1) / 4) + 2 * ((p - 1) % 4) + 1; }
  long32 MaxLCE() const { return size_.eak ? kMaxLCEEak : kMaxLCE; }

  float X(int node) const;
  float Y(int node) const;
  float Z(int) const { return 0.0f; }
  int BeamStart(int beam) const;
  int BeamEnd(int beam) const;
  // sectionCount: the number of sections the job holds.
  int BeamSection(int beam, int sectionCount) const { return 1 + ((beam - 1) / 10) % sectionCount; }
  double BeamLength(int beam) const;

  // Terms of combination j (0-based).
  int CombinationTerms(int j) const;
  int CombinationCase(int j, int t) const { return (j + t) % size_.cases; }
  float CombinationFactor(int, int t) const { return 1.0f + static_cast<float>(t + 1) / 4.0f; }

  float Displacement(int r, int node, int v) const;
  float Reaction(int r, int node, int v) const { return -Displacement(r, node, v); }
  // end 0: first end, 1: second end.
  float Force(int r, int beam, int end, int v) const;
  static int IPCount(int beam);
  int MaxIP() const;
  float IPPosition(int beam, int ip) const;
  float IPValue(int r, int beam, int ip, int v) const;

 private:
  double Sigma() const { return static_cast<double>(size_.seed % 1000); }
  SampleJobSize size_;
};

// Picks the sample's sections from the section catalogue in
// catalogueFolder (the folder holding FilesSectionDB). Returns 0 or the
// catalogue's error code.
ulong32 PickSampleSections(const std::string& catalogueFolder, std::vector<SampleSection>& out);

// Writes the job NAME.AJF into parentFolder (made when missing). Returns 0,
// or the code of the first file that could not be written, with its path in
// *failedPath. Files already in the folder are replaced. progress hears of
// each file, and of each load result of the two result files.
ulong32 WriteSampleJob(const std::string& parentFolder, const std::string& name,
                       const SampleJobSize& size, const std::vector<SampleSection>& sections,
                       std::string* failedPath, const ProgressFn& progress = ProgressFn());

}  // namespace telio_tool
