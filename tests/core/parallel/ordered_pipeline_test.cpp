// The ordered pipeline: every chunk produced and consumed once, consumes in order and one
// at a time, a slot never reused before its chunk is consumed, producing ahead while a
// consume runs, and the first failure thrown again with nothing consumed after it.
#include "core/parallel/ordered_pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

namespace quon {
namespace {

TEST(OrderedPipeline, ConsumesEveryChunkOnceInOrderFromItsOwnSlot) {
  for (const std::size_t workers : {std::size_t{1}, std::size_t{2}, std::size_t{7}}) {
    for (const std::size_t slots : {std::size_t{1}, std::size_t{3}, std::size_t{16}}) {
      std::vector<std::size_t> slotHolds(slots);
      std::size_t expected = 0;
      std::atomic<int> consuming{0};
      bool overlapped = false;
      OrderedPipeline(
          500, workers, slots,
          [&](std::size_t, std::size_t chunk, std::size_t slot) {
            if (chunk % 7 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
            slotHolds[slot] = chunk;
          },
          [&](std::size_t chunk, std::size_t slot) {
            overlapped |= ++consuming > 1;
            EXPECT_EQ(chunk, expected++);
            EXPECT_EQ(slotHolds[slot], chunk) << "slot reused before its chunk was consumed";
            --consuming;
          });
      EXPECT_EQ(expected, 500u) << workers << " workers, " << slots << " slots";
      EXPECT_FALSE(overlapped);
    }
  }
}

TEST(OrderedPipeline, ProducesAheadWhileAConsumeRuns) {
  std::atomic<bool> secondProduced{false};
  bool waited = true;
  OrderedPipeline(
      2, 2, 2,
      [&](std::size_t, std::size_t chunk, std::size_t) {
        if (chunk == 1) secondProduced = true;
      },
      [&](std::size_t chunk, std::size_t) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (chunk == 0 && !secondProduced && std::chrono::steady_clock::now() < deadline) {
          std::this_thread::yield();
        }
        waited &= secondProduced;
      });
  EXPECT_TRUE(waited) << "chunk 1 was not produced while chunk 0 was consumed";
}

TEST(OrderedPipeline, FirstFailureIsThrownAndNothingAfterItConsumed) {
  for (const bool inConsume : {true, false}) {
    std::atomic<std::size_t> lastConsumed{0};
    const auto fail = [](std::size_t chunk) {
      if (chunk == 40) throw std::out_of_range("chunk 40");
    };
    try {
      OrderedPipeline(
          1000, 3, 4,
          [&](std::size_t, std::size_t chunk, std::size_t) {
            if (!inConsume) fail(chunk);
          },
          [&](std::size_t chunk, std::size_t) {
            if (inConsume) fail(chunk);
            lastConsumed = chunk;
          });
      FAIL() << "no exception";
    } catch (const std::out_of_range& e) {
      EXPECT_STREQ(e.what(), "chunk 40");
    }
    // Every chunk before a failed consume was consumed; a failed produce may leave some.
    if (inConsume) {
      EXPECT_EQ(lastConsumed.load(), 39u);
    }
    EXPECT_LE(lastConsumed.load(), 39u);
  }
}

TEST(OrderedPipeline, CallingThreadDoesAllWhenNoThreadStarts) {
  const auto refuse = [](std::function<void()>) -> std::function<void()> {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  };
  std::vector<std::size_t> order;
  OrderedPipeline(
      20, 4, 2, [](std::size_t worker, std::size_t, std::size_t) { EXPECT_EQ(worker, 0u); },
      [&](std::size_t chunk, std::size_t) { order.push_back(chunk); }, refuse);
  ASSERT_EQ(order.size(), 20u);
  for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], i);
}

}  // namespace
}  // namespace quon
