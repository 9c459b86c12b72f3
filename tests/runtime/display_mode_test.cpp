#include "runtime/display_mode.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  rt::DisplayMode mode;
  int box_w, box_h, pic_w, pic_h;
  RECT expected;
};

TEST(DisplayMode, PictureRectTable) {
  using rt::DisplayMode;
  const Case cases[] = {
      // Natural size at the top-left corner, clipped by the box.
      {DisplayMode::Natural, 250, 255, 250, 256, {0, 0, 250, 256}},
      {DisplayMode::Natural, 100, 100, 20, 10, {0, 0, 20, 10}},
      // Stretched over the whole box, proportions not kept.
      {DisplayMode::Stretch, 211, 211, 424, 534, {0, 0, 211, 211}},
      {DisplayMode::Stretch, 24, 24, 48, 48, {0, 0, 24, 24}},
      // Fits: centred at natural size (halves truncated).
      {DisplayMode::Fit, 600, 300, 200, 100, {200, 100, 400, 200}},
      {DisplayMode::Fit, 101, 101, 50, 50, {25, 25, 75, 75}},
      {DisplayMode::Fit, 100, 100, 100, 100, {0, 0, 100, 100}},
      // Too wide: the width ratio is the smaller one.
      {DisplayMode::Fit, 600, 300, 1200, 300, {0, 75, 600, 225}},
      // Too tall: the height ratio is the smaller one.
      {DisplayMode::Fit, 600, 300, 300, 600, {225, 0, 375, 300}},
      // Too large both ways, kept in proportion.
      {DisplayMode::Fit, 211, 211, 424, 534, {22, 0, 189, 211}},
      // Too wide only by one pixel.
      {DisplayMode::Fit, 100, 100, 101, 50, {0, 25, 100, 74}},
  };
  for (const Case& c : cases) {
    const RECT r = rt::PictureRect(c.mode, c.box_w, c.box_h, c.pic_w, c.pic_h);
    EXPECT_EQ(r.left, c.expected.left) << int(c.mode) << " " << c.pic_w << "x" << c.pic_h;
    EXPECT_EQ(r.top, c.expected.top) << int(c.mode) << " " << c.pic_w << "x" << c.pic_h;
    EXPECT_EQ(r.right, c.expected.right) << int(c.mode) << " " << c.pic_w << "x" << c.pic_h;
    EXPECT_EQ(r.bottom, c.expected.bottom) << int(c.mode) << " " << c.pic_w << "x" << c.pic_h;
  }
}

}  // namespace
