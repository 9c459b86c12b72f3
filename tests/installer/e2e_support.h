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

// The folder browser that a press on 标签_安装目录 opens (Wine's title).
inline constexpr char kFolderBrowserTitle[] = "选择文件夹";
// Presses and releases the left button on 标签_安装目录 of the installer's
// window and waits for the folder browser that opens.
driver::Window OpenFolderBrowser(const driver::Window& installer_window);
// Selects a folder in the open browser by its path: BFFM_SETSELECTIONA with
// the path written into the browser's process (the browser's edit box does
// not navigate under Wine). OK then returns that folder.
void SelectFolder(const driver::Window& browser, const std::string& folder);
// Opens the browser, selects the folder and presses OK; waits until the
// browser has gone.
void ChooseFolder(const driver::Window& installer_window, const std::string& folder);

}  // namespace installer_e2e
