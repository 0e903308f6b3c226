#include "core/model/coef_array.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quon
