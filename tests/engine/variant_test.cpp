// Currency's counts of ten-thousandths: the variant record gives back every count exactly.
#include "engine/variant.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

namespace quon::script {
namespace {

TEST(CurrencyVariant, KeepsEveryCountExactly) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  // The ends of the range and the counts around a change of the high 32 bits.
  for (const int64_t count : {kMax, kMin, kMax - 1, kMin + 1, int64_t{0}, int64_t{-1},
                              int64_t{1} << 32, (int64_t{1} << 32) - 1, -(int64_t{1} << 32)}) {
    EXPECT_EQ(Variant::Currency(count).currency(), count);
  }
  std::mt19937_64 random(20261206);
  for (int n = 0; n < 200000; ++n) {
    const auto count = static_cast<int64_t>(random()) >> (n % 40);  // every magnitude
    ASSERT_EQ(Variant::Currency(count).currency(), count) << count;
  }
}

}  // namespace
}  // namespace quon::script
