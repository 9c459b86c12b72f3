#include "tests/driver/failure.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/driver/driver.h"

namespace driver {
namespace {

// One picture per failing test is enough: the first failure is the one that
// explains the rest.
struct FailureScreens {
  bool savedForThisTest = false;
  bool capturing = false;  // a failure while capturing must not capture again
};
FailureScreens& Screens() {
  static FailureScreens screens;
  return screens;
}

std::string ScreenFileName() {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "driver";
  for (char& c : name) {
    if (c == '/' || c == '\\' || c == ':') c = '_';
  }
  return name + ".png";
}

// The screen's path, or empty when it could not be saved.
std::string SaveFailureScreen() {
  FailureScreens& screens = Screens();
  if (screens.savedForThisTest || screens.capturing) return {};
  screens.capturing = true;
  std::string path;
  try {
    path = ArtifactPath(ScreenFileName());
    CaptureScreen().SavePng(path);
    screens.savedForThisTest = true;
  } catch (const std::exception&) {
    path.clear();
  }
  screens.capturing = false;
  return path;
}

// Also keeps the screen when a test's own assertion fails, while the test's
// windows are still there.
class ScreenOnFailure : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { Screens().savedForThisTest = false; }
  void OnTestPartResult(const testing::TestPartResult& result) override {
    if (!result.failed()) return;
    std::string path = SaveFailureScreen();
    if (!path.empty()) std::printf("[ driver   ] screen saved to %s\n", path.c_str());
  }
};

// Registered when the driver is linked, so every test that uses it gets the
// pictures without a main of its own.
[[maybe_unused]] const bool kListenerRegistered = [] {
  testing::UnitTest::GetInstance()->listeners().Append(new ScreenOnFailure);
  return true;
}();

}  // namespace

void Fail(const std::string& message) {
  std::string path = SaveFailureScreen();
  throw Failure(path.empty() ? message : message + "\n(screen saved to " + path + ")");
}

std::string ErrorText(DWORD error) {
  char text[512] = "";
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, 0, text, sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ')) {
    text[--length] = '\0';
  }
  return "error " + std::to_string(error) + (length ? ": " + ToUtf8(text) : std::string());
}

}  // namespace driver
