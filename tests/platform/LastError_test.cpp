#include "platform/LastError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <thread>

namespace {

TEST(LastError, MapsErrnoValues) {
  EXPECT_EQ(telio::ErrnoToSystemError(0), 0u);
  EXPECT_EQ(telio::ErrnoToSystemError(ENOENT), 2u);
  EXPECT_EQ(telio::ErrnoToSystemError(ENOTDIR), 3u);
  EXPECT_EQ(telio::ErrnoToSystemError(EACCES), 5u);
  EXPECT_EQ(telio::ErrnoToSystemError(ENOMEM), 8u);
  EXPECT_EQ(telio::ErrnoToSystemError(ENOSPC), 112u);
  EXPECT_EQ(telio::ErrnoToSystemError(EEXIST), 80u);
  EXPECT_EQ(telio::ErrnoToSystemError(99999), 1u);  // unknown never reads as success

  errno = ENOENT;
  EXPECT_EQ(telio::SetLastErrorFromErrno(), 2u);
  EXPECT_EQ(telio::GetLastError(), 2u);

  EXPECT_STREQ(telio::SystemErrorMessage(2), "The system cannot find the file specified.");
  EXPECT_STREQ(telio::SystemErrorMessage(12345), "Unknown error 12345.");
}

TEST(LastError, IsPerThread) {
  telio::SetLastError(telio::kErrorFileCorrupt);
  ulong32 seen = 99;
  std::string message;
  std::thread t([&] {
    seen = telio::GetLastError();
    telio::SetLastError(telio::kErrorHandleEof);
    message = telio::SystemErrorMessage(777);
  });
  t.join();
  EXPECT_EQ(seen, 0u);
  EXPECT_EQ(telio::GetLastError(), telio::kErrorFileCorrupt);
  EXPECT_EQ(message, "Unknown error 777.");
}

}  // namespace
