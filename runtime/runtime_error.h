// The run-time error report: the box that ends the program when a rule of the
// form runtime is broken (a bad array index, a window that is not loaded,
// exhausted memory, a Windows function that cannot be bound).
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace rt {

// The report's text: the heading, the code line unless code is 0, the message
// line unless the message is empty.
Text RuntimeErrorText(int32_t code, const Text& message);

// Shows the report (title "错误", stop icon, OK) and ends the process with
// exit code -1; the exit hook does not run. Never returns.
[[noreturn]] void ReportRuntimeError(int32_t code, const Text& message);

}  // namespace rt
