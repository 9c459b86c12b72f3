// The figures of a progress bar: every written value is kept within
// 0..32767, and the bar shows its position kept within minimum..maximum.
#pragma once

#include <cstdint>

namespace rt {

inline constexpr std::int32_t kProgressLimit = 32767;

constexpr std::int32_t ClampProgressValue(std::int32_t value) {
  return value < 0 ? 0 : value > kProgressLimit ? kProgressLimit : value;
}

constexpr std::int32_t DisplayedProgress(std::int32_t minimum, std::int32_t maximum,
                                         std::int32_t position) {
  if (position > maximum) position = maximum;
  if (position < minimum) position = minimum;
  return position;
}

// The width in pixels of the filled part of a bar `width` pixels wide. An
// empty or inverted range shows nothing.
constexpr int ProgressFillWidth(int width, std::int32_t minimum, std::int32_t maximum,
                                std::int32_t position) {
  if (maximum <= minimum || width <= 0) return 0;
  const std::int64_t done = DisplayedProgress(minimum, maximum, position) - minimum;
  return static_cast<int>(done * width / (maximum - minimum));
}

}  // namespace rt
