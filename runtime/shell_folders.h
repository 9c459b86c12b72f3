// Special folders of the system, as texts ending in a backslash.
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace rt {

inline constexpr std::int32_t kDesktopFolder = 3;  // the current user's desktop directory
inline constexpr std::int32_t kTempFolder = 11;    // the temporary folder

// The folder of that code, taken into a 260-byte buffer, with a backslash
// appended when the system's answer lacks one. Empty when the system call
// fails (a missing desktop directory is not created) or the code is unknown.
Text SpecialFolder(std::int32_t code);

}  // namespace rt
