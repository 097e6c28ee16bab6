#include "platform/Interlocked.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(Interlocked, CountsSeeZeroOnce) {
  std::atomic<long32> count{0};
  volatile long32 plain = 0;
  EXPECT_EQ(InterlockedIncrement(&count), 1);
  EXPECT_EQ(InterlockedDecrement(&count), 0);
  EXPECT_EQ(InterlockedIncrement(&plain), 1);
  EXPECT_EQ(InterlockedDecrement(&plain), 0);

  const int kThreads = 4, kSteps = 5000;
  count = kThreads * kSteps;
  std::atomic<int> zeros{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kSteps; ++i) {
        InterlockedIncrement(&count);
        InterlockedDecrement(&count);
        if (InterlockedDecrement(&count) == 0) ++zeros;
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(count.load(), 0);
  EXPECT_EQ(zeros.load(), 1);
}

}  // namespace
