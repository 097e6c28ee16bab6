#include "platform/TelKrnl.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/Alloc.h"

namespace {

TEST(TelKrnl, SegmentGeometry) {
  EXPECT_FLOAT_EQ(E_SgmLen3D(1, 2, 3, 4, 6, 15), 13.0f);

  // Segment (0,0,0)-(10,0,0), point first.
  EXPECT_NE(E_PntSgm3D(0, 0, 0, 0, 0, 0, 10, 0, 0), 0);       // an end
  EXPECT_NE(E_PntSgm3D(10, 0, 0, 0, 0, 0, 10, 0, 0), 0);      // the other end
  EXPECT_NE(E_PntSgm3D(4, 0.0009f, 0, 0, 0, 0, 10, 0, 0), 0);  // within tolerance
  EXPECT_EQ(E_PntSgm3D(4, 0.002f, 0, 0, 0, 0, 10, 0, 0), 0);
  EXPECT_EQ(E_PntSgm3D(10.01f, 0, 0, 0, 0, 0, 10, 0, 0), 0);  // on the line, past the end
  EXPECT_EQ(E_PntSgm3D(-0.01f, 0, 0, 0, 0, 0, 10, 0, 0), 0);
  EXPECT_NE(E_PntSgm3D(1, 1, 1, 0, 0, 0, 3, 3, 3), 0);         // diagonal
  EXPECT_EQ(E_PntSgm3D(1, 1, 1.01f, 0, 0, 0, 3, 3, 3), 0);
  EXPECT_NE(E_PntSgm3D(2, 2, 2, 2, 2, 2, 2, 2, 2), 0);         // zero-length segment
  EXPECT_EQ(E_PntSgm3D(2, 2, 2.1f, 2, 2, 2, 2, 2, 2), 0);

  EXPECT_FLOAT_EQ(Rads(-90.0f), -1.57079633f);
}

TEST(TelKrnl, AllocationAndDataFolder) {
  auto* p = static_cast<unsigned char*>(l_Alloc(32, 599, "SectionsTools\\SMDB.cpp"));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(p[i], 0);
  l_Free(p);
  telio::FailAllocationsAfter(0);
  EXPECT_EQ(l_Alloc(32, 1, "x"), nullptr);
  telio::FailAllocationsAfter(-1);

  std::string longer(400, 'x');
  SetGDirs(longer.c_str());
  EXPECT_EQ(std::strlen(szGDirs), 259u);
  SetGDirs(nullptr);
}

}  // namespace
