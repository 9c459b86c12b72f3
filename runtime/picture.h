// A decoded picture: a JPEG as a 32-bit bitmap, or an icon file's image.
#pragma once

#include <windows.h>

#include "runtime/scoped.h"
#include "runtime/window_description.h"

namespace rt {

class Picture {
 public:
  Picture() = default;
  // JPEG data or an icon file; an empty picture when the bytes are neither or
  // cannot be decoded (it then draws nothing).
  static Picture FromData(PictureData data);

  bool Empty() const { return !bitmap_ && !icon_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  HBITMAP Bitmap() const { return bitmap_.get(); }

  // Draws the picture into dest, scaled when dest's size is not its own.
  void Draw(HDC dc, const RECT& dest) const;

 private:
  rt::Bitmap bitmap_;
  Icon icon_;
  int width_ = 0, height_ = 0;
};

}  // namespace rt
