// The tool's commands run in-process on a sample job, as a user runs them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "DocumentWriter.h"
#include "FileCommands.h"
#include "Progress.h"
#include "Suite.h"
#include "Tool.h"
#include "ToolRunner.h"
#include "platform/CPathObj.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using telio_tool::Json;

using Result = telio_test::ToolResult;

Result Tool(std::vector<std::string> args) { return telio_test::RunTelio(std::move(args)); }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// A job of 30 nodes (supports at 1, 11, 21), 50 beams, 3 static cases and
// 2 combinations, written by `telio sample` with seed 1. Every test runs
// with an empty settings folder and stderr taken for a pipe.
class ToolTest : public telio_test::ToolSettings {
 protected:
  static void SetUpTestSuite() {
    dir_ = new telio_test::TempDir;
    const Result r = Tool({"sample", dir_->path(), "--name", "Job", "--nodes", "30", "--beams", "50", "--cases",
                           "3", "--combinations", "2"});
    ASSERT_EQ(0, r.rc) << r.err;
  }
  static void TearDownTestSuite() { delete dir_; }
  void TearDown() override {
    ToolSettings::TearDown();
    telio_tool::SetLargeDumpBytes(0);
  }
  static std::string Project() { return dir_->path() + "/Job.AJF"; }
  static std::string File(const char* ext) { return Project() + "/Job." + ext; }
  // A copy of the job to damage.
  std::string Copy() {
    const std::string to = scratch_.path() + "/Job.AJF";
    fs::copy(Project(), to);
    return to;
  }

  static telio_test::TempDir* dir_;
  telio_test::TempDir scratch_;
};

telio_test::TempDir* ToolTest::dir_ = nullptr;

TEST_F(ToolTest, ProjectFolderIsSummarisedFileByFile) {
  WriteText(Project() + "/notes.txt", "not a job file");
  const Result info = Tool({"info", Project(), "--json"});
  ASSERT_EQ(0, info.rc) << info.err;
  const Json j = info.json();
  EXPECT_EQ("AJF", j["kind"]);
  EXPECT_EQ("Job", j["name"]);
  ASSERT_EQ(13, j["file_count"]);  // 12 job files and the notes
  long long bytes = 0;
  for (const auto& e : fs::directory_iterator(Project())) bytes += static_cast<long long>(e.file_size());
  EXPECT_EQ(bytes, j["bytes"]);
  for (const Json& f : j["files"]) {
    if (f["file"] == "notes.txt") {
      EXPECT_TRUE(f["kind"].is_null());
    } else if (f["file"] == "Job.RES") {
      EXPECT_EQ(Json::parse(R"({"nodes":30,"beams":50,"supports":3,"static_load_cases":3,"combinations":2})"),
                f["counts"]);
    } else if (f["file"] == "Job.CS") {
      EXPECT_EQ(1, f["counts"]["records"]);
    }
  }
  fs::remove(Project() + "/notes.txt");

  // Any letter case and a trailing separator name the same folder; dump
  // gives each file's whole summary.
  const Result dump = Tool({"dump", dir_->path() + "/job.ajf/", "--json"});
  ASSERT_EQ(0, dump.rc) << dump.err;
  const Json top = dump.json()["files"][11];
  EXPECT_EQ("Job.TOP", top["file"]);
  EXPECT_EQ(2, top["info"]["counts"]["dynamic_load_cases"]);

  const Result missing = Tool({"info", dir_->path() + "/Nothing.AJF"});
  EXPECT_EQ(1, missing.rc);
  EXPECT_NE(std::string::npos, missing.err.find("error 3:"));
}

TEST_F(ToolTest, ResultsWithoutTheirSideFilesNameTheSideFileAndItsCode) {
  const std::string job = Copy();
  fs::remove(job + "/Job.TOP");
  const Result r = Tool({"info", job + "/Job.RES"});
  EXPECT_EQ(1, r.rc);
  EXPECT_NE(std::string::npos, r.err.find("side file " + job + "/Job.TOP: error 2:")) << r.err;
  EXPECT_EQ(std::string::npos, r.err.find("4294967295"));

  // A short combinations file: its own code, 38.
  fs::copy(File("TOP"), job + "/Job.TOP");
  fs::resize_file(job + "/Job.CMI", 2);
  EXPECT_NE(std::string::npos, Tool({"dump", job + "/Job.RES"}).err.find("Job.CMI: error 38:"));
  // The folder's summary lists the file with the side file's code.
  const Result folder = Tool({"info", job, "--json"});
  EXPECT_EQ(1, folder.rc);
  const Json listed = folder.json();
  for (const Json& f : listed["files"]) {
    if (f["file"] == "Job.RES") {
      EXPECT_EQ(38, f["error"]);
      EXPECT_EQ(job + "/Job.CMI", f["error_file"]);
    }
  }
}

TEST_F(ToolTest, DumpNarrowsToOneBeamOrOneNode) {
  // Load result 3 (R = 4), seed 1: forces (v+1) * (5 + b/16) at the first
  // end, 2 (v+1) more at the second; displacements (v+1) * (5 + n/16).
  const Json beam = Tool({"dump", File("RES"), "--lc", "3", "--beam", "7", "--json"}).json();
  ASSERT_EQ(1u, beam["load_results"].size());
  const Json& r3 = beam["load_results"][0];
  EXPECT_FALSE(r3.contains("displacements"));
  EXPECT_EQ(Json::parse(R"([{"beam":7,"first_end":[5.4375,10.875,16.3125,21.75,27.1875,32.625],
                            "second_end":[7.4375,14.875,22.3125,29.75,37.1875,44.625]}])"),
            r3["forces"]);

  const Json node = Tool({"dump", File("RES"), "--lc", "3", "--node", "11", "--json"}).json()["load_results"][0];
  EXPECT_FALSE(node.contains("forces"));
  EXPECT_EQ(Json::parse(R"([{"node":11,"values":[5.6875,11.375,17.0625,22.75,28.4375,34.125]}])"),
            node["displacements"]);
  EXPECT_EQ(-5.6875, node["reactions"][0]["values"][0]);
  const Json both = Tool({"dump", File("RES"), "--node", "12", "--beam", "1", "--json"}).json()["load_results"];
  ASSERT_EQ(5u, both.size());
  EXPECT_EQ(1u, both[4]["displacements"].size());
  EXPECT_TRUE(both[4]["reactions"].empty());  // node 12 has no support
  EXPECT_EQ(1u, both[4]["forces"].size());

  // OUC, load result 2, beam 5: 3 points, value 1 from 4.3125 to 6.3125.
  const Json blocks = Tool({"dump", File("OUC"), "--lc", "2", "--beam", "5", "--json"}).json()["load_cases"];
  ASSERT_EQ(1u, blocks.size());
  ASSERT_EQ(1u, blocks[0]["blocks"].size());
  EXPECT_EQ(Json::parse("[4.3125, 5.3125, 6.3125]"), blocks[0]["blocks"][0]["value_1"]);

  struct Refused {
    std::vector<std::string> args;
    const char* says;
  };
  const Refused refused[] = {
      {{"dump", File("RES"), "--beam", "51"}, "no beam 51 (the file holds 1 to 50)"},
      {{"dump", File("RES"), "--lc", "5"}, "no load result 5 (the file holds 0 to 4)"},
      {{"dump", File("OUC"), "--node", "3"}, "no node results"},
      {{"dump", File("RES"), "--node", "0"}, ""},
  };
  for (const Refused& c : refused) {
    const Result r = Tool(c.args);
    EXPECT_EQ(2, r.rc) << c.says;
    EXPECT_EQ("", r.out);
    EXPECT_NE(std::string::npos, r.err.find(c.says)) << r.err;
  }
}

// Writes a JSON value through the writer, piece by piece.
void Stream(telio_tool::DocumentWriter& w, const Json& v, const std::string* key) {
  if (v.is_object() || v.is_array()) {
    if (key) {
      v.is_array() ? w.OpenArray(*key) : w.OpenObject(*key);
    } else {
      v.is_array() ? w.OpenArray() : w.OpenObject();
    }
    for (auto it = v.begin(); it != v.end(); ++it) {
      const std::string k = v.is_object() ? it.key() : std::string();
      Stream(w, it.value(), v.is_object() ? &k : nullptr);
    }
    w.Close();
  } else if (key) {
    w.Field(*key, v);
  } else {
    w.Element(v);
  }
}

TEST_F(ToolTest, StreamedDocumentsPrintAsTheWholeDocumentWould) {
  const Json doc = Json::parse(R"({"a":1,"empty_list":[],"empty_object":{},"nested":{"inner":{"x":[]},"k":"v"},
      "rows":[{"n":1,"v":[1.5,2]},{},[[],[3]]],"names":["x","y"],"tail":{"deep":[{"z":[{}]}]}})");
  for (bool json : {true, false}) {
    std::ostringstream streamed, whole;
    telio_tool::DocumentWriter w(streamed, json);
    for (auto it = doc.begin(); it != doc.end(); ++it) Stream(w, it.value(), &it.key());
    w.Finish();
    if (json) {
      whole << doc.dump(2) << '\n';
    } else {
      telio_tool::PrintText(doc, whole);
    }
    EXPECT_EQ(whole.str(), streamed.str()) << (json ? "json" : "text");
  }
  // A results dump is the document its own build gives.
  const Result dump = Tool({"dump", File("RES"), "--lc", "1", "--node", "12", "--json"});
  EXPECT_EQ(dump.json().dump(2) + "\n", dump.out);
}

TEST_F(ToolTest, LargeDumpsAndLongWorkSpeakOnlyToATerminal) {
  // 5 load results of (30 + 3 + 2 x 50) x 52 = 6,916 bytes.
  telio_tool::SetLargeDumpBytes(10000);
  telio_tool::SetStderrIsTerminal(1);
  const Result big = Tool({"dump", File("RES")});
  EXPECT_EQ(0, big.rc);
  EXPECT_NE(std::string::npos, big.err.find("dumping 35 kB of records")) << big.err;
  EXPECT_EQ("", Tool({"dump", File("RES"), "--lc", "0"}).err);

  const Result check = Tool({"check", Project()});
  EXPECT_EQ(0, check.rc);
  EXPECT_NE(std::string::npos, check.err.find("\rtelio: check: reading OUC")) << check.err;
  // The line is blanked before the result is printed.
  EXPECT_EQ('\r', check.err.back());
  const Result sample = Tool({"sample", scratch_.path(), "--nodes", "12", "--beams", "20"});
  EXPECT_NE(std::string::npos, sample.err.find("writing Sample.OUC (7 of 7)")) << sample.err;

  telio_tool::SetStderrIsTerminal(0);
  EXPECT_EQ("", Tool({"dump", File("RES")}).err);
  EXPECT_EQ("", Tool({"check", Project()}).err);
  EXPECT_EQ("", Tool({"sample", scratch_.path(), "--nodes", "12", "--beams", "20"}).err);
}

TEST_F(ToolTest, SuiteFolderIsFoundTheSameWayEverywhere) {
  // The tests run from the build tree: the source tree's data/.
  const Json grades = Tool({"grades", "--json"}).json();
  EXPECT_EQ("source_tree", grades["suite_source"]);
  EXPECT_EQ(true, grades["table_loaded"]);
  EXPECT_EQ("source_tree", Tool({"sections", "--family", "12", "--json"}).json()["suite_source"]);
  EXPECT_EQ(1, Tool({"bolts", "--suite", scratch_.path() + "/none"}).rc);

  telio_test::TempDir t;
  WriteText(t.File("prefix/bin/telio"), "");
  fs::create_directories(t.File("prefix/share/telio"));
  fs::create_directories(t.File("build/tools"));
  telio_tool::SuiteSearch where;
  where.installedRelative = "../share/telio";
  where.buildTree = t.File("build");
  where.sourceData = t.File("src/data");
  fs::create_directories(where.sourceData);

  where.executable = t.File("prefix/bin/telio");
  EXPECT_EQ("installed", telio_tool::FindSuite(where).source);
  EXPECT_EQ(fs::path(t.File("prefix/share/telio")), fs::path(telio_tool::FindSuite(where).folder));
  where.executable = t.File("build/tools/telio");
  EXPECT_EQ("source_tree", telio_tool::FindSuite(where).source);
  where.executable = t.File("elsewhere/telio");
  EXPECT_EQ("none", telio_tool::FindSuite(where).source);

  // The settings file's suite comes before those, with its tables in Bin/Data.
  fs::create_directories(t.File("suite/Bin/Data"));
  WriteText(settings_.File("TELMARO.INI"), "[Dirs]\nTelmaro=" + t.File("suite") + "\n");
  where.executable = t.File("prefix/bin/telio");
  const telio_tool::Suite s = telio_tool::FindSuite(where);
  EXPECT_EQ("settings", s.source);
  EXPECT_EQ(fs::path(t.File("suite/Bin/Data")), fs::path(s.tables));
  where.option = t.File("src/data");
  EXPECT_EQ("option", telio_tool::FindSuite(where).source);
  EXPECT_EQ("settings", Tool({"concrete", "--json"}).json()["suite_source"]);
}

TEST_F(ToolTest, VersionHelpPagesAndTheReadmeAgree) {
  const Result version = Tool({"--version"});
  EXPECT_EQ(0, version.rc);
  EXPECT_EQ(std::string("telio ") + telio_tool::ToolVersion() + "\n", version.out);

  const Result help = Tool({"--help"});
  EXPECT_EQ(0, help.rc);
  telio_tool::ToolCli cli;
  for (const auto& c : cli.commands) {
    const Result page = Tool({"help", c->Name()});
    EXPECT_EQ(0, page.rc) << c->Name();
    EXPECT_EQ(0u, page.out.find(std::string("NAME\n    telio ") + c->Name() + " - ")) << page.out;
    EXPECT_NE(std::string::npos, page.out.find("\nOPTIONS\n")) << c->Name();
    EXPECT_NE(std::string::npos, help.out.find("\n  " + std::string(c->Name()))) << c->Name();
  }
  EXPECT_EQ(Tool({"help", "dump"}).out, Tool({"dump", "--help"}).out);
  EXPECT_NE(std::string::npos, Tool({"help", "dump"}).out.find("--node N     Only this node"));
  EXPECT_EQ(2, Tool({"help", "nosuch"}).rc);
  EXPECT_EQ(2, Tool({"nosuch"}).rc);
  EXPECT_EQ(0u, Tool({"help", "--man"}).out.find(".TH TELIO 1"));

  // The README shows the command list of telio --help as it stands.
  const size_t from = help.out.find("Commands:\n");
  const size_t to = help.out.find("\n\n", from);
  ASSERT_NE(std::string::npos, to);
  std::string block;
  std::istringstream lines(help.out.substr(from, to - from));
  for (std::string line; std::getline(lines, line);) block += "    " + line + "\n";
  EXPECT_NE(std::string::npos, ReadText(TELIO_SOURCE_DIR "/README.md").find(block))
      << "README.md must show, indented by four spaces:\n" << block;
}

TEST_F(ToolTest, BashCompletionOffersCommandsOptionsAndPaths) {
  if (std::system("bash -c true >/dev/null 2>&1") != 0) GTEST_SKIP() << "no bash";
  const std::string script = scratch_.File("telio.bash");
  WriteText(script, Tool({"completion"}).out);
  fs::create_directories(scratch_.File("work/Bridge.AJF"));
  WriteText(scratch_.File("work/Bridge.RES"), "");
  struct Case {
    const char* line;  // the words typed, the last one being completed
    const char* offers;
  };
  const Case cases[] = {
      {"telio s", "sample sections"},
      {"telio dump Bridge.RES --", "--beam --help --json --lc --member --node --suite"},
      {"telio --suite ", "Bridge.AJF"},  // folders only
      {"telio sample ", "Bridge.AJF"},
      {"telio info Bri", "Bridge.AJF Bridge.RES"},
      {"telio --suite Bridge.AJF che", "check"},
      {"telio dump --lc ", ""},
      {"telio help co", "completion concrete"},
  };
  for (const Case& c : cases) {
    const std::string cmd = "cd '" + scratch_.File("work") + "' && bash -c 'source \"" + script +
                            "\"; COMP_WORDS=(" + c.line + (std::string(c.line).back() == ' ' ? "\"\"" : "") +
                            "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _telio; printf \"%s\\n\" \"${COMPREPLY[@]}\" "
                            "| sort | paste -sd\" \"'";
    std::FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(nullptr, p);
    std::string got;
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) got += buf;
    pclose(p);
    while (!got.empty() && got.back() == '\n') got.pop_back();
    EXPECT_EQ(c.offers, got) << c.line;
  }
}

}  // namespace
