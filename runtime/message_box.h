// The program's message box.
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace rt {

// Shows text in a message box with no owner window and waits for the answer.
// The flags are MessageBoxA's; MB_TASKMODAL is added unless MB_SYSTEMMODAL is
// among them, so the box disables the top-level windows of the calling thread
// only (from a worker thread the main window stays usable). The title is
// "信息：" when none is given. The answer is the button's id minus one (OK 0,
// Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5, No 6), and 0 when the box
// cannot be shown.
std::int32_t ShowMessageBox(const Text& text, std::uint32_t flags = 0, const char* title = nullptr);

}  // namespace rt
