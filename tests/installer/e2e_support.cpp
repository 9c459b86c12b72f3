#include "tests/installer/e2e_support.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "runtime/picture.h"
#include "ui/control_ids.h"

namespace installer_e2e {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

Installer::Installer(const char* build, driver::StartOptions options) {
  static int runs = 0;
  trace_ = driver::ArtifactPath("exit-hook-" + std::to_string(++runs) + ".txt");
  DeleteFileA(trace_.c_str());
  options.environment.push_back({"INSTALLER_EXIT_HOOK_TRACE", trace_});
  process_.emplace(driver::Process::Start(driver::FromHostPath(build), options));
}

driver::Image Decoded(const assets::Picture& bytes) {
  const rt::Picture picture = rt::Picture::FromData({bytes.data, bytes.size});
  driver::Image image(picture.Width(), picture.Height());
  BITMAP bitmap{};
  GetObjectA(picture.Bitmap(), sizeof bitmap, &bitmap);
  const auto* bits = static_cast<const unsigned char*>(bitmap.bmBits);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      const unsigned char* p = bits + y * bitmap.bmWidthBytes + x * 4;
      image.SetPixel(x, y, {p[2], p[1], p[0]});
    }
  }
  return image;
}

int Differences(const driver::Image& a, const driver::Image& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return a.Width() * a.Height() + 1;
  int count = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) count += !(a.Pixel(x, y) == b.Pixel(x, y));
  }
  return count;
}

namespace {

driver::Image TopRows(const driver::Image& image, int rows) {
  if (rows < 0 || rows >= image.Height()) return image;
  driver::Image top(image.Width(), rows);
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < image.Width(); ++x) top.SetPixel(x, y, image.Pixel(x, y));
  }
  return top;
}

}  // namespace

void ExpectShows(const driver::Window& control, const driver::Image& expected, const char* what, int rows) {
  int differences = -1;
  const driver::Image wanted = TopRows(expected, rows);
  const bool shown = driver::WaitFor([&] {
    differences = Differences(TopRows(driver::CaptureClient(control), rows), wanted);
    return differences == 0;
  });
  if (!shown) driver::CaptureClient(control).SavePng(driver::ArtifactPath(std::string(what) + ".png"));
  EXPECT_TRUE(shown) << what << ": " << differences << " pixels differ";
}

void MovePointerAway() {
  driver::MoveMouse(driver::Window(GetDesktopWindow()), {GetSystemMetrics(SM_CXSCREEN) - 5, 5});
}

namespace {
driver::WindowQuery FolderBrowsers(const driver::Window& installer_window) {
  return {.processId = installer_window.ProcessId(), .title = kFolderBrowserTitle};
}
}  // namespace

driver::Window OpenFolderBrowser(const driver::Window& installer_window) {
  driver::Click(installer_window.Child(ui::kInstallDirLabelId), {20, 12});
  return driver::WaitForWindow(FolderBrowsers(installer_window));
}

void SelectFolder(const driver::Window& browser, const std::string& folder) {
  driver::SendWithRemoteString(browser, BFFM_SETSELECTIONA, TRUE, folder);
}

void ChooseFolder(const driver::Window& installer_window, const std::string& folder) {
  const driver::Window browser = OpenFolderBrowser(installer_window);
  SelectFolder(browser, folder);
  driver::PressButton(browser, IDOK);
  driver::WaitForNoWindow(FolderBrowsers(installer_window));
}

}  // namespace installer_e2e
