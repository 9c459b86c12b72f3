// The embedded pictures decode with the same library the window uses, and
// have the sizes, format and looks the window relies on.
#include "assets/pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

struct Image {
  int width = 0;
  int height = 0;
  int components = 0;
  J_COLOR_SPACE colorSpace = JCS_UNKNOWN;
  bool progressive = false;
  bool arithmetic = false;
  long warnings = 0;
  std::vector<unsigned char> rgb;  // width * height * 3

  const unsigned char* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

struct ErrorJump {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void JumpOnError(j_common_ptr cinfo) {
  auto* error = reinterpret_cast<ErrorJump*>(cinfo->err);
  cinfo->err->format_message(cinfo, error->message);
  std::longjmp(error->jump, 1);
}

// Decodes the whole picture to RGB; returns libjpeg's message on failure.
std::string Decode(const assets::Picture& picture, Image& out) {
  jpeg_decompress_struct cinfo{};
  ErrorJump error{};
  cinfo.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JumpOnError;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return error.message;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, picture.data, static_cast<unsigned long>(picture.size));
  jpeg_read_header(&cinfo, TRUE);
  out.width = static_cast<int>(cinfo.image_width);
  out.height = static_cast<int>(cinfo.image_height);
  out.components = cinfo.num_components;
  out.colorSpace = cinfo.jpeg_color_space;
  out.progressive = cinfo.progressive_mode;
  out.arithmetic = cinfo.arith_code;
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  out.rgb.assign(static_cast<size_t>(out.width) * out.height * 3, 0);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = &out.rgb[static_cast<size_t>(cinfo.output_scanline) * out.width * 3];
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  out.warnings = error.manager.num_warnings;
  jpeg_destroy_decompress(&cinfo);
  return "";
}

// The marker of the picture's frame header: 0xC0 for a baseline JPEG.
int FrameMarker(const assets::Picture& picture) {
  const unsigned char* p = picture.data;
  size_t at = 2;  // after SOI
  while (at + 4 <= picture.size && p[at] == 0xFF) {
    const int marker = p[at + 1];
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) return marker;
    at += 2 + (static_cast<size_t>(p[at + 2]) << 8 | p[at + 3]);
  }
  return -1;
}

Image MustDecode(const assets::Picture& picture) {
  Image image;
  const std::string error = Decode(picture, image);
  if (!error.empty()) ADD_FAILURE() << error;
  return image;
}

int Luma(const unsigned char* px) { return (299 * px[0] + 587 * px[1] + 114 * px[2]) / 1000; }

}  // namespace

TEST(Pictures, EachIsABaselineThreeComponentJpegOfItsSize) {
  struct Case {
    const char* name;
    const assets::Picture& picture;
    int width;
    int height;
  } cases[] = {
      {"InstallButtonNormal", assets::InstallButtonNormal, 220, 80},
      {"InstallButtonHot", assets::InstallButtonHot, 220, 80},
      {"DoneButtonPicture", assets::DoneButtonPicture, 220, 80},
      {"Logo", assets::Logo, 424, 534},
      {"CloseButtonNormal", assets::CloseButtonNormal, 27, 22},
      {"CloseButtonHot", assets::CloseButtonHot, 27, 22},
      {"CloseButtonPressed", assets::CloseButtonPressed, 27, 22},
      {"Logo2", assets::Logo2, 250, 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.picture.data, nullptr);
    ASSERT_GT(c.picture.size, 2u);
    EXPECT_EQ(c.picture.data[0], 0xFF);
    EXPECT_EQ(c.picture.data[1], 0xD8);
    EXPECT_EQ(FrameMarker(c.picture), 0xC0);

    Image image;
    ASSERT_EQ(Decode(c.picture, image), "");
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(image.components, 3);
    EXPECT_EQ(image.colorSpace, JCS_YCbCr);
    EXPECT_FALSE(image.progressive);
    EXPECT_FALSE(image.arithmetic);
    EXPECT_EQ(image.warnings, 0);
  }
}

TEST(Pictures, HotInstallButtonDiffersOverMostOfTheButton) {
  const Image normal = MustDecode(assets::InstallButtonNormal);
  const Image hot = MustDecode(assets::InstallButtonHot);
  ASSERT_EQ(normal.rgb.size(), hot.rgb.size());
  size_t different = 0;
  for (size_t i = 0; i < normal.rgb.size(); i += 3) {
    int distance = 0;
    for (int k = 0; k < 3; ++k) distance += std::abs(normal.rgb[i + k] - hot.rgb[i + k]);
    if (distance > 30) ++different;
  }
  const size_t pixels = normal.rgb.size() / 3;
  EXPECT_GT(different * 2, pixels) << different << " of " << pixels << " pixels differ";
  // Lighter, not just different.
  EXPECT_GT(Luma(hot.At(110, 20)), Luma(normal.At(110, 20)) + 15);
}

TEST(Pictures, DonePictureIsWhiteTextCentredOnTeal) {
  const Image done = MustDecode(assets::DoneButtonPicture);
  ASSERT_EQ(done.width, 220);
  // The face: teal, green and blue well above red.
  const unsigned char* face = done.At(40, 37);
  EXPECT_GT(face[1], face[0] + 80);
  EXPECT_GT(face[2], face[0] + 60);
  // Its edge is lighter than the face.
  EXPECT_GT(Luma(done.At(110, 8)), Luma(face) + 30);

  // The white text sits in the middle of the picture.
  int left = done.width, right = -1, top = done.height, bottom = -1;
  for (int y = 0; y < done.height; ++y) {
    for (int x = 0; x < done.width; ++x) {
      const unsigned char* px = done.At(x, y);
      if (px[0] > 225 && px[1] > 225 && px[2] > 225) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
  }
  ASSERT_GE(right, 0) << "no white text";
  EXPECT_NEAR((left + right) / 2.0, 110, 3);
  EXPECT_NEAR((top + bottom) / 2.0, 40, 6);
  EXPECT_GT(right - left, 30);  // two characters, not a speck
}
