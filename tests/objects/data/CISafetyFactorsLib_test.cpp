#include "objects/data/CISafetyFactorsLib.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "support/ByteWriter.h"
#include "support/TempDir.h"

using namespace SAFETY_FACTORS_LIB;
using telio_test::TempDir;

namespace {

std::string Write(const TempDir& dir, const char* name, const std::string& text) {
  std::string path = dir.File(name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Eleven sets, names keyed with the suffix "_EN": set 1's name has 20
// characters; set 2 lacks most keys and has one the format does not know;
// set 3's gm0 is not a number.
const char kElevenSets[] =
    "[TYPES]\r\n"
    "Ntypes=11\r\n"
    "type1_EN=ABCDEFGHIJKLMNOPQRST\r\n"
    "type2_EN=EN 1993 UK\r\n"
    "type2=without suffix\r\n"
    "type11_EN=Eleventh\r\n"
    "[type1]\r\n"
    "gm0=1.00\r\ngm1=1.05\r\ngm1_buckling=1.05\r\ngm2=1.25\r\ngmb_shear=1.25\r\n"
    "gmb_tension=1.25\r\ngmr=1.25\r\ngmp=1.25\r\ngmw=1.25\r\ngmw_s235=1.20\r\n"
    "gmw_s275=1.25\r\ngmw_s355=1.30\r\ngmw_fillets=1.25\r\ngmw_classI=1.50\r\n"
    "gmw_classII=1.70\r\ngms_ult=1.25\r\ngms_ser=1.10\r\ngms_ultholes=1.40\r\ny_vec=0.85\r\n"
    "[TYPE2]\r\n"
    "GM2=1.1\r\n"
    "gm_unknown=9.99\r\n"
    "[type3]\r\n"
    "gm0=n/a\r\n";

}  // namespace

TEST(CISafetyFactorsLib, ReadsTenOfElevenSetsWithDefaultsForMissingKeys) {
  TempDir dir;
  CISafetyFactorsLib lib;
  ASSERT_EQ(lib.SetLoadPSFCasesValues(Write(dir, "EC3.PSF", kElevenSets).c_str(), "_EN"), 10);
  EXPECT_EQ(lib.GetCountPSF(), 10);
  EXPECT_EQ(lib.GetCodeNameAt(0), CString("ABCDEFGHIJKLMNOPQ"));  // 17 characters kept
  EXPECT_EQ(lib.GetCodeNameAt(1), CString("EN 1993 UK"));
  EXPECT_EQ(lib.GetCodeNameAt(9), CString(""));
  EXPECT_EQ(lib.GetCodeDataAt(9)->Number(), 10);

  // Factors are single-precision values held as doubles.
  const PSF_REC* s1 = lib.GetCodeDataAt(0);
  EXPECT_EQ((std::vector<double>{s1->Value(1), s1->Value(2), s1->Value(12), s1->Value(15), s1->Value(19)}),
            (std::vector<double>{1.0, static_cast<double>(1.05f), static_cast<double>(1.30f),
                                 static_cast<double>(1.70f), static_cast<double>(0.85f)}));
  const PSF_REC* s2 = lib.GetCodeDataAt(1);
  EXPECT_EQ((std::vector<double>{s2->Value(1), s2->Value(4), s2->Value(18), s2->Value(19)}),
            (std::vector<double>{static_cast<double>(1.10f), static_cast<double>(1.1f),
                                 static_cast<double>(1.40f), static_cast<double>(0.80f)}));
  EXPECT_EQ(lib.GetCodeDataAt(2)->Value(1), static_cast<double>(1.10f));
  EXPECT_EQ(lib.GetCodeDataValueAt(0, 2)->Get(), static_cast<double>(1.05f));
  EXPECT_EQ(lib.GetCodeDataValueAt(0, 20), nullptr);
  EXPECT_EQ(lib.GetCodeDataValueAt(10, 1), nullptr);

  // The record's bytes are its little-endian layout.
  telio_test::ByteWriter image;
  image.u16(1).text("ABCDEFGHIJKLMNOPQ", 20);
  for (int k = 1; k <= kPSFFactors; ++k) image.f64(s1->Value(k));
  ASSERT_EQ(image.size(), sizeof(PSF_REC));
  EXPECT_EQ(std::memcmp(image.data().data(), s1, sizeof(PSF_REC)), 0);
}

TEST(CISafetyFactorsLib, FileWithoutTypesGivesOneDefaultSet) {
  TempDir dir;
  CISafetyFactorsLib lib;
  ASSERT_EQ(lib.SetLoadPSFCasesValues(Write(dir, "A.PSF", "[other]\nx=1\n").c_str(), nullptr), 1);
  EXPECT_EQ(lib.GetCodeNameAt(0), CString(""));
  const PSF_REC* s = lib.GetCodeDataAt(0);
  EXPECT_EQ((std::vector<double>{s->Value(1), s->Value(4), s->Value(17), s->Value(18), s->Value(19)}),
            (std::vector<double>{static_cast<double>(1.10f), static_cast<double>(1.25f),
                                 static_cast<double>(1.10f), static_cast<double>(1.40f),
                                 static_cast<double>(0.80f)}));
  EXPECT_EQ(lib.SetLoadPSFCasesValues(dir.File("missing.PSF").c_str(), ""), 0);
  EXPECT_EQ(CISafetyFactorsLib::ReadPSFCases(Write(dir, "N.PSF", "[TYPES]\nNtypes=-2\n").c_str(),
                                             nullptr, 10, ""),
            0);
  PSF_REC sets[11] = {};
  EXPECT_EQ(CISafetyFactorsLib::ReadPSFCases(dir.File("N.PSF").c_str(), sets, 11, ""), 0);
  EXPECT_EQ(CISafetyFactorsLib::ReadPSFCases(dir.File("N.PSF").c_str(), sets, 10, ""), 0);
}

TEST(CISafetyFactorsLib, SavedFactorsReadBackWithTwoDecimals) {
  TempDir dir;
  std::string path = Write(dir, "EC3.PSF", kElevenSets);
  CISafetyFactorsLib lib;
  lib.SetLoadPSFCasesValues(path.c_str(), "_EN");
  lib.GetCodeDataValueAt(1, 1)->Set(1.2349);
  ASSERT_EQ(lib.SavePSFCaseAt(1), 1);
  EXPECT_EQ(lib.SavePSFCaseAt(10), 0);
  EXPECT_EQ(lib.SavePSFCaseAt(-2), 0);
  std::string text = ReadText(path);
  EXPECT_NE(text.find("gm0=1.23"), std::string::npos);
  EXPECT_NE(text.find("type1_EN=ABCDEFGHIJKLMNOPQRST"), std::string::npos);  // names untouched

  CISafetyFactorsLib again;
  again.SetLoadPSFCasesValues(path.c_str(), "_EN");
  EXPECT_EQ(again.GetCodeDataAt(1)->Value(1), static_cast<double>(1.23f));
  EXPECT_EQ(again.GetCodeDataAt(1)->Value(4), static_cast<double>(1.10f));

  // A file written from nothing holds the factors but neither names nor a
  // count of sets: it reads back as one unnamed set.
  std::string fresh = dir.File("NEW.PSF");
  CISafetyFactorsLib copy(again);
  EXPECT_EQ(copy.CheckSum(), again.CheckSum());
  copy.SetLoadPSFCasesValues(fresh.c_str(), "");
  EXPECT_EQ(copy.GetCountPSF(), 0);
  PSF_REC set = *again.GetCodeDataAt(0);
  ASSERT_EQ(CISafetyFactorsLib::WritePSFValues(fresh.c_str(), &set), 1);
  copy.LoadPSFCasesValues();
  EXPECT_EQ(copy.GetCountPSF(), 1);
  EXPECT_EQ(copy.GetCodeDataAt(0)->Value(19), static_cast<double>(0.85f));
}

TEST(CISafetyFactorsLib, DefaultCodeChecksumAndBadIndexes) {
  TempDir dir;
  CISafetyFactorsLib lib;
  EXPECT_EQ(lib.GetDefaultCodeForRegulation(0, 7), 7);
  lib.SetLoadPSFCasesValues(Write(dir, "3.PSF", "[TYPES]\nNtypes=3\n").c_str(), "");
  EXPECT_EQ(lib.GetDefaultCodeForRegulation(0, 7), 1);
  EXPECT_EQ(lib.GetDefaultCodeForRegulation(1, 2), 2);
  EXPECT_EQ(lib.GetDefaultCodeForRegulation(2, 5), 5);
  ulong32 three = lib.CheckSum();
  lib.SetLoadPSFCasesValues(Write(dir, "4.PSF", "[TYPES]\nNtypes=4\n").c_str(), "");
  EXPECT_EQ(lib.GetDefaultCodeForRegulation(1, 2), 4);
  EXPECT_NE(lib.CheckSum(), three);
  ulong32 four = lib.CheckSum();
  lib.GetCodeDataAt(3)->SetValue(5, 1.5);
  EXPECT_NE(lib.CheckSum(), four);

  EXPECT_THROW(lib.GetCodeNameAt(4), CSafetyFactorsLib_excp*);
  EXPECT_THROW(lib.GetCodeDataAt(-1), CSafetyFactorsLib_excp*);
  EXPECT_FALSE(lib.CopyFrom(nullptr));
}
