// The picture files must be what viewers and ImageMagick read: checked byte
// by byte, the PNG's data inflated again with zlib.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "tests/driver/driver.h"

namespace driver {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t BigEndian(const std::string& s, std::size_t at) {
  return (std::uint32_t(std::uint8_t(s[at])) << 24) | (std::uint32_t(std::uint8_t(s[at + 1])) << 16) |
         (std::uint32_t(std::uint8_t(s[at + 2])) << 8) | std::uint32_t(std::uint8_t(s[at + 3]));
}

std::uint32_t LittleEndian(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | std::uint8_t(s[at + static_cast<std::size_t>(i)]);
  return value;
}

// 3x2, every pixel different, so that order and channel mistakes show.
Image Sample() {
  Image image(3, 2);
  image.SetPixel(0, 0, {255, 0, 0});
  image.SetPixel(1, 0, {0, 255, 0});
  image.SetPixel(2, 0, {0, 0, 255});
  image.SetPixel(0, 1, {1, 2, 3});
  image.SetPixel(1, 1, {250, 128, 7});
  image.SetPixel(2, 1, {255, 255, 255});
  return image;
}

struct PngChunk {
  std::string type;
  std::string data;
};

std::vector<PngChunk> Chunks(const std::string& png) {
  std::vector<PngChunk> chunks;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    std::uint32_t length = BigEndian(png, at);
    std::string body = png.substr(at + 4, 4 + length);
    std::uint32_t crc = BigEndian(png, at + 8 + length);
    EXPECT_EQ(crc, crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())))
        << "chunk " << body.substr(0, 4);
    chunks.push_back({body.substr(0, 4), body.substr(4)});
    at += 12 + length;
  }
  return chunks;
}

TEST(Image, PngHoldsThePixels) {
  const std::string path = ArtifactPath("image-test.png");
  Sample().SavePng(path);
  std::string png = ReadFile(path);
  ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
  std::vector<PngChunk> chunks = Chunks(png);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(chunks[1].type, "IDAT");
  EXPECT_EQ(chunks[2].type, "IEND");
  ASSERT_EQ(chunks[0].data.size(), 13u);
  EXPECT_EQ(BigEndian(chunks[0].data, 0), 3u);
  EXPECT_EQ(BigEndian(chunks[0].data, 4), 2u);
  EXPECT_EQ(chunks[0].data.substr(8), std::string("\x08\x02\x00\x00\x00", 5));

  std::string raw(2 * (1 + 3 * 3), '\x55');
  uLongf rawSize = static_cast<uLongf>(raw.size());
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                       reinterpret_cast<const Bytef*>(chunks[1].data.data()), static_cast<uLong>(chunks[1].data.size())),
            Z_OK);
  ASSERT_EQ(rawSize, raw.size());
  EXPECT_EQ(raw, std::string("\0\xFF\0\0\0\xFF\0\0\0\xFF"
                             "\0\x01\x02\x03\xFA\x80\x07\xFF\xFF\xFF",
                             20));
}

TEST(Image, BmpHoldsThePixelsBottomUpWithPaddedRows) {
  const std::string path = ArtifactPath("image-test.bmp");
  Sample().SaveBmp(path);
  std::string bmp = ReadFile(path);
  const std::size_t rowSize = 12;  // 3 pixels * 3 bytes, padded to 4
  ASSERT_EQ(bmp.size(), 54 + 2 * rowSize);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(LittleEndian(bmp, 2, 4), bmp.size());
  EXPECT_EQ(LittleEndian(bmp, 10, 4), 54u);
  EXPECT_EQ(LittleEndian(bmp, 18, 4), 3u);
  EXPECT_EQ(LittleEndian(bmp, 22, 4), 2u);
  EXPECT_EQ(LittleEndian(bmp, 28, 2), 24u);
  EXPECT_EQ(bmp.substr(54), std::string("\x03\x02\x01\x07\x80\xFA\xFF\xFF\xFF\0\0\0"
                                        "\0\0\xFF\0\xFF\0\xFF\0\0\0\0\0",
                                        24));
}

TEST(Image, PixelsOutsideAreRefused) {
  Image image(2, 2);
  EXPECT_EQ(image.Pixel(1, 1), (Rgb{0, 0, 0}));
  EXPECT_THROW(image.Pixel(2, 0), Failure);
  EXPECT_THROW(image.SetPixel(0, -1, {}), Failure);
  EXPECT_THROW(Image(0, 5), Failure);
}

TEST(Image, AFileThatCannotBeCreatedFails) {
  try {
    Sample().SavePng("Q:\\no\\such\\folder\\x.png");
    FAIL() << "no failure";
  } catch (const Failure& failure) {
    EXPECT_NE(std::string(failure.what()).find("cannot create Q:\\no\\such\\folder\\x.png"), std::string::npos)
        << failure.what();
  }
}

}  // namespace
}  // namespace driver
