// The count files DEN and DCM.
#include "files/CFileCount.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/CaseFilesFixture.h"
#include "support/TempDir.h"

namespace {

TEST(CFileDENDCM, ReadTheLeadingCountAndNeverWrite) {
  telio_test::TempDir dir;
  telio_test::CountFile(-7, 100).WriteTo(dir.File("a.DEN"));
  telio_test::CountFile(12).WriteTo(dir.File("a.DCM"));
  CFileDEN den;
  CFileDCM dcm;
  ASSERT_EQ(den.Import(dir.File("a.DEN").c_str()), 0u);
  ASSERT_EQ(dcm.Import(dir.File("a.DCM").c_str()), 0u);
  EXPECT_EQ(den.GetNumberOfDynamicEnvelopes(), -7);
  CFileDCM copy(dcm);
  EXPECT_EQ(copy.GetNumberOfDynamicCombinations(), 12);
  EXPECT_STREQ(copy.GetFilePath().GetString(), dir.File("a.DCM").c_str());
  EXPECT_STREQ(copy.GetFileDefExt().GetString(), "DCM");
  EXPECT_EQ(den.Export(dir.File("new.DEN").c_str()), 0u);
  EXPECT_EQ(den.NewFile(dir.File("new.DEN").c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.File("new.DEN")));
}

}  // namespace
