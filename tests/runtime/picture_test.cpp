#include "runtime/picture.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/runtime/test_pictures.h"

namespace {

using testpictures::SolidIcon;
using testpictures::SolidJpeg;

// Draws the picture into a white 32-bit surface and gives one pixel.
COLORREF DrawnPixel(const rt::Picture& picture, RECT dest, int x, int y) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 64;
  info.bmiHeader.biHeight = -64;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const rt::Bitmap surface(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const rt::MemoryDc dc(CreateCompatibleDC(nullptr));
  const rt::Selection selected(dc.get(), surface.get());
  PatBlt(dc.get(), 0, 0, 64, 64, WHITENESS);
  picture.Draw(dc.get(), dest);
  GdiFlush();
  const auto* px = static_cast<const unsigned char*>(bits) + (y * 64 + x) * 4;
  return RGB(px[2], px[1], px[0]);
}

void ExpectNear(COLORREF actual, COLORREF expected, int tolerance) {
  EXPECT_NEAR(GetRValue(actual), GetRValue(expected), tolerance);
  EXPECT_NEAR(GetGValue(actual), GetGValue(expected), tolerance);
  EXPECT_NEAR(GetBValue(actual), GetBValue(expected), tolerance);
}

TEST(Picture, DecodesAJpegAtItsSize) {
  const COLORREF colour = RGB(200, 40, 90);
  const std::vector<unsigned char> jpeg = SolidJpeg(24, 10, colour);
  const rt::Picture picture = rt::Picture::FromData({jpeg.data(), jpeg.size()});
  ASSERT_FALSE(picture.Empty());
  EXPECT_EQ(picture.Width(), 24);
  EXPECT_EQ(picture.Height(), 10);
  ExpectNear(DrawnPixel(picture, {0, 0, 24, 10}, 5, 5), colour, 4);
  // Outside the natural size nothing is drawn.
  EXPECT_EQ(DrawnPixel(picture, {0, 0, 24, 10}, 30, 5), RGB(255, 255, 255));
  // Stretched, the colour stays.
  ExpectNear(DrawnPixel(picture, {0, 0, 60, 60}, 50, 50), colour, 4);
}

TEST(Picture, DecodesAnIconFile) {
  const COLORREF colour = RGB(10, 120, 250);
  const std::vector<unsigned char> icon = SolidIcon(48, colour);
  const rt::Picture picture = rt::Picture::FromData({icon.data(), icon.size()});
  ASSERT_FALSE(picture.Empty());
  EXPECT_EQ(picture.Width(), 48);
  EXPECT_EQ(picture.Height(), 48);
  // Shown at 24 x 24 like the hidden icon box.
  ExpectNear(DrawnPixel(picture, {0, 0, 24, 24}, 12, 12), colour, 2);
  EXPECT_EQ(DrawnPixel(picture, {0, 0, 24, 24}, 30, 12), RGB(255, 255, 255));
}

TEST(Picture, UndecodableBytesGiveAnEmptyPicture) {
  const std::vector<unsigned char> jpeg = SolidJpeg(8, 8, RGB(1, 2, 3));
  std::vector<unsigned char> broken_header(jpeg.begin(), jpeg.begin() + 4);
  broken_header.insert(broken_header.end(), 64, 0x55);
  std::vector<unsigned char> icon = SolidIcon(48, RGB(1, 2, 3));
  std::vector<unsigned char> icon_past_end = icon;
  icon_past_end.resize(icon.size() / 2);  // the entry points past the end
  const unsigned char text[] = "not a picture";
  const struct {
    const char* what;
    const unsigned char* data;
    std::size_t size;
  } cases[] = {
      {"no data", nullptr, 0},
      {"neither JPEG nor icon", text, sizeof text},
      {"a JPEG whose header is garbage", broken_header.data(), broken_header.size()},
      {"an icon file cut short", icon_past_end.data(), icon_past_end.size()},
      {"only the JPEG signature", jpeg.data(), 2},
  };
  for (const auto& c : cases) {
    const rt::Picture picture = rt::Picture::FromData({c.data, c.size});
    EXPECT_TRUE(picture.Empty()) << c.what;
    EXPECT_EQ(picture.Width(), 0) << c.what;
  }
}

}  // namespace
