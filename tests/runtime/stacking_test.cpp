#include "runtime/stacking.h"

#include <gtest/gtest.h>

TEST(Stacking, EachControlGoesBelowTheNearestEarlierSibling) {
  // window: 0 icon box, 1 timer, 2 panel A, 3 panel B; panel A: 4, 5 (a
  // component), 6; panel B: 7.
  const std::vector<int> parents{-1, -1, -1, -1, 2, 2, 2, 3};
  const std::vector<bool> windowed{true, false, true, true, true, false, true, true};
  const std::vector<int> expected{rt::kStackOnTop, rt::kStackOnTop, 0, 2, rt::kStackOnTop, rt::kStackOnTop, 4,
                                  rt::kStackOnTop};
  EXPECT_EQ(rt::StackingPlan(parents, windowed), expected);
}
