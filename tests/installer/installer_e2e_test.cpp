// The installer seen from outside, under Wine and Xvfb: its window, its
// default directory, its pixels and the ways it ends.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assets/pictures.h"
#include "runtime/loaded_windows.h"
#include "runtime/program.h"
#include "runtime/properties.h"
#include "runtime/runtime_error.h"
#include "tests/driver/driver.h"
#include "tests/installer/e2e_support.h"
#include "ui/control_ids.h"
#include "ui/main_window.h"

namespace {

using installer_e2e::Decoded;
using installer_e2e::Differences;
using installer_e2e::ExpectShows;
using installer_e2e::kTitle;
using installer_e2e::kTraceLine;
using installer_e2e::MovePointerAway;

constexpr char kDesignedCaption[] = "D:\\Mordakel";

// A run of the traced build unless another build is named.
class Installer : public installer_e2e::Installer {
 public:
  explicit Installer(const char* build = INSTALLER_TRACED) : installer_e2e::Installer(build) {}
};

driver::Rgb RgbOf(COLORREF colour) {
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    inputs.push_back(down);
  }
  for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
    INPUT up{};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = *it;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(up);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// ---- The default install directory ----------------------------------------

std::int64_t FreeMiBOfDriveD() {
  ULARGE_INTEGER to_caller{}, total{}, total_free{};
  if (!GetDiskFreeSpaceExA("d:", &to_caller, &total, &total_free)) return -1;
  return static_cast<std::int64_t>(total_free.QuadPart / 1048576);
}

std::string InstallDirOnStart() {
  Installer installer;
  const driver::Window label = installer.Window().Child(ui::kInstallDirLabelId);
  const std::string caption = label.Text();
  PostMessageA(installer.Window().Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.Process().WaitForExit(), 0);
  return caption;
}

// Run with the drive hooks of their ctest entries (see CMakeLists.txt).
TEST(DefaultDirectory, DriveDWithExactly1000MiBFree) {
  ASSERT_EQ(FreeMiBOfDriveD(), 1000);
  EXPECT_EQ(InstallDirOnStart(), "D:\\Tavrinex\\Dormivet");
}

TEST(DefaultDirectory, DriveDWith999MiBFree) {
  ASSERT_EQ(FreeMiBOfDriveD(), 999);
  EXPECT_EQ(InstallDirOnStart(), "C:\\Tavrinex\\Dormivet");
}

TEST(DefaultDirectory, NoDriveD) {
  ASSERT_EQ(FreeMiBOfDriveD(), -1);
  EXPECT_EQ(InstallDirOnStart(), "C:\\Tavrinex\\Dormivet");
}

// ---- The window at start ----------------------------------------------------

// From the process's start the window is watched without pause: the first
// time it is visible its label already holds the default directory.
TEST(MainWindow, TheDesignedCaptionIsNeverSeen) {
  Installer installer;
  driver::WindowQuery query;
  query.processId = installer.Process().Id();
  query.title = kTitle;
  std::string first_caption;
  driver::WaitUntil("the installer's window to be shown", [&] {
    const std::vector<driver::Window> windows = driver::TopLevelWindows(query);
    if (windows.empty()) return false;
    first_caption = windows.front().Child(ui::kInstallDirLabelId).Text();
    return true;
  });
  EXPECT_NE(first_caption, kDesignedCaption);
  EXPECT_EQ(first_caption, "C:\\Tavrinex\\Dormivet");
  PostMessageA(installer.Window().Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.Process().WaitForExit(), 0);
}

TEST(MainWindow, PlacedCentredAtTop300WithoutFrame) {
  Installer installer;
  const driver::Window window = installer.Window();
  const RECT rect = window.Rect();
  EXPECT_EQ(rect.right - rect.left, 250);
  EXPECT_EQ(rect.bottom - rect.top, 400);
  EXPECT_EQ(rect.top, 300);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 250) / 2);
  const RECT client = window.ClientRect();
  EXPECT_EQ(client.right - client.left, 250);
  EXPECT_EQ(client.bottom - client.top, 400);

  EXPECT_EQ(window.Text(), kTitle);
  EXPECT_NE(window.Style() & WS_POPUP, 0);
  EXPECT_EQ(window.Style() & (WS_CAPTION | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_SYSMENU |
                              WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_NE(window.ExStyle() & WS_EX_APPWINDOW, 0);  // its own taskbar button
  EXPECT_EQ(window.ExStyle() & WS_EX_TOPMOST, 0);
  EXPECT_EQ(GetWindow(window.Handle(), GW_OWNER), nullptr);

  PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.Process().WaitForExit(), 0);
}

TEST(MainWindow, ControlsAtStart) {
  Installer installer;
  const driver::Window window = installer.Window();
  const struct {
    int id;
    std::string text;
    bool visible;
  } cases[] = {
      {ui::kLogLabelId, "", true},
      {ui::kCloseLabelId, "×", true},
      {ui::kDirectoryTitleId, "安装目录：", true},
      {ui::kTitleLabelId, "安装程序", true},
      {ui::kInstallDirLabelId, "C:\\Tavrinex\\Dormivet", true},
      {ui::kInstallButtonId, "", true},
      {ui::kProgressBarId, "", false},
      {ui::kIconBoxId, "", false},
  };
  for (const auto& c : cases) {
    const driver::Window control = window.Child(c.id);
    EXPECT_EQ(control.Text(), c.text) << c.id;
    EXPECT_EQ(control.Visible(), c.visible) << c.id;
  }
  // The bar's figures, read as from the system's progress bar.
  const HWND bar = window.Child(ui::kProgressBarId).Handle();
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, 0), 0);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 100);

  PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.Process().WaitForExit(), 0);
}

TEST(MainWindow, EscapeDoesNotClose) {
  Installer installer;
  const driver::Window window = installer.Window();
  SetForegroundWindow(window.Handle());
  driver::Click(window, {125, 20});  // an empty part of the face: the window is active
  PressKeys({VK_ESCAPE});
  EXPECT_FALSE(driver::WaitFor([&] { return !window.Exists(); }, driver::Timeout(2000)));
  EXPECT_TRUE(installer.Process().Running());
  PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.Process().WaitForExit(), 0);
}

// ---- How it ends --------------------------------------------------------------

TEST(Closing, EveryCloseEndsWith0AndRunsTheExitHookOnceAfterTheWindow) {
  const struct {
    const char* how;
    void (*close)(const driver::Window& window);
  } cases[] = {
      {"the left button released over ×",
       [](const driver::Window& window) {
         const driver::Window mark = window.Child(ui::kCloseLabelId);
         driver::Click(mark, {6, 6});
       }},
      {"pressed elsewhere, released over ×",
       [](const driver::Window& window) {
         driver::Press(window, {125, 20});
         driver::Release(window.Child(ui::kCloseLabelId), {6, 6});
       }},
      {"Alt+F4",
       [](const driver::Window& window) {
         SetForegroundWindow(window.Handle());
         driver::Click(window, {125, 20});
         PressKeys({VK_MENU, VK_F4});
       }},
      {"the system's close command (taskbar)",
       [](const driver::Window& window) { PostMessageA(window.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"WM_CLOSE", [](const driver::Window& window) { PostMessageA(window.Handle(), WM_CLOSE, 0, 0); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    Installer installer;
    c.close(installer.Window());
    EXPECT_EQ(installer.Process().WaitForExit(), 0);
    EXPECT_EQ(installer.Trace(), kTraceLine);
  }
}

TEST(Closing, ABrokenProductIndexShowsTheRunTimeErrorAndEndsWithMinusOne) {
  const struct {
    const char* build;
    int code;
    const char* message;
  } cases[] = {
      {INSTALLER_INDEX_0, 4, "数组成员引用下标必须大于等于1"},
      {INSTALLER_INDEX_17, 1, "数组成员引用下标超出定义范围"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.build);
    Installer installer(c.build);
    const driver::Window box = driver::WaitForMessageBox("错误", installer.Process().Id());
    EXPECT_EQ(driver::MessageBoxText(box), std::string(rt::RuntimeErrorText(c.code, c.message).view()));
    // The error comes before the window is first shown.
    driver::WindowQuery query;
    query.processId = installer.Process().Id();
    query.title = kTitle;
    EXPECT_TRUE(driver::TopLevelWindows(query).empty());
    driver::PressButton(box, IDOK);
    EXPECT_EQ(installer.Process().WaitForExit(), -1);
    EXPECT_EQ(installer.Trace(), "");  // the exit hook did not run
  }
}

// ---- Pixels ---------------------------------------------------------------------

TEST(Pixels, TheInstallButtonShowsItsHotPictureUnderThePointer) {
  Installer installer;
  const driver::Window button = installer.Window().Child(ui::kInstallButtonId);
  MovePointerAway();
  ExpectShows(button, Decoded(assets::InstallButtonNormal), "install-button-normal");
  driver::MoveMouse(button, {110, 40});
  ExpectShows(button, Decoded(assets::InstallButtonHot), "install-button-hot");
  MovePointerAway();
  ExpectShows(button, Decoded(assets::InstallButtonNormal), "install-button-normal-again");
  PostMessageA(installer.Window().Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.Process().WaitForExit(), 0);
}

// The main window without the two covered panels and everything on them.
std::vector<rt::ControlDescription> WithoutCoveredPanels() {
  const auto& all = ui::MainWindow().controls;
  std::vector<std::string> removed{"图片框2_背景", "图片框3_背景"};
  std::vector<rt::ControlDescription> kept;
  for (const rt::ControlDescription& control : all) {
    const bool on_removed = control.parent && std::find(removed.begin(), removed.end(), control.parent) != removed.end();
    if (on_removed || std::find(removed.begin(), removed.end(), control.name) != removed.end()) {
      removed.push_back(control.name);
      continue;
    }
    kept.push_back(control);
  }
  return kept;
}

// Every pixel of the installer's client area is what a window without panels
// 2 and 3 shows, drawn by this test's own process: nothing of them shows.
TEST(Pixels, NothingOfTheCoveredPanelsIsVisible) {
  Installer installer;
  const driver::Window window = installer.Window();
  const std::string directory = window.Child(ui::kInstallDirLabelId).Text();
  MovePointerAway();

  static const std::vector<rt::ControlDescription> controls = WithoutCoveredPanels();
  ASSERT_EQ(controls.size() + 10, ui::MainWindow().controls.size());
  static const rt::WindowDescription face{.name = "无覆盖面板",
                                          .title = "expected face",
                                          .width = 250,
                                          .height = 400,
                                          .background = RGB(117, 184, 238),
                                          .icon_resource = nullptr,
                                          .controls = controls,
                                          .bindings = {}};
  rt::LoadWindow(face);
  const rt::WindowRef expected_window(face);
  expected_window.SetLeft(0);
  expected_window.SetTop(0);
  rt::ControlRef(face, ui::kInstallDirLabel).SetCaption(rt::Text(directory.c_str()));
  const driver::Window expected(expected_window.Handle());

  driver::Image actual, wanted;
  int differences = -1;
  const bool same = driver::WaitFor([&] {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    actual = driver::CaptureClient(window);
    wanted = driver::CaptureClient(expected);
    differences = Differences(actual, wanted);
    return differences == 0;
  });
  actual.SavePng(driver::ArtifactPath("installer-face.png"));
  if (!same) wanted.SavePng(driver::ArtifactPath("installer-face-expected.png"));
  EXPECT_TRUE(same) << differences << " pixels differ";
  rt::UnloadWindow(face);

  // And independently of that drawing: the face's blue inside its frame,
  // the frame at the edge, and the install button's own picture.
  EXPECT_EQ(actual.Pixel(3, 3), RgbOf(RGB(22, 131, 196)));
  EXPECT_EQ(actual.Pixel(248, 398), RgbOf(RGB(22, 131, 196)));
  EXPECT_EQ(actual.Pixel(0, 0), RgbOf(GetSysColor(COLOR_WINDOWFRAME)));
  EXPECT_EQ(actual.Pixel(249, 200), RgbOf(GetSysColor(COLOR_WINDOWFRAME)));
  const driver::Image normal = Decoded(assets::InstallButtonNormal);
  EXPECT_EQ(actual.Pixel(1 + 14 + 10, 1 + 255 + 10), normal.Pixel(10, 10));

  PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.Process().WaitForExit(), 0);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  rt::PrepareRuntime();  // this process draws the expected face with the runtime
  return RUN_ALL_TESTS();
}
