// The one parallel loop: every chunk exactly once, the first exception thrown again on the
// calling thread, and the work done on the calling thread alone when no thread starts.
#include "core/parallel/parallel_for.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

namespace quon {
namespace {

TEST(ParallelFor, RunsEveryChunkOnceOnTheWorkersAsked) {
  for (const std::size_t workers : {std::size_t{1}, std::size_t{2}, std::size_t{7}}) {
    std::vector<std::atomic<int>> runs(1000);
    std::atomic<bool> outOfRange{false};
    ParallelFor(runs.size(), workers, [&](std::size_t worker, std::size_t chunk) {
      ++runs[chunk];
      if (worker >= workers) outOfRange = true;
    });
    for (const std::atomic<int>& r : runs) ASSERT_EQ(r.load(), 1) << workers << " workers";
    EXPECT_FALSE(outOfRange) << workers << " workers";
  }
  EXPECT_NO_THROW(ParallelFor(0, 4, [](std::size_t, std::size_t) { FAIL(); }));
}

TEST(ParallelFor, ThrowsTheFirstFailureAfterEveryWorkerStopped) {
  std::atomic<bool> thrown{false};
  std::atomic<int> running{0};
  std::atomic<int> later{0};
  const auto task = [&](std::size_t, std::size_t chunk) {
    ++running;
    if (chunk == 3) {
      thrown = true;
      throw std::out_of_range("chunk 3");
    }
    if (chunk > 3) {
      // Chunks after the failing one finish only once it has failed, and then late.
      while (!thrown) std::this_thread::yield();
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      ++later;
    }
    --running;
  };
  try {
    ParallelFor(10000, 4, task);
    FAIL() << "no exception";
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "chunk 3");
  }
  EXPECT_EQ(running.load(), 1) << "only the failed task is left unfinished";
  EXPECT_LE(later.load(), 3) << "no chunk handed out after the failure";
}

TEST(ParallelFor, CallingThreadDoesAllWhenNoThreadStarts) {
  const auto refuse = [](std::function<void()>) -> std::function<void()> {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  };
  const std::thread::id caller = std::this_thread::get_id();
  int runs = 0;
  ParallelFor(
      50, 4,
      [&](std::size_t worker, std::size_t) {
        EXPECT_EQ(worker, 0u);
        EXPECT_EQ(std::this_thread::get_id(), caller);
        ++runs;
      },
      refuse);
  EXPECT_EQ(runs, 50);
}

TEST(WorkerCount, NeverMoreThanTheChunksOrTheLimit) {
  EXPECT_EQ(WorkerCount(0), 1u);
  EXPECT_EQ(WorkerCount(1), 1u);
  EXPECT_EQ(WorkerCount(1000, 1), 1u);
  EXPECT_LE(WorkerCount(1000, 3), 3u);
  EXPECT_GE(WorkerCount(1000), 1u);
}

}  // namespace
}  // namespace quon
