// Where a picture box draws its picture, by display mode.
#pragma once

#include <windows.h>

#include "runtime/window_description.h"

namespace rt {

// The rectangle, in the box's client coordinates, that the picture is drawn
// into (the box clips it). Halves are truncated toward zero.
RECT PictureRect(DisplayMode mode, int box_width, int box_height, int picture_width,
                 int picture_height);

}  // namespace rt
