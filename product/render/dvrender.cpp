#define DVRENDER_BUILD
#include "product/render/dvrender.h"

namespace {

// Owns one GDI object for the length of a drawing step.
class ScopedGdiObject {
 public:
  explicit ScopedGdiObject(HGDIOBJ object) : object_(object) {}
  ~ScopedGdiObject() {
    if (object_ != nullptr) DeleteObject(object_);
  }
  ScopedGdiObject(const ScopedGdiObject&) = delete;
  ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
  HGDIOBJ get() const { return object_; }

 private:
  HGDIOBJ object_;
};

int Blend(int from, int to, int step, int steps) {
  return from + (to - from) * step / steps;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void DvPaintBanner(HDC dc, const RECT* area, COLORREF color, const char* title) {
  if (dc == nullptr || area == nullptr) return;
  const int width = area->right - area->left;
  if (width <= 0) return;
  // Vertical stripes of 8 pixels are smooth enough and cheap to draw.
  const int steps = (width + 7) / 8;
  for (int i = 0; i < steps; ++i) {
    const COLORREF stripe = RGB(Blend(GetRValue(color), 255, i, steps + 1),
                                Blend(GetGValue(color), 255, i, steps + 1),
                                Blend(GetBValue(color), 255, i, steps + 1));
    ScopedGdiObject brush(CreateSolidBrush(stripe));
    RECT part{area->left + i * 8, area->top, area->left + (i + 1) * 8, area->bottom};
    if (part.right > area->right) part.right = area->right;
    FillRect(dc, &part, static_cast<HBRUSH>(brush.get()));
  }
  if (title != nullptr) {
    RECT text = *area;
    text.left += 16;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, title, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

COLORREF DvParseColor(const char* text, COLORREF fallback) {
  if (text == nullptr) return fallback;
  int value[6];
  for (int i = 0; i < 6; ++i) {
    value[i] = HexDigit(text[i]);
    if (value[i] < 0) return fallback;
  }
  if (text[6] != '\0') return fallback;
  return RGB(value[0] * 16 + value[1], value[2] * 16 + value[3], value[4] * 16 + value[5]);
}
