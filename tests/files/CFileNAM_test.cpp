// Load-case name files: NAM (read and written) and DYN (read, with its
// counts from the TOP, DCM and DEN files beside it).
#include "files/CFileNAM.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "files/CFileDYN.h"
#include "files/CFileBase.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/ByteWriter.h"
#include "support/CaseFilesFixture.h"
#include "support/TOPFixture.h"
#include "support/TempDir.h"

using telio_test::ByteWriter;
using telio_test::NameFile;

namespace {

TEST(CFileNAM, ReadsRecordsTrimmedAndConvertedFromOem) {
  telio_test::TempDir dir;
  const std::string path = dir.File("a.NAM");
  ByteWriter w = NameFile({"  DEAD  ", std::string(32, 'X'), "Gr\x81n"});  // 0x81: u-umlaut in OEM 437
  w.u8('Q');  // a partial record
  w.WriteTo(path);
  CFileNAM nam;
  ASSERT_EQ(nam.Import(path.c_str()), 0u);
  ASSERT_EQ(nam.GetCountLdsNames(), 3);
  EXPECT_STREQ(nam.LdsNames(0).GetString(), "DEAD");
  EXPECT_EQ(nam.LdsNames(1).GetLength(), 31);
  EXPECT_STREQ(nam.LdsNames(2).GetString(), "Gr\xFCn");  // 0xFC in ANSI 1252
  EXPECT_TRUE(nam.LdsNames(3).IsEmpty());
  EXPECT_TRUE(nam.LdsNames(-1).IsEmpty());

  EXPECT_EQ(nam.GetLdsNameIndex("dead", -5), 0);
  EXPECT_EQ(nam.GetLdsNameIndex("DEAD", 1), -1);
  EXPECT_EQ(nam.GetLdsNameIndex("DEAD", 9), -1);
}

TEST(CFileNAM, ExportMatchesTheLayoutAndReadsBack) {
  telio_test::TempDir dir;
  CFileNAM nam;
  EXPECT_EQ(nam.AddLdsName("Wind"), 0);
  EXPECT_EQ(nam.AddLdsName(std::string(40, 'L').c_str()), 1);
  EXPECT_EQ(nam.AddLdsName("Schnee \xE4"), 2);  // a-umlaut: 0xE4 ANSI, 0x84 OEM
  nam.SetLdsName(0, "Wind X");
  nam.SetLdsName(3, "ignored");
  const std::string path = dir.File("o.NAM");
  ASSERT_EQ(nam.Export(path.c_str()), 0u);
  ByteWriter want = NameFile({"Wind X", std::string(31, 'L'), "Schnee \x84"});
  EXPECT_EQ(telio_test::ReadFileBytes(path), want.data());

  CFileNAM back;
  ASSERT_EQ(back.Import(path.c_str()), 0u);
  ASSERT_EQ(back.GetCountLdsNames(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(back.LdsNames(i), i == 1 ? CString(std::string(31, 'L').c_str()) : nam.LdsNames(i));
  }
  EXPECT_EQ(nam.Export(nullptr), 1u);
}

// A DYN job: the TOP header's dynamic count, the DCM and DEN counts.
void WriteSideFiles(const telio_test::TempDir& dir, uint16_t dynamicCases, int32_t dcm, int32_t den) {
  telio_test::TopModelLayout top = telio_test::SampleTopModel();
  top.dynamicCases = dynamicCases;
  telio_test::BuildTop(top).WriteTo(dir.File("j.TOP"));
  telio_test::CountFile(dcm, 8).WriteTo(dir.File("j.DCM"));
  telio_test::CountFile(den, 8).WriteTo(dir.File("j.DEN"));
}

std::vector<std::string> Numbered(int n) {
  std::vector<std::string> v;
  for (int i = 0; i < n; ++i) v.push_back(" r" + std::to_string(i));
  return v;
}

TEST(CFileDYN, TakesTheGroupsAtTheirRecords) {
  telio_test::TempDir dir;
  WriteSideFiles(dir, 1, 1, 2);  // L + K = 2, E = 2
  NameFile(Numbered(8)).WriteTo(dir.File("j.DYN"));
  CFileDYN dyn;
  ASSERT_EQ(dyn.Import(dir.File("j.DYN").c_str()), 0u);
  EXPECT_EQ(dyn.GetNumOfDynamicLoadCases(), 1);
  EXPECT_EQ(dyn.GetNumOfDynamicCombinations(), 1);
  EXPECT_EQ(dyn.GetNumOfDynamicEnvelopes(), 2);
  ASSERT_EQ(dyn.GetCountLdsNames(), 4);
  const char* want[] = {" r0", " r1", " r4", " r6"};  // blanks kept
  for (int i = 0; i < 4; ++i) EXPECT_STREQ(dyn.LdsNames(i).GetString(), want[i]);

  // Short files give fewer names, never an error.
  for (int records : {7, 5, 2, 1, 0}) {
    NameFile(Numbered(records)).WriteTo(dir.File("j.DYN"));
    ASSERT_EQ(dyn.Import(dir.File("j.DYN").c_str()), 0u) << records;
    EXPECT_EQ(dyn.GetCountLdsNames(), records >= 7 ? 4 : records >= 5 ? 3 : records >= 2 ? 2 : records);
  }
}

TEST(CFileDYN, CountsFromSideFilesOnly) {
  telio_test::TempDir dir;
  NameFile(Numbered(4)).WriteTo(dir.File("j.DYN"));
  CFileDYN dyn;
  ASSERT_EQ(dyn.Import(dir.File("j.DYN").c_str()), 0u);  // no side files: not read
  EXPECT_EQ(dyn.GetCountLdsNames(), 0);
  EXPECT_STREQ(dyn.GetFilePath().GetString(), dir.File("j.DYN").c_str());

  // Lying counts: negative ones take nothing, huge ones stop at the end.
  WriteSideFiles(dir, 0, -5, 0x7FFFFFFF);
  ASSERT_EQ(dyn.Import(dir.File("j.DYN").c_str()), 0u);
  EXPECT_EQ(dyn.GetNumOfDynamicCombinations(), -5);
  ASSERT_EQ(dyn.GetCountLdsNames(), 1);
  EXPECT_STREQ(dyn.LdsNames(0).GetString(), " r2");
  // Counts of mixed sign that add up to 0 still read the envelopes.
  WriteSideFiles(dir, 0, -2, 2);
  ASSERT_EQ(dyn.Import(dir.File("j.DYN").c_str()), 0u);
  ASSERT_EQ(dyn.GetCountLdsNames(), 1);
  EXPECT_STREQ(dyn.LdsNames(0).GetString(), " r2");
  // A TOP file that ends early still gives its header's count.
  WriteSideFiles(dir, 1, 0, 0);
  std::filesystem::resize_file(dir.File("j.TOP"), 200);
  ASSERT_EQ(dyn.Import(dir.File("j.DYN").c_str()), 0u);
  EXPECT_EQ(dyn.GetNumOfDynamicLoadCases(), 1);
  EXPECT_EQ(dyn.GetCountLdsNames(), 1);

  EXPECT_EQ(dyn.Import(dir.File("none.DYN").c_str()), telio::kErrorFileNotFound);
  EXPECT_EQ(dyn.Export(dir.File("x.DYN").c_str()), 0u);
  EXPECT_EQ(dyn.NewFile(dir.File("x.DYN").c_str()), 0);
}

}  // namespace
