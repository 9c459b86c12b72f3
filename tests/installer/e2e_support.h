// What the installer's end-to-end tests share: a run of a build of the
// installer with its exit-hook trace, and its pictures as the screen shows them.
#pragma once

#include <optional>
#include <string>

#include "assets/pictures.h"
#include "tests/driver/driver.h"

namespace installer_e2e {

inline constexpr char kTitle[] = "Mordakel - 安装程序";
// What the exit hook of a traced build writes when it runs as it should.
inline constexpr char kTraceLine[] = "exit hook: ui thread yes, main window gone\n";

std::string ReadFile(const std::string& path);

// One run of a build of the installer, with its exit-hook trace. The options
// add to the environment the installer is given (the trace's path is set).
class Installer {
 public:
  explicit Installer(const char* build, driver::StartOptions options = {});

  driver::Process& Process() { return *process_; }
  driver::Window Window() { return process_->WaitForWindow(kTitle); }
  std::string Trace() const { return ReadFile(trace_); }

 private:
  std::string trace_;
  std::optional<driver::Process> process_;
};

// A picture as the runtime decodes it, pixel for pixel.
driver::Image Decoded(const assets::Picture& bytes);
// The number of pixels that differ (images of different sizes differ everywhere).
int Differences(const driver::Image& a, const driver::Image& b);
// Waits until the control's client area shows exactly `expected` (only its
// first `rows` rows when given: a control may lie over the rest); saves what
// it shows as <what>.png when it never does.
void ExpectShows(const driver::Window& control, const driver::Image& expected, const char* what,
                 int rows = -1);
// The pointer far from the installer's window.
void MovePointerAway();

}  // namespace installer_e2e
