#include "runtime/progress_range.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ProgressRange, WrittenValuesAreKeptWithin0To32767) {
  const struct {
    int value, expected;
  } cases[] = {{0, 0}, {100, 100}, {32767, 32767}, {32768, 32767}, {INT_MAX, 32767},
               {-1, 0}, {INT_MIN, 0}};
  for (const auto& c : cases) EXPECT_EQ(rt::ClampProgressValue(c.value), c.expected) << c.value;
}

TEST(ProgressRange, ShownPositionIsKeptWithinTheRange) {
  const struct {
    int minimum, maximum, position, shown;
  } cases[] = {{0, 100, 50, 50}, {0, 100, 150, 100}, {10, 100, 5, 10}, {0, 50, 33, 33},
               {20, 20, 30, 20}};
  for (const auto& c : cases) {
    EXPECT_EQ(rt::DisplayedProgress(c.minimum, c.maximum, c.position), c.shown)
        << c.minimum << ".." << c.maximum << " at " << c.position;
  }
}

TEST(ProgressRange, FillWidthTable) {
  const struct {
    int width, minimum, maximum, position, filled;
  } cases[] = {
      {203, 0, 100, 0, 0},     {203, 0, 100, 100, 203}, {203, 0, 100, 50, 101},
      {203, 0, 100, 9, 18},    {203, 0, 100, 250, 203},  // shown clamped to the maximum
      {200, 50, 150, 100, 100}, {200, 50, 150, 0, 0},     // below the minimum
      {200, 7, 7, 7, 0},        {200, 9, 3, 5, 0},        // empty or inverted range
      {200, 0, 32767, 32767, 200},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rt::ProgressFillWidth(c.width, c.minimum, c.maximum, c.position), c.filled)
        << c.width << " px, " << c.minimum << ".." << c.maximum << " at " << c.position;
  }
}
