#include "tests/runtime/test_pictures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace testpictures {

std::vector<unsigned char> SolidJpeg(int width, int height, COLORREF colour) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
  for (int x = 0; x < width; ++x) {
    row[x * 3] = GetRValue(colour), row[x * 3 + 1] = GetGValue(colour), row[x * 3 + 2] = GetBValue(colour);
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<unsigned char> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

std::vector<unsigned char> SolidIcon(int size, COLORREF colour) {
  const std::size_t pixels = static_cast<std::size_t>(size) * size * 4;
  const std::size_t mask = static_cast<std::size_t>((size + 31) / 32 * 4) * size;
  const std::size_t image = sizeof(BITMAPINFOHEADER) + pixels + mask;
  std::vector<unsigned char> file(6 + 16 + image, 0);
  file[2] = 1, file[4] = 1;  // icon, one image
  unsigned char* entry = file.data() + 6;
  entry[0] = entry[1] = static_cast<unsigned char>(size);
  entry[4] = 1, entry[6] = 32;
  const DWORD bytes = static_cast<DWORD>(image), offset = 22;
  std::memcpy(entry + 8, &bytes, 4);
  std::memcpy(entry + 12, &offset, 4);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = size;
  header.biHeight = size * 2;  // colour and mask
  header.biPlanes = 1;
  header.biBitCount = 32;
  std::memcpy(file.data() + offset, &header, sizeof header);
  unsigned char* p = file.data() + offset + sizeof header;
  for (std::size_t i = 0; i < pixels; i += 4) {
    p[i] = GetBValue(colour), p[i + 1] = GetGValue(colour), p[i + 2] = GetRValue(colour), p[i + 3] = 255;
  }
  return file;
}

}  // namespace testpictures
