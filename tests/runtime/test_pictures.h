// Pictures made by the tests themselves: one colour, known size.
#pragma once

#include <windows.h>

#include <vector>

namespace testpictures {

// A baseline JPEG (quality 100), made with libjpeg's encoder.
std::vector<unsigned char> SolidJpeg(int width, int height, COLORREF colour);

// An icon file with one 32-bit, fully opaque image of size x size.
std::vector<unsigned char> SolidIcon(int size, COLORREF colour);

}  // namespace testpictures
