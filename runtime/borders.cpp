#include "runtime/borders.h"

#include "runtime/scoped.h"

namespace rt {

int BorderWidth(BorderStyle style) {
  switch (style) {
    case BorderStyle::None:
      return 0;
    case BorderStyle::ThinSunken:
    case BorderStyle::SingleLine:
      return 1;
    case BorderStyle::Sunken:
    case BorderStyle::Raised:
    case BorderStyle::SunkenRaised:
      return 2;
  }
  return 0;
}

void DrawBorder(HDC dc, RECT bounds, BorderStyle style) {
  switch (style) {
    case BorderStyle::None:
      return;
    case BorderStyle::Sunken:
      DrawEdge(dc, &bounds, EDGE_SUNKEN, BF_RECT);
      return;
    case BorderStyle::Raised:
      DrawEdge(dc, &bounds, EDGE_RAISED, BF_RECT);
      return;
    case BorderStyle::ThinSunken:
      DrawEdge(dc, &bounds, BDR_SUNKENOUTER, BF_RECT);
      return;
    case BorderStyle::SunkenRaised:  // a sunken outer ring around a raised inner one
      DrawEdge(dc, &bounds, EDGE_ETCHED, BF_RECT);
      return;
    case BorderStyle::SingleLine: {
      const Brush line(CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME)));
      FrameRect(dc, &bounds, line.get());
      return;
    }
  }
}

}  // namespace rt
