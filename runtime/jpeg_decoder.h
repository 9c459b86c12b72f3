// JPEG pictures decoded from memory with libjpeg.
#pragma once

#include <windows.h>

#include <cstddef>

namespace rt {

// Decodes a JPEG file's bytes into a new top-down 32-bit DIB section (blue,
// green, red, unused). Returns null for data libjpeg cannot decode.
HBITMAP DecodeJpeg(const unsigned char* data, std::size_t size, int* width, int* height);

}  // namespace rt
