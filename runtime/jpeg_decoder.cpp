#include "runtime/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

namespace rt {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return:
// it jumps back into DecodeJpeg. Nothing between the setjmp and the jump
// owns a resource with a destructor, so the jump skips none.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void OnFatalError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

}  // namespace

HBITMAP DecodeJpeg(const unsigned char* data, std::size_t size, int* width, int* height) {
  if (!data || size == 0) return nullptr;
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = OnFatalError;
  errors.pub.output_message = IgnoreMessage;
  HBITMAP volatile bitmap = nullptr;  // read after a jump: must live in memory
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGRX;  // the DIB's own pixel layout
  jpeg_start_decompress(&info);

  const int w = static_cast<int>(info.output_width), h = static_cast<int>(info.output_height);
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof header.bmiHeader;
  header.bmiHeader.biWidth = w;
  header.bmiHeader.biHeight = -h;  // top-down, like the scanlines
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) {
    jpeg_destroy_decompress(&info);
    return nullptr;
  }
  auto* pixels = static_cast<unsigned char*>(bits);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels + static_cast<std::size_t>(info.output_scanline) * w * 4;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  *width = w;
  *height = h;
  return bitmap;
}

}  // namespace rt
