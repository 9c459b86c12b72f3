#include "runtime/display_mode.h"

namespace rt {

RECT PictureRect(DisplayMode mode, int box_width, int box_height, int picture_width,
                 int picture_height) {
  switch (mode) {
    case DisplayMode::Natural:
      return {0, 0, picture_width, picture_height};
    case DisplayMode::Stretch:
      return {0, 0, box_width, box_height};
    case DisplayMode::Fit:
      break;
  }
  int width = picture_width, height = picture_height;
  if (width > box_width || height > box_height) {
    // Scale by the smaller ratio, computed exactly: box_width / width is the
    // smaller one when box_width * height <= box_height * width.
    if (static_cast<long long>(box_width) * height <= static_cast<long long>(box_height) * width) {
      height = static_cast<int>(static_cast<long long>(height) * box_width / width);
      width = box_width;
    } else {
      width = static_cast<int>(static_cast<long long>(width) * box_height / height);
      height = box_height;
    }
  }
  const int left = (box_width - width) / 2, top = (box_height - height) / 2;
  return {left, top, left + width, top + height};
}

}  // namespace rt
