#include "SampleJob.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "JobCheck.h"
#include "files/CFileJOB.h"
#include "files/CFileNAM.h"
#include "files/CFileOUC.h"
#include "files/CFileRES.h"
#include "platform/Coding.h"
#include "support/TempDir.h"
#include "topology/CTOPO_REC.h"

namespace {

using telio_tool::SampleJob;
using telio_tool::SampleJobSize;

// The documented rules, written out again here so that a slip in the
// writer's own arithmetic shows.
double Sigma(const SampleJobSize& s) { return static_cast<double>(s.seed % 1000); }
float Disp(const SampleJobSize& s, int r, int n, int v) {
  return static_cast<float>((v + 1) * (Sigma(s) + r + 1 + n / 16.0));
}
float Force(const SampleJobSize& s, int r, int b, int end, int v) {
  return static_cast<float>((v + 1) * (Sigma(s) + r + 1 + b / 16.0 + 2.0 * end));
}
int IPs(int b) { return b % 4 == 0 ? 2 : b % 4 == 1 ? 3 : b % 4 == 2 ? 5 : 9; }
float IPValue(const SampleJobSize& s, int r, int b, int i, int v) {
  return static_cast<float>((v + 1) * (Sigma(s) + r + 1 + b / 16.0 + 2.0 * i / (IPs(b) - 1)));
}

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

class SampleJobTest : public ::testing::Test {
 protected:
  // Writes NAME.AJF with the catalogue of the source tree; returns the
  // project folder.
  std::string Write(const SampleJobSize& size) {
    std::vector<telio_tool::SampleSection> sections;
    EXPECT_EQ(0u, telio_tool::PickSampleSections(TELIO_SOURCE_DIR "/data", sections));
    std::string failed;
    EXPECT_EQ(0u, telio_tool::WriteSampleJob(dir_.path(), "Job", size, sections, &failed)) << failed;
    return dir_.path() + "/Job.AJF";
  }
  std::string File(const char* ext) { return dir_.path() + "/Job.AJF/Job." + ext; }

  telio_test::TempDir dir_;
};

TEST_F(SampleJobTest, SizesOutsideTheFilesCapacityAreRefused) {
  SampleJobSize s;
  EXPECT_TRUE(SampleJob::Validate(s).empty());
  s.nodes = 1;
  EXPECT_FALSE(SampleJob::Validate(s).empty());
  s.nodes = 10001;
  EXPECT_FALSE(SampleJob::Validate(s).empty());
  s.nodes = 10000;
  s.beams = 20001;
  EXPECT_FALSE(SampleJob::Validate(s).empty());
  s.beams = 20000;
  s.combinations = 801;
  EXPECT_FALSE(SampleJob::Validate(s).empty());
  // The intermediate-point table has 400 entries, 20803 for an EAK job.
  s.cases = 300;
  s.combinations = 101;
  EXPECT_FALSE(SampleJob::Validate(s).empty());
  s.eak = true;
  EXPECT_TRUE(SampleJob::Validate(s).empty());
}

TEST_F(SampleJobTest, EveryBeamJoinsTwoDistinctNodesOfTheTopology) {
  // Two nodes and more beams than node pairs: the wrap-around must not
  // make a beam start and end at one node.
  SampleJobSize s;
  s.nodes = 2;
  s.beams = 7;
  s.cases = 1;
  s.combinations = 0;
  Write(s);
  CTOPO_REC topo;
  ASSERT_EQ(1, topo.Open(File("TOP").c_str()));
  const TOPOStructs::TOPO_REC& t = *topo.GetTOPO_REC();
  ASSERT_EQ(7, t.beamCount);
  for (int b = 1; b <= t.beamCount; ++b) {
    EXPECT_NE(t.startNode[b], t.endNode[b]) << "beam " << b;
    EXPECT_GE(t.startNode[b], 1);
    EXPECT_LE(t.endNode[b], 2);
  }
  EXPECT_TRUE(telio_tool::CheckJob(File("T3L")).Clean());
}

TEST_F(SampleJobTest, ResultsReadBackEqualTheirRules) {
  SampleJobSize s;
  s.nodes = 23;
  s.beams = 41;
  s.cases = 3;
  s.combinations = 2;
  s.seed = 123456;
  const std::string project = Write(s);

  const telio_tool::JobCheckReport report = telio_tool::CheckJob(project);
  for (const auto& f : report.findings) ADD_FAILURE() << f.file << ": " << f.code << ": " << f.message;
  EXPECT_EQ(12u, report.files.size());

  // Layout seen from outside: 3 supports (nodes 1, 11, 21), 5 load results.
  const int loadResults = 5, supports = 3;
  EXPECT_EQ(52u + loadResults * (23u + supports + 2 * 41u) * 52u, ReadAll(File("RES")).size());
  const std::vector<unsigned char> ouc = ReadAll(File("OUC"));
  ASSERT_GT(ouc.size(), 1614u);
  EXPECT_EQ(5u, telio::DecodeFixed32(ouc.data()));       // load cases
  EXPECT_EQ(9u, telio::DecodeFixed32(ouc.data() + 4));   // most IPs
  EXPECT_EQ(41u, telio::DecodeFixed32(ouc.data() + 8));  // beams of load case 0
  EXPECT_EQ(0u, telio::DecodeFixed32(ouc.data() + 8 + 4 * 5));
  EXPECT_EQ(1u, telio::DecodeFixed32(ouc.data() + 1608));  // first block: beam 1
  EXPECT_EQ(3u, telio::DecodeFixed16(ouc.data() + 1612));  // with 3 IPs

  CFileRES res;
  ASSERT_EQ(0u, res.Import(File("RES").c_str()));
  EXPECT_EQ(123456u, res.HeaderWord());
  EXPECT_EQ(0, res.IsJobEAK());
  ASSERT_EQ(loadResults, res.NumberOfLoadsResults());
  for (int r = 0; r < loadResults; ++r) {
    auto disp = res.GetDisplacementsFor(r);
    auto reac = res.GetReactionsFor(r);
    ASSERT_EQ(23, disp.GetSize());
    ASSERT_EQ(23, reac.GetSize());
    for (int n = 1; n <= 23; ++n) {
      const bool supported = n == 1 || n == 11 || n == 21;
      for (int v = 0; v < 6; ++v) {
        ASSERT_EQ(Disp(s, r, n, v), disp[n - 1].Value(v)) << r << " " << n << " " << v;
        ASSERT_EQ(supported ? -Disp(s, r, n, v) : 0.0f, reac[n - 1].Value(v)) << r << " " << n;
      }
    }
    auto forces = res.GetForcesFor(r);
    ASSERT_EQ(41, forces.GetSize());
    for (int b = 1; b <= 41; ++b) {
      const AnasisForces* one = res.GetForcesFor(r, b - 1);
      ASSERT_NE(nullptr, one);
      EXPECT_EQ(b, forces[b - 1].BeamNumber());
      for (int v = 0; v < 6; ++v) {
        ASSERT_EQ(Force(s, r, b, 0, v), forces[b - 1].first.Value(v)) << r << " " << b;
        ASSERT_EQ(Force(s, r, b, 1, v), forces[b - 1].second.Value(v)) << r << " " << b;
        ASSERT_EQ(Force(s, r, b, 1, v), one->second.Value(v));
      }
    }
  }

  // Positions from the topology's coordinates; values interpolate the end
  // forces. Both reading modes give the same blocks here (beam b is the
  // b-th block of every load case).
  CTOPO_REC topo;
  ASSERT_EQ(1, topo.Open(File("TOP").c_str()));
  const TOPOStructs::TOPO_REC& t = *topo.GetTOPO_REC();
  for (bool indexed : {false, true}) {
    CFileOUC reader;
    reader.SetUseBmidx(indexed);
    ASSERT_EQ(0u, reader.Import(File("OUC").c_str()));
    ASSERT_EQ(loadResults, reader.GetLCNum());
    EXPECT_EQ(400, reader.GetMaxLCE());
    for (int lc = 0; lc < loadResults; ++lc) {
      for (int b = 1; b <= 41; ++b) {
        const BEAM_DATA* d = reader.GetBeamData(lc, b - 1);
        ASSERT_NE(nullptr, d) << indexed << " " << lc << " " << b;
        ASSERT_EQ(b, d->BeamNumber());
        ASSERT_EQ(IPs(b), d->NumIPs());
        const int a = t.startNode[b], e = t.endNode[b];
        const double dx = static_cast<double>(t.x[e]) - t.x[a], dy = static_cast<double>(t.y[e]) - t.y[a];
        const double length = std::sqrt(dx * dx + dy * dy);
        for (int i = 0; i < d->NumIPs(); ++i) {
          ASSERT_EQ(static_cast<float>(length * i / (IPs(b) - 1)), d->Table(0)[i]);
          for (int v = 0; v < 6; ++v) ASSERT_EQ(IPValue(s, lc, b, i, v), d->Table(v + 1)[i]) << lc << " " << b;
        }
        EXPECT_EQ(Force(s, lc, b, 0, 3), d->Table(4)[0]);
        EXPECT_EQ(Force(s, lc, b, 1, 3), d->Table(4)[d->NumIPs() - 1]);
      }
    }
  }

  CFileNAM nam;
  ASSERT_EQ(0u, nam.Import(File("NAM").c_str()));
  EXPECT_EQ("Load case 3", std::string(nam.LdsNames(2).GetString()));
}

TEST_F(SampleJobTest, EakJobHasTheLongLoadCaseTable) {
  SampleJobSize s;
  s.nodes = 12;
  s.beams = 15;
  s.cases = 2;
  s.combinations = 1;
  s.eak = true;
  const std::string project = Write(s);
  EXPECT_TRUE(telio_tool::CheckJob(project).Clean());

  const std::vector<unsigned char> job = ReadAll(File("JOB"));
  ASSERT_EQ(297u + 2 * 14u, job.size());
  EXPECT_EQ(2050, telio::DecodeFixed16(job.data() + 290));
  EXPECT_EQ(1, job[292]);  // EAK flag

  const std::vector<unsigned char> ouc = ReadAll(File("OUC"));
  ASSERT_GT(ouc.size(), 83226u);
  EXPECT_EQ(1u, telio::DecodeFixed32(ouc.data() + 83220));  // first block after 20803 entries

  CFileRES res;
  ASSERT_EQ(0u, res.Import(File("RES").c_str()));
  EXPECT_EQ(1, res.IsJobEAK());
  CFileOUC reader;
  ASSERT_EQ(0u, reader.Import(File("OUC").c_str()));
  EXPECT_EQ(20803, reader.GetMaxLCE());
  EXPECT_EQ(IPValue(s, 2, 15, 8, 4), reader.GetValue(2, 14, 8, 5));  // kind 5 is value 5
}

}  // namespace
