#include "platform/CString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(CString, CompareWithAndWithoutCase) {
  CString s("Beam");
  EXPECT_EQ(s.Compare("Beam"), 0);
  EXPECT_LT(s.Compare("beam"), 0);
  EXPECT_GT(s.Compare("Bea"), 0);
  EXPECT_EQ(s.CompareNoCase("bEAM"), 0);
  EXPECT_LT(s.CompareNoCase("BEAMS"), 0);
  EXPECT_GT(s.CompareNoCase(nullptr), 0);  // null is the empty text
  EXPECT_EQ(CString().Compare(nullptr), 0);
  // Only ASCII letters fold; bytes above 0x7F compare unsigned.
  EXPECT_NE(CString("\xC4").CompareNoCase("\xE4"), 0);
  EXPECT_GT(CString("\xE4").Compare("z"), 0);
  EXPECT_TRUE(CString("\xE4") > CString("z"));
}

TEST(CString, FormatAndTrim) {
  CString s;
  s.Format("%s-%03d", "N", 7);
  EXPECT_EQ(s, "N-007");
  std::string big(600, 'q');
  s.Format("<%s>", big.c_str());  // longer than any first guess
  EXPECT_EQ(s.GetLength(), 602);
  EXPECT_EQ(s.Right(3), "qq>");
  s = "a";
  s.AppendFormat("%.1f", 2.25);
  EXPECT_EQ(s, "a2.2");

  CString t(" \t x y \r\n");
  EXPECT_EQ(CString(t).Trim(), "x y");
  EXPECT_EQ(CString(t).TrimLeft(), "x y \r\n");
  EXPECT_EQ(CString(t).TrimRight(), " \t x y");
  EXPECT_EQ(CString("xxaxx").Trim('x'), "a");
  EXPECT_EQ(CString("xyaxy").TrimLeft("yx"), "axy");
  EXPECT_EQ(CString("xyaxy").TrimRight("yx"), "xya");
  EXPECT_EQ(CString("xxxx").Trim('x'), "");
  EXPECT_EQ(CString("ab").Trim(""), "ab");
}

TEST(CString, ExtractionClampsPositions) {
  CString s("HEA200");
  EXPECT_EQ(s.Left(3), "HEA");
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.Left(99), "HEA200");
  EXPECT_EQ(s.Mid(3), "200");
  EXPECT_EQ(s.Mid(-5, 2), "HE");
  EXPECT_EQ(s.Mid(4, 99), "00");
  EXPECT_EQ(s.Mid(99), "");
  EXPECT_EQ(s.Mid(2, -1), "");
  EXPECT_EQ(s.Right(2), "00");
  EXPECT_EQ(s.Right(99), "HEA200");
  EXPECT_EQ(s.Right(-3), "");
  EXPECT_EQ(s.GetAt(6), '\0');
  EXPECT_EQ(s[-1], '\0');
}

TEST(CString, FindAndReplace) {
  CString s("a.b.c");
  EXPECT_EQ(s.Find('.'), 1);
  EXPECT_EQ(s.Find('.', 2), 3);
  EXPECT_EQ(s.Find('.', -7), 1);
  EXPECT_EQ(s.Find('.', 5), -1);
  EXPECT_EQ(s.Find("b.c"), 2);
  EXPECT_EQ(s.Find("", 5), 5);
  EXPECT_EQ(s.Find("x"), -1);
  EXPECT_EQ(s.Find(static_cast<const char*>(nullptr)), -1);
  EXPECT_EQ(s.ReverseFind('.'), 3);
  EXPECT_EQ(s.FindOneOf("cb"), 2);

  EXPECT_EQ(s.Replace('.', '\\'), 2);
  EXPECT_EQ(s, "a\\b\\c");
  CString r("aaaa");
  EXPECT_EQ(r.Replace("aa", "b"), 2);  // left to right, no overlap
  EXPECT_EQ(r, "bb");
  EXPECT_EQ(r.Replace("b", nullptr), 2);
  EXPECT_EQ(r, "");
  CString q("xyz");
  EXPECT_EQ(q.Replace("", "k"), 0);
  EXPECT_EQ(q.Replace("y", "yy"), 1);
  EXPECT_EQ(q, "xyyz");
  EXPECT_EQ(q.Insert(99, '!'), 5);
  EXPECT_EQ(q.Delete(1, 99), 1);
  EXPECT_EQ(q, "x");
}

TEST(CString, BufferAccess) {
  CString s("old");
  char* p = s.GetBuffer(10);
  std::strcpy(p, "new text");
  s.ReleaseBuffer();
  EXPECT_EQ(s, "new text");
  EXPECT_EQ(s.GetLength(), 8);

  p = s.GetBuffer(0);  // never shrinks
  EXPECT_STREQ(p, "new text");
  s.ReleaseBuffer(3);
  EXPECT_EQ(s, "new");
  s.ReleaseBuffer(50);  // not past the buffer
  EXPECT_EQ(s, "new");

  p = s.GetBufferSetLength(2);
  p[1] = 'X';
  s.ReleaseBuffer(2);
  EXPECT_EQ(s, "nX");
}

}  // namespace
