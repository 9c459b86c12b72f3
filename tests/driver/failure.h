// How the driver reports what went wrong (internal to the driver).
#pragma once

#include <windows.h>

#include <string>

#include "tests/driver/driver.h"

namespace driver {

// Saves the screen beside the test's output and throws Failure(message) with
// the picture's path appended.
[[noreturn]] void Fail(const std::string& message);

// "error N: <system text>" for a GetLastError code.
std::string ErrorText(DWORD error);

// "2.5" for a timeout of 2500 ms.
std::string SecondsText(Timeout timeout);

}  // namespace driver
