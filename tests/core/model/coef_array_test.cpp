#include "core/model/coef_array.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <new>

namespace quon {
namespace {

TEST(CoefArray, IndexZeroVariesFastest) {
  CoefArray coef;
  coef.Allocate({2, 1, 0, 3});
  EXPECT_EQ(coef.size(), 3u * 2u * 1u * 4u);
  EXPECT_EQ(coef.offset(1, 0, 0, 0), 1u);
  EXPECT_EQ(coef.offset(0, 1, 0, 0), 3u);
  EXPECT_EQ(coef.offset(0, 0, 0, 1), 6u);
  coef(2, 1, 0, 3) = 7.5;
  EXPECT_EQ(coef.data()[coef.size() - 1], 7.5);
}

TEST(CoefArray, AllocationIsZeroFilledAfresh) {
  CoefArray coef;
  coef.Allocate({1, 1, 0, 0});
  coef(1, 1, 0, 0) = 3.0;
  coef.Allocate({1, 1, 0, 0});
  for (std::size_t i = 0; i < coef.size(); ++i) EXPECT_EQ(coef.data()[i], 0.0);
}

TEST(CoefArray, HugeGridIsRefusedAndOldContentsKept) {
  CoefArray coef;
  coef.Allocate({2, 0, 0, 0});
  coef(1, 0, 0, 0) = 4.0;
  EXPECT_THROW(coef.Allocate({99999, 99999, 99999, 99999}), GridTooLarge);
  EXPECT_THROW(coef.Allocate({-1, 0, 0, 0}), GridTooLarge);
  EXPECT_EQ(coef.extent(0), 3);
  EXPECT_EQ(coef(1, 0, 0, 0), 4.0);
}

// A grid of 2 MiB and more starts on a 2 MiB boundary (where huge pages can back it),
// zero-filled and copied like any; an impossible size fails as allocators do.
TEST(CoefArray, LargeGridStartsOnAHugePageBoundary) {
  CoefArray coef;
  coef.Allocate({63, 63, 63, 0});
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(coef.data()) % (std::size_t{2} << 20), 0u);
  EXPECT_EQ(*std::max_element(coef.data(), coef.data() + coef.size()), 0.0);
  coef(63, 63, 63, 0) = 2.5;
  const CoefArray copy = coef;
  EXPECT_EQ(copy(63, 63, 63, 0), 2.5);
  EXPECT_THROW(LargeArrayAllocator<double>().allocate(std::size_t{1} << 62), std::bad_alloc);
  EXPECT_THROW(LargeArrayAllocator<double>().allocate(std::size_t{1} << 58), std::bad_alloc);
}

}  // namespace
}  // namespace quon
