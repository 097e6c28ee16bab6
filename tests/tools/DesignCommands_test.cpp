// telio design, and info, dump and check of design projects, on a sample
// job with its member-design jobs.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "SampleJob.h"
#include "ToolRunner.h"
#include "mdd/CMDDBeam.h"
#include "mdd/FileMDP.h"
#include "platform/CPathObj.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using telio_test::RunTelio;

// 30 nodes, 50 beams, 3 static cases and 2 combinations, seed 1, and 9
// members in each member-design job.
class DesignTool : public telio_test::ToolSettings {
 protected:
  static void SetUpTestSuite() {
    dir_ = new telio_test::TempDir;
    const auto r = RunTelio({"sample", dir_->path(), "--name", "Hall", "--nodes", "30", "--beams", "50", "--cases", "3",
                             "--combinations", "2", "--members", "9"});
    ASSERT_EQ(0, r.rc) << r.err;
  }
  static void TearDownTestSuite() { delete dir_; }
  static std::string Job() { return dir_->path() + "/Hall.AJF"; }
  std::string Out(const char* name) { return out_.File(name); }

  static telio_test::TempDir* dir_;
  telio_test::TempDir out_;
};

telio_test::TempDir* DesignTool::dir_ = nullptr;

}  // namespace

TEST_F(DesignTool, LinkedJobImportsValidatesAndShowsItsMembers) {
  const auto r = RunTelio({"design", "import", Job() + "/Hall.MDD", "-o", Out("Hall.MDP"), "--json"});
  ASSERT_EQ(0, r.rc) << r.err;
  const telio_tool::Json made = r.json();
  EXPECT_EQ("design_import", made["kind"]);
  EXPECT_EQ(9, made["members"]);
  EXPECT_EQ(3, made["load_cases"]);
  EXPECT_TRUE(made["link_valid"]);
  EXPECT_EQ(0, made["invalid_members"]);  // members over 2 and 3 beams have one section

  const telio_tool::Json info = RunTelio({"info", Out("Hall.MDP"), "--json"}).json();
  EXPECT_EQ("MDP", info["kind"]);
  EXPECT_EQ(made["checksum"], info["checksum"]);
  for (const char* field : {"members", "groups", "sections", "load_cases", "linked", "link_valid"}) {
    EXPECT_EQ(made[field], info[field]) << field;
  }

  // Member 4 runs over beams 7, 8 and 9 of the first row; beam 9 has three
  // intermediate points, the middle one halfway (rules of SampleJob.h).
  const telio_tool::Json dump = RunTelio({"dump", Out("Hall.MDP"), "--member", "4", "--json"}).json();
  ASSERT_EQ(1u, dump["members_data"].size());
  const telio_tool::Json& m = dump["members_data"][0];
  EXPECT_EQ("M4", m["name"]);
  ASSERT_EQ(3u, m["beams"].size());
  EXPECT_EQ("B9", m["beams"][2]["name"]);
  const telio_tool::Json& middle = m["beams"][2]["points"][1];
  EXPECT_EQ(3.0, middle["distance"]);
  const telio_tool::SampleJob job({30, 50, 3, 2, false, 1, 0});
  EXPECT_EQ(job.IPValue(2, 9, 1, 4), middle["forces"][2]["values"][4].get<double>());
  EXPECT_EQ(4u, m["points"].size());
  EXPECT_EQ(0, m["validation"]["code"]);
  EXPECT_EQ(4u, m["restraints"]["xy"].size());
  EXPECT_EQ(4u, m["buckling_points"].size());
  EXPECT_EQ(2, RunTelio({"dump", Out("Hall.MDP"), "--member", "10"}).rc);

  const auto check = RunTelio({"check", Out("Hall.MDP")});
  EXPECT_EQ(0, check.rc) << check.out;
  EXPECT_NE(std::string::npos, check.out.find("0 findings"));
}

TEST_F(DesignTool, OwnJobImportsUnlinkedAndLinkMakesMembersOfThePhysicalBeams) {
  const auto own = RunTelio({"design", "import", dir_->path() + "/Hall_own.MDL", "-o", Out("Own.MDP"), "--json"});
  ASSERT_EQ(0, own.rc) << own.err;
  EXPECT_FALSE(own.json()["linked"]);
  EXPECT_EQ(9, own.json()["members"]);
  EXPECT_EQ(0, RunTelio({"check", Out("Own.MDP")}).rc);

  const auto linked = RunTelio({"design", "link", Job(), "-o", Out("Link.MDP"), "--json"});
  ASSERT_EQ(0, linked.rc) << linked.err;
  // Physical beams p: beams 10r + 2s + 1 and + 2 up to beam 29.
  EXPECT_EQ(12, linked.json()["members"]);
  EXPECT_EQ(0, linked.json()["invalid_members"]);
  EXPECT_EQ(linked.json()["checksum"], RunTelio({"info", Out("Link.MDP"), "--json"}).json()["checksum"]);

  EXPECT_EQ(2, RunTelio({"design", "import", Job() + "/Hall.RES", "-o", Out("X.MDP")}).rc);
  const auto missing = RunTelio({"design", "link", Out("None.AJF"), "-o", Out("X.MDP")});
  EXPECT_EQ(1, missing.rc);
  EXPECT_NE(std::string::npos, missing.err.find("cannot be linked"));
  EXPECT_FALSE(fs::exists(Out("X.MDP")));
}

TEST_F(DesignTool, CheckReportsEveryMemberThatFailsOneLineEach) {
  // A project of a valid member, and of members with a beam the topology
  // lacks (6 to 12.5 on the first row's line).
  MDD_OBJECTS::FileMDP mdp;
  ASSERT_EQ(1, mdp.NewFileLinked(Job().c_str()));
  MDD_OBJECTS::CMDDMembersArray& p = *mdp.GetMembersArray();
  for (double end : {6.0, 12.5, 12.5}) {
    GE_::Safe::PtrStrong<MDD_OBJECTS::CMDDMember> m(new MDD_OBJECTS::CMDDMember);
    GE_::Safe::PtrStrong<MDD_OBJECTS::CMDDBeam> b(new MDD_OBJECTS::CMDDBeam);
    b->SetBeam(GEOMETRY_OBJECTS::CGPoint(0, 0, 0), GEOMETRY_OBJECTS::CGPoint(end, 0, 0), CString(), 0, 0);
    m->AddInternalBeam(GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLine>(b));
    p.AddMember(m);
  }
  ASSERT_EQ(0u, mdp.Export(Out("Bad.MDP").c_str()));
  const auto check = RunTelio({"check", Out("Bad.MDP")});
  EXPECT_EQ(1, check.rc);
  EXPECT_NE(std::string::npos, check.out.find("MDP: invalid_member: member m2 (2): -98: "));
  EXPECT_NE(std::string::npos, check.out.find("member m3 (3)"));
  EXPECT_EQ(std::string::npos, check.out.find("member m1 "));
  EXPECT_NE(std::string::npos, check.out.find("2 findings"));

  // A project file cut short is a bad file.
  std::vector<char> bytes(fs::file_size(Out("Bad.MDP")));
  std::FILE* f = std::fopen(Out("Bad.MDP").c_str(), "rb");
  ASSERT_EQ(bytes.size(), std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  f = std::fopen(Out("Cut.MDP").c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size() / 2, f);
  std::fclose(f);
  const auto cut = RunTelio({"check", Out("Cut.MDP"), "--json"});
  EXPECT_EQ(1, cut.rc);
  EXPECT_EQ("read_error", cut.json()["findings"][0]["code"]);
  EXPECT_EQ(38, cut.json()["findings"][0]["error"]);
  EXPECT_EQ(1, RunTelio({"info", Out("Cut.MDP")}).rc);
}

TEST_F(DesignTool, DemoWalksTheWholeRoad) {
  const auto r = RunTelio({"demo", "--nodes", "40", "--beams", "60", "--cases", "2", "--members", "12", "--json"});
  ASSERT_EQ(0, r.rc) << r.err;
  const telio_tool::Json out = r.json();
  EXPECT_EQ(0, out["findings"]);
  EXPECT_EQ(12, out["design"]["members"]);
  EXPECT_EQ(out["design"]["checksum"], out["design"]["checksum_loaded"]);
  // A row of 10 nodes holds 4 members: 20 nodes hold the first 8 (member 9
  // would start at beam 21).
  EXPECT_EQ(8, RunTelio({"demo", "--nodes", "20", "--beams", "30", "--members", "12", "--json"}).json()["design"]["members"]);
}
