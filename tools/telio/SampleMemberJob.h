// Member-design jobs beside a sample analysis job (`telio sample --members
// K`): a job linked to the analysis job, NAME.MDD in the project folder, and
// one that carries its own forces, NAME_own.MDL with its topology in the
// folder that holds the project. Every value follows from the rules below and
// from the analysis job's own rules (SampleJob.h), so a reader can check
// what it read without this code.
//
// Members i = 1..K run over consecutive analysis beams of one row of the
// node grid: row r = (i-1) div 4, slot s = (i-1) mod 4,
//   beam count    c_i = {1, 2, 3, 3}[s]
//   first beam    f_i = 10 r + 1 + {0, 1, 3, 6}[s]
// so member i runs over beams f_i .. f_i + c_i - 1 and nodes f_i .. f_i + c_i
// (a beam b below N runs from node b to node b + 1, 6 long). K is 1 to 200
// and f_K + c_K - 1 must not exceed min(M, N - 1).
//
// Member record i (both jobs): name "M<i>", length 6 c_i, family and
// section identifier the family and catalogue key of the analysis section
// of beam f_i, profile 0, grade 1, beam count c_i, has LTB 1, angle 0.
// Restraints (CNS) of member i with its nodes n_0 .. n_{c_i}:
//   set 0: c_i + 1 nodes n_0 .. n_{c_i}; set 1: the 2 nodes n_0, n_{c_i}
//   record j of set s: kind 1 + 2 ((i + j + s) mod 3), eta 0.25 (j mod 5),
//   factor 1 + j/4; the other bytes zero. The kinds are those of
//   restraints that do not sway: a restraint's own sway does not survive
//   a design project's save and load (its list's sway word replaces it).
// Buckling points (LTB): c_i + 1 nodes n_0 .. n_{c_i}, and record j (0..c_i):
//   k type 1 + j mod 2, kw type 2 - j mod 2, k 1 - j/8, kw 1
// DB0: for member i one record per code {1, 2, 4, 8, 16, 32}[t] at (i, 1, 1)
//   with value t + 1 + c_i / 4.
// Points: the nodes n_0 .. n_{c_i} of each member, member after member.
//
// Linked job NAME.MDD (type 13, open block version 3 with a zero extension):
//   job name NAME, job folder the project folder, linked 1, member capacity
//   0 and default capacity K + 10; positions f_i .. f_i + c_i - 1 and nodes
//   n_j = f_i + j of the analysis job; MLC: the names of the analysis job's
//   static load cases (all of them, at most 800) and B = K, no forces.
// Own job NAME_own.MDL (type 11, version 2): job name NAME_own, no folder,
//   linked 0, member capacity K; its topology NAME_own.TOP: 4 nodes at
//   (6 (n-1), 0, 0), beams n from node n to n + 1 (n = 1..3) of the first
//   analysis section; positions 1 .. c_i and nodes n_j = j + 1 of it.
//   MLC: L = min(S, 20) load cases named as the analysis job's, B = K, and
//   n_i = 2 c_i positions per member: position p is end p mod 2 of the
//   member's beam p div 2, so for load case c (1..L)
//     kind 0 (distance along the member) = 6 ((p + 1) div 2)
//     kind v + 1 (v = 0..5)              = Force(c - 1, f_i + p div 2, p mod 2, v)
//   the analysis job's beam-end force of that load result (SampleJob.h).
//   TGD: an 8-byte zero header and record i: type 1 + (i-1) mod 3 (i16 at 0),
//   length 6 c_i (f32 at 2 and at 17 + 4), count c_i + 1 (i16 at 15), 0.5
//   (f32 at 7), c_i + 0.5 (f32 at 11), purlin k (1..c_i + 1) at distance
//   6 (k - 1) (f32 at 137 + 4k) with flag 1 (i8 at 3341 + k), "PURLIN" at
//   4142; every other byte zero.
#pragma once

#include <string>
#include <vector>

#include "SampleJob.h"
#include "platform/Types.h"

namespace telio_tool {

constexpr int kSampleMaxMembers = 200;   // the MLC file's member-count area
constexpr int kSampleMaxOwnCases = 20;   // the MLC file's blocks per member

class SampleMemberJob {
 public:
  SampleMemberJob(const SampleJobSize& size, int members);

  // Empty when K members fit the analysis job, else what is wrong.
  static std::string Validate(const SampleJobSize& size, int members);

  int Members() const { return members_; }
  int BeamCount(int member) const;  // c_i, member 1-based
  int FirstBeam(int member) const;  // f_i
  float Length(int member) const { return 6.0f * static_cast<float>(BeamCount(member)); }
  int OwnCases() const;             // L
  int LinkedCases() const;          // the names of the linked MLC
  int Positions(int member) const { return 2 * BeamCount(member); }
  // Kind 0..6 at position p (0-based) of load case c (1-based) of the own
  // job's MLC.
  float OwnValue(int member, int c, int p, int kind) const;
  const SampleJob& Analysis() const { return job_; }

 private:
  SampleJob job_;
  int members_;
};

struct MemberJobPaths {
  std::string linked;  // NAME.AJF/NAME.MDD
  std::string own;     // NAME_own.MDL beside the project folder
};

// The two jobs of a sample written into parentFolder as NAME.AJF (which
// must hold the analysis job already).
MemberJobPaths SampleMemberJobPaths(const std::string& parentFolder, const std::string& name);

// Writes both jobs. Returns 0, or the code of the first file that could not
// be written, with its path in *failedPath.
ulong32 WriteSampleMemberJobs(const std::string& parentFolder, const std::string& name, const SampleJobSize& size,
                              int members, const std::vector<SampleSection>& sections, std::string* failedPath);

}  // namespace telio_tool
