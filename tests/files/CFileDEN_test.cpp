// The count files DEN and DCM.
#include "files/CFileCount.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/LastError.h"
#include "support/CaseFilesFixture.h"
#include "support/TempDir.h"

namespace {

TEST(CFileDENDCM, ReadTheLeadingCountAndAcceptShortFiles) {
  telio_test::TempDir dir;
  telio_test::CountFile(-7, 100).WriteTo(dir.File("a.DEN"));
  telio_test::CountFile(12).WriteTo(dir.File("a.DCM"));
  CFileDEN den;
  CFileDCM dcm;
  ASSERT_EQ(den.Import(dir.File("a.DEN").c_str()), 0u);
  ASSERT_EQ(dcm.Import(dir.File("a.DCM").c_str()), 0u);
  EXPECT_EQ(den.GetNumberOfDynamicEnvelopes(), -7);
  EXPECT_EQ(dcm.GetNumberOfDynamicCombinations(), 12);

  CFileDCM copy(dcm);
  EXPECT_EQ(copy.GetNumberOfDynamicCombinations(), 12);
  EXPECT_STREQ(copy.GetFilePath().GetString(), dir.File("a.DCM").c_str());
  EXPECT_STREQ(copy.GetFileDefExt().GetString(), "DCM");

  telio_test::CountFile(0x01020304).WriteTo(dir.File("a.DEN"), 3);
  ASSERT_EQ(den.Import(dir.File("a.DEN").c_str()), 0u);
  EXPECT_EQ(den.GetNumberOfDynamicEnvelopes(), 0);

  EXPECT_EQ(dcm.Import(dir.File("a.DEN").c_str()), telio::kErrorInvalidName);
  EXPECT_EQ(dcm.GetNumberOfDynamicCombinations(), 0);
  EXPECT_TRUE(dcm.GetFilePath().IsEmpty());

  EXPECT_EQ(den.Export(dir.File("new.DEN").c_str()), 0u);
  EXPECT_EQ(den.NewFile(dir.File("new.DEN").c_str()), 0);
  struct stat st;
  EXPECT_NE(stat(dir.File("new.DEN").c_str(), &st), 0);
}

}  // namespace
