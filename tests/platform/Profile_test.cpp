#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/ByteWriter.h"
#include "support/TempDir.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"

namespace {

using telio_test::TempDir;

void WriteText(const std::string& path, const std::string& text) {
  telio_test::WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string ReadText(const std::string& path) {
  std::vector<uint8_t> b = telio_test::ReadFileBytes(path);
  return std::string(b.begin(), b.end());
}

std::string Get(const char* section, const char* key, const char* def, const std::string& file,
                ulong32 size = 256, ulong32* ret = nullptr) {
  std::string buf(size, '\x7f');
  ulong32 n = GetPrivateProfileStringA(section, key, def, &buf[0], size, file.c_str());
  if (ret) *ret = n;
  return buf;
}

const char kSample[] =
    "; settings\r\n"
    "[Dirs]\r\n"
    "  Telmaro =  /opt/telmaro  \r\n"
    "Quoted=\"  a b \"\r\n"
    "Single='x'\r\n"
    "Half=\"open\r\n"
    ";Projects=commented\r\n"
    "Empty=\r\n"
    "\r\n"
    "[grade]\r\n"
    "Standard=EN10025\r\n"
    "Standard=second\r\n"
    "Count=-12abc\r\n"
    "Word=abc\r\n"
    "[Dirs]\r\n"
    "Later=ignored\r\n";

TEST(Profile, ReadsValuesAsWin32Does) {
  TempDir dir;
  std::string ini = dir.File("t.ini");
  WriteText(ini, kSample);

  EXPECT_STREQ(Get("dirs", "TELMARO", "", ini).c_str(), "/opt/telmaro");
  EXPECT_STREQ(Get("Dirs", "Quoted", "", ini).c_str(), "  a b ");
  EXPECT_STREQ(Get("Dirs", "Single", "", ini).c_str(), "x");
  EXPECT_STREQ(Get("Dirs", "Half", "", ini).c_str(), "\"open");
  EXPECT_STREQ(Get("Grade", "Standard", "", ini).c_str(), "EN10025");  // first one counts
  ulong32 n = 99;
  EXPECT_STREQ(Get("Dirs", "Empty", "def", ini, 256, &n).c_str(), "");
  EXPECT_EQ(n, 0u);

  // Missing key, commented key, key of a later duplicate section, missing
  // section, empty key name: the default without its trailing blanks.
  for (const char* key : {"Nope", "Projects", "Later", ""}) {
    telio::SetLastError(0);
    EXPECT_STREQ(Get("Dirs", key, "dflt  ", ini, 256, &n).c_str(), "dflt") << key;
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(telio::GetLastError(), telio::kErrorFileNotFound);
  }
  EXPECT_STREQ(Get("NoSuch", "Telmaro", nullptr, ini, 256, &n).c_str(), "");
  EXPECT_EQ(n, 0u);
  EXPECT_STREQ(Get("Dirs", "Telmaro", "gone", dir.File("missing.ini")).c_str(), "gone");
}

TEST(Profile, CutsValuesAndListsToTheBuffer) {
  TempDir dir;
  std::string ini = dir.File("t.ini");
  WriteText(ini, "[ab]\nk1=12345\nkey2=x\n[cde]\n[]\nz=1\n");

  ulong32 n = 0;
  std::string b = Get("ab", "k1", "", ini, 4, &n);
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(b, std::string("123\0", 4));
  b = Get("ab", "k1", "", ini, 6, &n);  // fits exactly
  EXPECT_EQ(n, 5u);
  EXPECT_EQ(b, std::string("12345\0", 6));
  EXPECT_EQ(Get("ab", "k1", "", ini, 1, &n), std::string(1, '\0'));
  EXPECT_EQ(n, 0u);
  char untouched = 'q';
  EXPECT_EQ(GetPrivateProfileStringA("ab", "k1", "", &untouched, 0, ini.c_str()), 0u);
  EXPECT_EQ(untouched, 'q');

  // Section names (the nameless one is not listed), then key names.
  b = Get(nullptr, nullptr, "", ini, 32, &n);
  EXPECT_EQ(n, 7u);
  EXPECT_EQ(b.substr(0, 8), std::string("ab\0cde\0\0", 8));
  b = Get("AB", nullptr, "", ini, 32, &n);
  EXPECT_EQ(n, 8u);
  EXPECT_EQ(b.substr(0, 9), std::string("k1\0key2\0\0", 9));

  // Cut lists end with two NULs and return size - 2.
  b = Get(nullptr, nullptr, "", ini, 6, &n);
  EXPECT_EQ(n, 4u);
  EXPECT_EQ(b, std::string("ab\0c\0\0", 6));
  b = Get("ab", nullptr, "", ini, 4, &n);
  EXPECT_EQ(n, 2u);
  EXPECT_EQ(b, std::string("k1\0\0", 4));
  b = Get("ab", nullptr, "", ini, 2, &n);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(b, std::string("\0\0", 2));

  // A section without keys lists nothing and gives the default.
  EXPECT_STREQ(Get("cde", nullptr, "dv", ini, 32, &n).c_str(), "dv");
}

TEST(Profile, ReadsIntegers) {
  TempDir dir;
  std::string ini = dir.File("t.ini");
  WriteText(ini, kSample);
  EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("grade", "Count", 7, ini.c_str())), -12);
  EXPECT_EQ(GetPrivateProfileIntA("grade", "Word", 7, ini.c_str()), 0u);
  EXPECT_EQ(GetPrivateProfileIntA("Dirs", "Empty", 7, ini.c_str()), 7u);
  EXPECT_EQ(GetPrivateProfileIntA("Dirs", "Nope", 7, ini.c_str()), 7u);
  WriteText(ini, "[s]\nn=  \"42\"  \nm=+5\n");
  EXPECT_EQ(GetPrivateProfileIntA("S", "N", 0, ini.c_str()), 42u);
  EXPECT_EQ(GetPrivateProfileIntA("S", "m", 0, ini.c_str()), 5u);
}

TEST(Profile, SeesAFileChangedInPlaceBetweenReads) {
  TempDir dir;
  std::string ini = dir.File("t.ini");
  WriteText(ini, "[s]\nk=1\n");
  EXPECT_STREQ(Get("s", "k", "", ini).c_str(), "1");
  std::FILE* f = std::fopen(ini.c_str(), "r+b");  // same file, same size
  ASSERT_NE(f, nullptr);
  std::fseek(f, 6, SEEK_SET);
  std::fputc('2', f);
  std::fclose(f);
  EXPECT_STREQ(Get("s", "k", "", ini).c_str(), "2");
}

TEST(Profile, WritesKeepingEveryOtherLine) {
  TempDir dir;
  std::string ini = dir.File("t.ini");
  WriteText(ini, kSample);
  std::string expected = kSample;

  // Replace: the key keeps its spelling, the line break stays.
  ASSERT_NE(WritePrivateProfileStringA("DIRS", "telmaro", "/srv/t", ini.c_str()), 0);
  expected.replace(expected.find("  Telmaro =  /opt/telmaro  "), 27, "Telmaro=/srv/t");
  EXPECT_EQ(ReadText(ini), expected);

  // A new key goes after the section's last line, before the blank line.
  ASSERT_NE(WritePrivateProfileStringA("Dirs", "Projects", "p", ini.c_str()), 0);
  expected.insert(expected.find("Empty=\r\n") + 8, "Projects=p\r\n");
  EXPECT_EQ(ReadText(ini), expected);

  // Delete a key, then a whole section (the first of that name).
  ASSERT_NE(WritePrivateProfileStringA("grade", "Word", nullptr, ini.c_str()), 0);
  expected.erase(expected.find("Word=abc\r\n"), 10);
  EXPECT_EQ(ReadText(ini), expected);
  ASSERT_NE(WritePrivateProfileStringA("Grade", nullptr, nullptr, ini.c_str()), 0);
  expected.erase(expected.find("[grade]"), expected.find("[Dirs]\r\nLater") - expected.find("[grade]"));
  EXPECT_EQ(ReadText(ini), expected);

  // Deleting what is not there changes nothing.
  ASSERT_NE(WritePrivateProfileStringA("Dirs", "Nope", nullptr, ini.c_str()), 0);
  ASSERT_NE(WritePrivateProfileStringA("Nope", nullptr, nullptr, ini.c_str()), 0);
  EXPECT_EQ(ReadText(ini), expected);

  // A new section is appended after one blank line.
  ASSERT_NE(WritePrivateProfileStringA("New", "k", " v ", ini.c_str()), 0);
  expected += "\r\n[New]\r\nk= v \r\n";
  EXPECT_EQ(ReadText(ini), expected);
  EXPECT_STREQ(Get("new", "K", "", ini).c_str(), "v");

  // Nothing but the file is left in the folder.
  int entries = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) entries += e.is_regular_file();
  EXPECT_EQ(entries, 1);
}

TEST(Profile, CreatesFilesAndHandlesUnterminatedLines) {
  TempDir dir;
  std::string ini = dir.File("new.ini");
  ASSERT_NE(WritePrivateProfileStringA("Grade", "Standard", "EN10147", ini.c_str()), 0);
  EXPECT_EQ(ReadText(ini), "[Grade]\r\nStandard=EN10147\r\n");

  // Unix line breaks are kept; a last line without a break gets one.
  WriteText(ini, "[a]\nx=1");
  ASSERT_NE(WritePrivateProfileStringA("a", "y", "2", ini.c_str()), 0);
  EXPECT_EQ(ReadText(ini), "[a]\nx=1\ny=2\n");

  // Deleting from a missing file does not create it.
  std::string none = dir.File("none.ini");
  ASSERT_NE(WritePrivateProfileStringA("a", "x", nullptr, none.c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(none));

  telio::SetLastError(0);
  EXPECT_EQ(WritePrivateProfileStringA(nullptr, "x", "1", ini.c_str()), 0);
  EXPECT_EQ(telio::GetLastError(), telio::kErrorInvalidParameter);
  EXPECT_NE(WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str()), 0);
}

TEST(Profile, FindsFilesIgnoringLetterCase) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("Bin"));
  std::string real = dir.File("Bin/telmaro.ini");
  WriteText(real, "[Dirs]\nTelmaro=t\n");

  std::string asked = dir.path() + "\\BIN\\TELMARO.INI";
  EXPECT_STREQ(Get("Dirs", "Telmaro", "", asked).c_str(), "t");
  ASSERT_NE(WritePrivateProfileStringA("Dirs", "Telmaro", "u", asked.c_str()), 0);
  EXPECT_EQ(ReadText(real), "[Dirs]\nTelmaro=u\n");  // the same file, not a new one
}

TEST(Profile, FailedWriteLeavesTheOldFile) {
  TempDir dir;
  std::string ini = dir.File("t.ini");
  WriteText(ini, kSample);
  telio::FailAllocationsAfter(0);
  int ok = WritePrivateProfileStringA("Dirs", "Telmaro", "x", ini.c_str());
  ulong32 err = telio::GetLastError();
  telio::FailAllocationsAfter(-1);
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(err, telio::kErrorNotEnoughMemory);
  EXPECT_EQ(ReadText(ini), kSample);

  // A folder where the file should be is refused, not replaced.
  std::filesystem::create_directory(dir.File("d.ini"));
  EXPECT_EQ(WritePrivateProfileStringA("a", "b", "c", dir.File("d.ini").c_str()), 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("d.ini")));
}

}  // namespace
