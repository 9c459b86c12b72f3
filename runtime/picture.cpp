#include "runtime/picture.h"

#include <cstdint>

#include "runtime/jpeg_decoder.h"

namespace rt {

namespace {

bool IsJpeg(PictureData d) { return d.size >= 2 && d.data[0] == 0xFF && d.data[1] == 0xD8; }

bool IsIconFile(PictureData d) {
  return d.size >= 6 && d.data[0] == 0 && d.data[1] == 0 && d.data[2] == 1 && d.data[3] == 0;
}

std::uint32_t Read32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The largest image of an icon file, made an icon of its own size.
HICON IconFromFile(PictureData d, int* width, int* height) {
  const unsigned count = d.data[4] | d.data[5] << 8;
  constexpr std::size_t kHeader = 6, kEntry = 16;
  if (count == 0 || d.size < kHeader + count * kEntry) return nullptr;
  const unsigned char* best = nullptr;
  int best_size = 0;
  for (unsigned i = 0; i < count; ++i) {
    const unsigned char* entry = d.data + kHeader + i * kEntry;
    const int size = entry[0] ? entry[0] : 256;
    const std::uint32_t bytes = Read32(entry + 8), offset = Read32(entry + 12);
    if (offset > d.size || bytes > d.size - offset) continue;
    if (size > best_size) best = entry, best_size = size;
  }
  if (!best) return nullptr;
  const int w = best[0] ? best[0] : 256, h = best[1] ? best[1] : 256;
  HICON icon = CreateIconFromResourceEx(const_cast<unsigned char*>(d.data) + Read32(best + 12),
                                        Read32(best + 8), TRUE, 0x00030000, w, h, LR_DEFAULTCOLOR);
  if (icon) *width = w, *height = h;
  return icon;
}

}  // namespace

Picture Picture::FromData(PictureData data) {
  Picture picture;
  if (IsJpeg(data)) {
    picture.bitmap_.Reset(DecodeJpeg(data.data, data.size, &picture.width_, &picture.height_));
  } else if (IsIconFile(data)) {
    picture.icon_.Reset(IconFromFile(data, &picture.width_, &picture.height_));
  }
  if (picture.Empty()) picture.width_ = picture.height_ = 0;
  return picture;
}

void Picture::Draw(HDC dc, const RECT& dest) const {
  const int w = dest.right - dest.left, h = dest.bottom - dest.top;
  if (icon_) {
    DrawIconEx(dc, dest.left, dest.top, icon_.get(), w, h, 0, nullptr, DI_NORMAL);
    return;
  }
  if (!bitmap_) return;
  const MemoryDc source(CreateCompatibleDC(dc));
  const Selection selected(source.get(), bitmap_.get());
  if (w == width_ && h == height_) {
    BitBlt(dc, dest.left, dest.top, w, h, source.get(), 0, 0, SRCCOPY);
    return;
  }
  // Averaging rather than dropping pixels, so a shrunk picture keeps its detail.
  const int previous_mode = SetStretchBltMode(dc, HALFTONE);
  POINT previous_origin;
  SetBrushOrgEx(dc, 0, 0, &previous_origin);
  StretchBlt(dc, dest.left, dest.top, w, h, source.get(), 0, 0, width_, height_, SRCCOPY);
  SetBrushOrgEx(dc, previous_origin.x, previous_origin.y, nullptr);
  SetStretchBltMode(dc, previous_mode);
}

}  // namespace rt
