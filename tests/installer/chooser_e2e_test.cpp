// The install location chosen with the real folder browser, under Wine and
// Xvfb. Drive E: is a folder of the test's own (see CMakeLists.txt).
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "tests/driver/driver.h"
#include "tests/installer/e2e_support.h"
#include "ui/control_ids.h"

namespace {

using installer_e2e::kTitle;

constexpr char kBrowseText[] = "请选择安装位置";
// Thai: no character of it is in the ANSI code page.
constexpr wchar_t kUnspellableFolder[] = L"E:\\\u0e01\u0e02";

// Empties a folder, leaving the folder itself. Wide, for names the ANSI code
// page cannot spell.
void EmptyFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      EmptyFolder(path);
      RemoveDirectoryW(path.c_str());
    } else {
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// Drive E: with E:\Soft and E:\Soft\Dormivet, and nothing else.
void PrepareDriveE() {
  ASSERT_EQ(GetDriveTypeA("E:\\"), static_cast<UINT>(DRIVE_FIXED)) << "drive E: is not mapped";
  EmptyFolder(L"E:");
  ASSERT_TRUE(CreateDirectoryA("E:\\Soft", nullptr));
  ASSERT_TRUE(CreateDirectoryA("E:\\Soft\\Dormivet", nullptr));
  ASSERT_TRUE(CreateDirectoryW(kUnspellableFolder, nullptr));
}

bool HasChildWithText(const driver::Window& window, const std::string& text) {
  for (const driver::Window& child : window.Children()) {
    if (child.Text() == text) return true;
  }
  return false;
}

// Selects a folder by its wide path, for names the ANSI code page cannot spell.
void SelectWide(const driver::Window& browser, const wchar_t* folder) {
  // The driver adds one NUL byte; the extra one completes a wide NUL.
  std::string bytes(reinterpret_cast<const char*>(folder), std::wcslen(folder) * sizeof(wchar_t));
  bytes += '\0';
  driver::SendWithRemoteString(browser, BFFM_SETSELECTIONW, TRUE, bytes);
}

TEST(ChooseLocation, TheChosenFolderAndTheProductNameBecomeTheInstallDirectory) {
  ASSERT_NO_FATAL_FAILURE(PrepareDriveE());
  driver::Process installer = driver::Process::Start(driver::FromHostPath(INSTALLER));
  const driver::Window window = installer.WaitForWindow(kTitle);
  const driver::Window label = window.Child(ui::kInstallDirLabelId);
  const driver::WindowQuery browsers{.processId = installer.Id(), .title = installer_e2e::kFolderBrowserTitle};

  std::string caption = label.Text();
  EXPECT_EQ(caption, "C:\\Tavrinex\\Dormivet");  // this prefix has no drive D:

  const struct {
    const char* what;
    const char* folder;         // selected by its ANSI path, or
    const wchar_t* wide_folder;  // by its wide path
    int button;
    const char* caption;
  } steps[] = {
      {"a folder", "E:\\Soft", nullptr, IDOK, "E:\\Soft\\Dormivet"},
      {"the drive's root", "E:\\", nullptr, IDOK, "E:\\Dormivet"},
      {"a folder that already ends in the product's name", "E:\\Soft\\Dormivet", nullptr, IDOK,
       "E:\\Soft\\Dormivet\\Dormivet"},
      {"a folder selected, then cancel", "E:\\Soft", nullptr, IDCANCEL, "E:\\Soft\\Dormivet\\Dormivet"},
      {"cancel at once", nullptr, nullptr, IDCANCEL, "E:\\Soft\\Dormivet\\Dormivet"},
      {"a folder whose name the code page cannot spell", nullptr, kUnspellableFolder, IDOK,
       "E:\\Soft\\Dormivet\\Dormivet"},
      {"a folder after all that", "E:\\Soft", nullptr, IDOK, "E:\\Soft\\Dormivet"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    const driver::Window browser = installer_e2e::OpenFolderBrowser(window);
    // Presses are handled one after another on the one UI thread: with a new
    // browser open, the last step's handler has returned and its caption stands.
    EXPECT_EQ(label.Text(), caption);
    EXPECT_EQ(GetWindow(browser.Handle(), GW_OWNER), window.Handle());
    EXPECT_FALSE(window.Enabled()) << "the browser is modal to the main window";
    EXPECT_TRUE(HasChildWithText(browser, kBrowseText));

    if (step.folder) installer_e2e::SelectFolder(browser, step.folder);
    if (step.wide_folder) SelectWide(browser, step.wide_folder);
    driver::PressButton(browser, step.button);
    driver::WaitForNoWindow(browsers);
    driver::WaitForText(label, step.caption);
    driver::WaitUntil("the main window to be enabled again", [&] { return window.Enabled(); });
    caption = step.caption;
  }
  // The last step chose a folder, so its caption was awaited, not assumed.

  PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.WaitForExit(), 0);
}

}  // namespace
