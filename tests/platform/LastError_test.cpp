#include "platform/LastError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <thread>
#include <utility>

namespace {

TEST(LastError, MapsErrnoValues) {
  // An unknown value never reads as success.
  const std::pair<int, ulong32> mapped[] = {{0, 0},      {ENOENT, 2},   {ENOTDIR, 3}, {EACCES, 5},
                                            {ENOMEM, 8}, {ENOSPC, 112}, {EEXIST, 80}, {99999, 1}};
  for (const auto& m : mapped) EXPECT_EQ(telio::ErrnoToSystemError(m.first), m.second) << m.first;

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
