// Writes the seed corpus of the member-design fuzz target (fuzz/corpus/mdd)
// from the layout tables when TELIO_WRITE_SEEDS is set; skipped otherwise.
// Each seed is the fuzz target's input: the files of one job set as
// length-prefixed parts, in the target's order.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/MDDFixture.h"
#include "support/TempDir.h"

namespace {

using telio_test::ByteWriter;
using telio_test::MddJobFiles;

const char* const kParts[] = {"MDL", "MLC", "CNS", "LTB", "DB0", "TOP", "TGD", "JOB", "CMI", "NAM", "RES"};

void WriteSeed(const std::string& name, const std::string& folder, size_t cutMdl = SIZE_MAX) {
  ByteWriter seed;
  for (const char* ext : kParts) {
    const std::string path = folder + "/A." + ext;
    std::vector<uint8_t> bytes;
    if (std::filesystem::exists(path)) bytes = telio_test::ReadFileBytes(path);
    if (std::string(ext) == "MDL" && bytes.size() > cutMdl) bytes.resize(cutMdl);
    seed.u32(static_cast<uint32_t>(bytes.size())).bytes(bytes.data(), bytes.size());
  }
  seed.WriteTo(std::string(TELIO_SOURCE_DIR) + "/fuzz/corpus/mdd/" + name);
}

TEST(MDDSeeds, WriteCorpus) {
  if (!std::getenv("TELIO_WRITE_SEEDS")) GTEST_SKIP() << "set TELIO_WRITE_SEEDS to write fuzz/corpus/mdd";
  std::filesystem::create_directories(std::string(TELIO_SOURCE_DIR) + "/fuzz/corpus/mdd");
  // Small jobs keep the fuzz target fast: one member (two for the cut
  // one), capacity 2, one purlin record.
  auto unlinked = [](void (*change)(MddJobFiles&), const std::string& name, int members = 1,
                     size_t cut = SIZE_MAX) {
    telio_test::TempDir dir;
    MddJobFiles job = telio_test::SmallUnlinkedJob();
    job.mdd.capacity = 2;
    job.mdd.members.resize(static_cast<size_t>(members));
    job.mdd.positions.resize(members == 1 ? 1 : 3);
    job.mlc.b = static_cast<int16_t>(members);
    job.cns.resize(static_cast<size_t>(members));
    job.ltb.resize(static_cast<size_t>(members));
    change(job);
    telio_test::WriteMddJob(job, dir.File("A.MDL"));
    telio_test::TgdRecord purlin;
    purlin.type = 1;
    purlin.count = 2;
    purlin.shortValue = 6.0f;
    telio_test::BuildTgd({purlin}).WriteTo(dir.File("A.TGD"));
    WriteSeed(name, dir.path(), cut);
  };
  unlinked([](MddJobFiles&) {}, "one_member");
  unlinked([](MddJobFiles& j) {
    j.mdd.type = 11;
    j.mdd.declaredSize = 440;
    j.mdd.version = 2;
  }, "short_records_long_block");
  unlinked([](MddJobFiles& j) {
    j.mdd.kind = 4;
    j.mdd.type = 5;
    j.mlc.a = 21;
  }, "any_type_many_cases");
  unlinked([](MddJobFiles& j) { j.db0.push_back({8, 0, 2, 2, 1.0f}); }, "db0_bad_index");
  unlinked([](MddJobFiles&) {}, "two_members_cut_positions", 2, 4 + 432 + 15 + 40 + 2 * 137 + 5);

  telio_test::TempDir dir;
  telio_test::WriteLinkedAnalysis(dir.path(), "A");
  MddJobFiles linked = telio_test::SmallLinkedJob("A", "");
  linked.mdd.capacity = 2;
  telio_test::WriteMddJob(linked, dir.File("A.MDL"));
  WriteSeed("linked", dir.path());
}

}  // namespace
