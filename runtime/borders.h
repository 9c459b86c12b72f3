// Border styles, drawn by the runtime in the non-client area of a control.
#pragma once

#include <windows.h>

#include "runtime/window_description.h"

namespace rt {

// The width of the border on each side, in pixels.
int BorderWidth(BorderStyle style);

// Draws the border into the whole window rectangle `bounds` of dc.
void DrawBorder(HDC dc, RECT bounds, BorderStyle style);

}  // namespace rt
