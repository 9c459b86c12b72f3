#include <cstdio>

#include "tests/driver/driver.h"
#include "tests/driver/failure.h"

namespace driver {
namespace {

// Scoped GDI objects for one capture.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {
    if (!dc_) Fail("cannot get the screen DC");
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() { ReleaseDC(nullptr, dc_); }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class MemoryDc {
 public:
  explicit MemoryDc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {
    if (!dc_) Fail("cannot create a memory DC");
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() { DeleteDC(dc_); }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;
  ~Selected() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

class Bitmap {
 public:
  explicit Bitmap(HBITMAP bitmap) : bitmap_(bitmap) {}
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  ~Bitmap() {
    if (bitmap_) DeleteObject(bitmap_);
  }
  HBITMAP get() const { return bitmap_; }

 private:
  HBITMAP bitmap_;
};

std::string RectText(const RECT& r) {
  char text[96];
  std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return text;
}

}  // namespace

Image CaptureRect(const RECT& screen) {
  const int width = screen.right - screen.left;
  const int height = screen.bottom - screen.top;
  if (width <= 0 || height <= 0) Fail("cannot capture the empty rectangle " + RectText(screen));

  ScreenDc screenDc;
  MemoryDc memoryDc(screenDc.get());
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(screenDc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap.get() || !bits) Fail("cannot create a " + std::to_string(width) + "x" + std::to_string(height) + " bitmap");
  {
    Selected selected(memoryDc.get(), bitmap.get());
    if (!BitBlt(memoryDc.get(), 0, 0, width, height, screenDc.get(), screen.left, screen.top, SRCCOPY | CAPTUREBLT)) {
      Fail("cannot copy " + RectText(screen) + " from the screen: " + ErrorText(GetLastError()));
    }
  }
  GdiFlush();

  Image image(width, height);
  const auto* pixel = static_cast<const std::uint8_t*>(bits);  // B, G, R, unused
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x, pixel += 4) image.SetPixel(x, y, Rgb{pixel[2], pixel[1], pixel[0]});
  }
  return image;
}

Image CaptureScreen() {
  return CaptureRect(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

Image CaptureWindow(const Window& window) { return CaptureRect(window.Rect()); }

Image CaptureClient(const Window& window) { return CaptureRect(window.ClientRect()); }

}  // namespace driver
