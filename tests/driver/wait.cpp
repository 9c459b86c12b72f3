#include <cstdio>

#include "tests/driver/driver.h"
#include "tests/driver/failure.h"

namespace driver {

bool WaitFor(const std::function<bool()>& done, Timeout timeout) {
  const ULONGLONG deadline = GetTickCount64() + timeout.milliseconds;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(20);
  }
}

std::string SecondsText(Timeout timeout) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.1f", timeout.milliseconds / 1000.0);
  return seconds;
}

void WaitUntil(const std::string& what, const std::function<bool()>& done, Timeout timeout,
               const std::function<std::string()>& seen) {
  if (WaitFor(done, timeout)) return;
  std::string message = "timed out after " + SecondsText(timeout) + " s waiting for " + what;
  if (seen) message += "; seen: " + seen();
  Fail(message);
}

}  // namespace driver
