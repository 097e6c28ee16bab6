#include "platform/UtilLib.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "platform/Alloc.h"

namespace {

TEST(UtilLib, MemoryAndText) {
  auto* p = static_cast<unsigned char*>(Gl_Alloc(100));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(p[i], 0);
  std::free(p);  // callers release with free
  telio::FailAllocationsAfter(0);
  EXPECT_EQ(Gl_Alloc(8), nullptr);
  telio::FailAllocationsAfter(-1);

  EXPECT_TRUE(STRConvertA(nullptr).IsEmpty());

  char field[8];
  std::memset(field, 'z', sizeof field);
  EXPECT_EQ(tstr_cpy2str("HEA", field), field);
  EXPECT_STREQ(field, "HEA");
  EXPECT_EQ(field[4], 'z');  // nothing past the terminator
  tstr_cpy2str(nullptr, field);
  EXPECT_STREQ(field, "");
}

}  // namespace
