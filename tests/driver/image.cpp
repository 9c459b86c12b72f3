#include <zlib.h>

#include <cstdio>

#include "tests/driver/driver.h"
#include "tests/driver/failure.h"

namespace driver {
namespace {

// Closes the file; a file that could not be written completely is removed so
// that no half picture is mistaken for a result.
class OutputFile {
 public:
  explicit OutputFile(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
    if (!file_) Fail("cannot create " + ToUtf8(path));
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile() {
    if (file_) {
      std::fclose(file_);
      std::remove(path_.c_str());
    }
  }
  void Write(const void* data, std::size_t size) {
    if (std::fwrite(data, 1, size, file_) != size) Fail("cannot write " + ToUtf8(path_));
  }
  void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
  void Close() {
    bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!ok) {
      std::remove(path_.c_str());
      Fail("cannot write " + ToUtf8(path_));
    }
  }

 private:
  std::string path_;
  std::FILE* file_;
};

void PutBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A PNG chunk: length, type, data, CRC over type and data.
std::string Chunk(const char* type, const std::string& data) {
  std::string chunk;
  PutBigEndian(chunk, static_cast<std::uint32_t>(data.size()));
  std::string body = std::string(type, 4) + data;
  chunk += body;
  PutBigEndian(chunk, static_cast<std::uint32_t>(
                          crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
  return chunk;
}

}  // namespace

void PrintTo(const Rgb& colour, std::ostream* out) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
  *out << text;
}

Image::Image(int width, int height) : width_(width), height_(height) {
  if (width <= 0 || height <= 0) Fail("an image needs a positive size, not " + std::to_string(width) + "x" + std::to_string(height));
  pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

std::size_t Image::Index(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) {
    Fail("pixel (" + std::to_string(x) + "," + std::to_string(y) + ") is outside the " + std::to_string(width_) + "x" +
         std::to_string(height_) + " image");
  }
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
}

Rgb Image::Pixel(int x, int y) const { return pixels_[Index(x, y)]; }

void Image::SetPixel(int x, int y, Rgb colour) { pixels_[Index(x, y)] = colour; }

void Image::SavePng(const std::string& path) const {
  // Every row starts with filter type 0 (none).
  std::string raw;
  raw.reserve(static_cast<std::size_t>(height_) * (3 * static_cast<std::size_t>(width_) + 1));
  for (int y = 0; y < height_; ++y) {
    raw += '\0';
    for (int x = 0; x < width_; ++x) {
      const Rgb& p = pixels_[Index(x, y)];
      raw += static_cast<char>(p.r);
      raw += static_cast<char>(p.g);
      raw += static_cast<char>(p.b);
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                static_cast<uLong>(raw.size()), Z_BEST_SPEED) != Z_OK) {
    Fail("cannot compress the picture for " + ToUtf8(path));
  }
  packed.resize(packedSize);

  std::string header;
  PutBigEndian(header, static_cast<std::uint32_t>(width_));
  PutBigEndian(header, static_cast<std::uint32_t>(height_));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter set, not interlaced

  OutputFile file(path);
  file.Write(std::string("\x89PNG\r\n\x1A\n", 8));
  file.Write(Chunk("IHDR", header));
  file.Write(Chunk("IDAT", packed));
  file.Write(Chunk("IEND", ""));
  file.Close();
}

void Image::SaveBmp(const std::string& path) const {
  const std::uint32_t rowSize = (3 * static_cast<std::uint32_t>(width_) + 3) & ~3u;  // rows are 4-byte aligned
  const std::uint32_t pixelBytes = rowSize * static_cast<std::uint32_t>(height_);
  const std::uint32_t headersSize = 14 + 40;
  std::string out;
  out += "BM";
  PutLittleEndian(out, headersSize + pixelBytes, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, headersSize, 4);
  PutLittleEndian(out, 40, 4);  // BITMAPINFOHEADER
  PutLittleEndian(out, static_cast<std::uint32_t>(width_), 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(height_), 4);  // positive: bottom-up
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, 24, 2);
  PutLittleEndian(out, BI_RGB, 4);
  PutLittleEndian(out, pixelBytes, 4);
  PutLittleEndian(out, 2835, 4);  // 72 dpi
  PutLittleEndian(out, 2835, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, 0, 4);
  for (int y = height_ - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < width_; ++x) {
      const Rgb& p = pixels_[Index(x, y)];
      row += static_cast<char>(p.b);
      row += static_cast<char>(p.g);
      row += static_cast<char>(p.r);
    }
    row.resize(rowSize, '\0');
    out += row;
  }
  OutputFile file(path);
  file.Write(out);
  file.Close();
}

}  // namespace driver
