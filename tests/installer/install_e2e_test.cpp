// Installations from start to end under Wine and Xvfb, worked as a user
// would: the notice, the archive's two places, the extraction, the desktop
// shortcut, the question and the product started, and every way it can fail.
// Each test group runs with drives of its own (see CMakeLists.txt): D: a
// fresh writable drive, X: a read-only one, Y: one too small for the archive.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "product/app/window_ids.h"
#include "tests/driver/driver.h"
#include "tests/harness/harness_ids.h"
#include "tests/installer/e2e_support.h"
#include "tests/installer/shell_link_reader.h"
#include "tests/payload/test_folder.h"
#include "ui/control_ids.h"

namespace {

using installer_e2e::Decoded;
using installer_e2e::ExpectShows;
using installer_e2e::kTraceLine;
using installer_e2e::MovePointerAway;
using installer_e2e::ReadFile;

constexpr char kInfoTitle[] = "信息：";
constexpr char kNotice[] =
    "由于系列正版软件都作了加壳加密处理\r\n如果部分杀毒软件提示警告，请允许即可！\r\n\r\n"
    "软件干净无毒无木马~~支持正版 谢谢大家\r\n"
    "软件安装好后，建议把安装的软件目录加入杀毒软件信任，再运行软件，以免影响部分功能使用。\r\n"
    "可以阅读软件安装说明";
constexpr char kWriteFailed[] =
    "写入失败！Windows7请以管理员身份运行，建议关闭杀毒，再重试\r\n《确定》后将关闭本安装程序";
constexpr char kInstallFailed[] =
    "安装失败！部分文件无法解压到安装目录。\r\n请关闭正在运行的软件，或点击安装目录选择其他位置后重试。";
constexpr char kQuestionTitle[] = "温馨提示：";
constexpr char kQuestion[] = "安装完成！\r\n点<是>将启动软件\r\n点<否>不启动,可以在桌面启动软件";
constexpr char kShortcutMade[] = "3.创建快捷方式..成功";
constexpr char kWritingLog[] = "1.释放压缩包..";
constexpr char kFailedLog[] = "3.安装失败";

constexpr char kDefaultInstallDir[] = "D:\\Tavrinex\\Dormivet";
constexpr char kMissingFolder[] = "C:\\no such folder";

// An installation writes, extracts and starts programs under Wine: generous.
constexpr driver::Timeout kInstallTimeout = driver::Seconds(120);
// How long something that must not happen is given to happen anyway.
constexpr driver::Timeout kQuietPeriod = driver::Seconds(3);

// Paths compare without case, as Windows compares them.
std::string Lower(std::string text) {
  CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string TempFolder() {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return folder;
}

std::string DesktopFolder() {
  char folder[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, folder, CSIDL_DESKTOPDIRECTORY, FALSE);
  return folder;
}

std::string PayloadBytes() { return ReadFile(PAYLOAD_ZIP); }

// The folder the installer's executable lies in: its current directory.
std::string InstallerFolder() {
  std::string path = driver::FromHostPath(INSTALLER_TRACED);
  return path.substr(0, path.rfind('\\'));
}

// The installer's environment: TEMP and TMP both, since either may decide.
driver::StartOptions WithTemp(const std::optional<std::string>& temp) {
  driver::StartOptions options;
  if (temp) options.environment = {{"TEMP", *temp}, {"TMP", *temp}};
  return options;
}

// The message boxes of a process with that title, by their texts.
std::vector<std::string> BoxTexts(DWORD process, const char* title) {
  std::vector<std::string> texts;
  for (const driver::Window& box : driver::TopLevelWindows({.processId = process, .title = title,
                                                            .className = "#32770"})) {
    texts.push_back(driver::MessageBoxText(box));
  }
  return texts;
}

// One run of the traced installer, worked through its window.
class InstallerRun {
 public:
  explicit InstallerRun(driver::StartOptions options = {})
      : installer_(INSTALLER_TRACED, std::move(options)), window_(installer_.Window()) {}

  DWORD Id() { return installer_.Process().Id(); }
  const driver::Window& Window() const { return window_; }
  driver::Window Control(int id) const { return window_.Child(id); }
  std::string Log() const { return Control(ui::kLogLabelId).Text(); }
  bool BarVisible() const { return Control(ui::kProgressBarId).Visible(); }
  LRESULT BarPosition() const { return SendMessageA(Control(ui::kProgressBarId).Handle(), PBM_GETPOS, 0, 0); }
  std::string Trace() const { return installer_.Trace(); }
  int32_t WaitForExit() { return installer_.Process().WaitForExit(kInstallTimeout); }

  // The caption of 标签_安装目录 is the install directory: set as a window
  // text from this process, as any program could.
  void SetInstallDir(const std::string& directory) const {
    const driver::Window label = Control(ui::kInstallDirLabelId);
    SendMessageA(label.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(directory.c_str()));
    ASSERT_EQ(label.Text(), directory);
  }

  void ClickInstall() const { driver::Click(Control(ui::kInstallButtonId)); }

  // Clicks the install button, checks the notice and answers it. Gives the
  // tick count of the answer.
  DWORD StartInstallation() {
    ClickInstall();
    return AnswerNotice(driver::WaitForMessageBox(kInfoTitle, Id()));
  }

  // After a failure: the installation thread gives the button back right
  // after its message has gone, so a click at once may still be ignored.
  void RetryInstallation() {
    std::optional<driver::Window> notice;
    driver::WaitUntil("a notice after a click on the install button", [&] {
      ClickInstall();
      return driver::WaitFor([&] { return (notice = driver::FindMessageBox(kInfoTitle, Id())).has_value(); },
                             driver::Seconds(5));
    }, kInstallTimeout);
    AnswerNotice(*notice);
  }

  DWORD AnswerNotice(const driver::Window& notice) {
    EXPECT_EQ(driver::MessageBoxText(notice), kNotice);
    const DWORD answered = GetTickCount();
    driver::AnswerMessageBox(notice, IDOK);
    return answered;
  }

  driver::Window WaitForBox(const char* title) { return driver::WaitForMessageBox(title, Id(), kInstallTimeout); }

  // Waits for the question; checks its text and what the window shows meanwhile.
  driver::Window WaitForQuestion() {
    const driver::Window question = WaitForBox(kQuestionTitle);
    EXPECT_EQ(driver::MessageBoxText(question), kQuestion);
    EXPECT_EQ(Log(), kShortcutMade);
    EXPECT_TRUE(BarVisible());
    EXPECT_EQ(BarPosition(), 100);
    return question;
  }

  // An installation answered No, ended with 0.
  void InstallAnsweringNo() {
    StartInstallation();
    driver::AnswerMessageBox(WaitForQuestion(), IDNO);
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_EQ(Trace(), kTraceLine);
  }

 private:
  installer_e2e::Installer installer_;
  driver::Window window_;
};

// Message boxes are centred on the screen, over the installer's window.
void MoveAside(const driver::Window& box) {
  SetWindowPos(box.Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  driver::WaitUntil("the message box moved aside", [&] { return box.Rect().left == 0 && box.Rect().top == 0; });
}

// The install button's rows above the progress bar, which lies over its lower 8.
constexpr int kButtonRowsAboveBar = 72;

// The installed tree is the product folder the archive was made of, entry
// for entry and byte for byte (the demo product's eleven entries, or those
// of the folder the build was given).
void ExpectInstalled(const std::string& install_dir) {
  const std::string product = driver::FromHostPath(PAYLOAD_SOURCE_DIR);
  const std::vector<std::string> expected = testfs::ListTree(product);
  ASSERT_TRUE(std::find(expected.begin(), expected.end(), "Dormivet.exe") != expected.end()) << product;
  ASSERT_EQ(testfs::ListTree(install_dir), expected);
  for (const std::string& entry : expected) {
    if (entry.back() == '\\') continue;
    EXPECT_EQ(ReadFile(install_dir + "\\" + entry), ReadFile(product + "\\" + entry)) << entry;
  }
}

void ExpectShortcut(const std::string& file, const std::string& target) {
  const auto link = installer_test::ReadShellLink(file);
  ASSERT_TRUE(link) << file;
  EXPECT_EQ(link->path, target);
  EXPECT_EQ(link->show_command, SW_SHOW);
  EXPECT_EQ(link->arguments, "");
  EXPECT_EQ(link->working_directory, "");
  EXPECT_EQ(link->description, "");
}

// A program the installation started, seen through its window.
struct StartedProgram {
  driver::Window window;
  std::string title;
  std::string image;  // the executable's full path
};

StartedProgram WaitForStartedProgram(const std::vector<std::string>& titles) {
  StartedProgram started;
  driver::WaitUntil("a started program's window", [&] {
    for (const std::string& title : titles) {
      const std::vector<driver::Window> windows = driver::TopLevelWindows({.title = title});
      if (!windows.empty()) {
        started.window = windows.front();
        started.title = title;
        return true;
      }
    }
    return false;
  }, kInstallTimeout);
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, started.window.ProcessId());
  char image[MAX_PATH] = "";
  DWORD size = MAX_PATH;
  if (process) {
    QueryFullProcessImageNameA(process, 0, image, &size);
    CloseHandle(process);
  }
  started.image = image;
  return started;
}

void CloseProgram(const driver::Window& window) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, window.ProcessId());
  PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
  if (process) {
    EXPECT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
    CloseHandle(process);
  }
}

bool DormivetRunning() { return !driver::TopLevelWindows({.title = dormivet::kWindowTitle}).empty(); }

// ---- A full installation --------------------------------------------------

TEST(FullInstallation, AnsweredYesStartsTheInstalledProduct) {
  const std::string temp_archive = TempFolder() + "tool.zip";
  const std::string shortcut = DesktopFolder() + "\\Dormivet.lnk";
  DeleteFileA(shortcut.c_str());
  ASSERT_FALSE(Exists(kDefaultInstallDir));

  InstallerRun run;
  ASSERT_EQ(run.Control(ui::kInstallDirLabelId).Text(), kDefaultInstallDir);
  const DWORD answered = run.StartInstallation();
  const driver::Window question = run.WaitForQuestion();
  std::printf("A full installation took %lu ms (OK on the notice to the question).\n",
              static_cast<unsigned long>(GetTickCount() - answered));

  // While the question is up: the completion picture, also under the pointer.
  const driver::Window button = run.Control(ui::kInstallButtonId);
  const driver::Image done = Decoded(assets::DoneButtonPicture);
  MoveAside(question);
  MovePointerAway();
  ExpectShows(button, done, "done-normal", kButtonRowsAboveBar);
  driver::MoveMouse(button, {110, 40});
  ExpectShows(button, done, "done-hot", kButtonRowsAboveBar);
  MovePointerAway();
  EXPECT_EQ(PayloadBytes(), ReadFile(temp_archive));  // still there until the answer
  EXPECT_FALSE(DormivetRunning());

  driver::AnswerMessageBox(question, IDYES);
  const StartedProgram product = WaitForStartedProgram({dormivet::kWindowTitle});
  EXPECT_EQ(Lower(product.image), Lower(std::string(kDefaultInstallDir) + "\\Dormivet.exe"));
  EXPECT_EQ(product.window.Child(dormivet::kCommandLineId).Text(),
            std::string("\"") + kDefaultInstallDir + "\\Dormivet.exe\"");
  EXPECT_EQ(Lower(product.window.Child(dormivet::kWorkingDirectoryId).Text()), Lower(InstallerFolder()));
  EXPECT_EQ(run.WaitForExit(), 0);
  EXPECT_EQ(run.Trace(), kTraceLine);
  CloseProgram(product.window);

  ExpectInstalled(kDefaultInstallDir);
  ExpectShortcut(shortcut, std::string(kDefaultInstallDir) + "\\Dormivet.exe");
  EXPECT_FALSE(Exists(temp_archive));
}

TEST(FullInstallation, AnsweredNoStartsNothingAndFurtherClicksAreIgnored) {
  const std::string install_dir = "D:\\Answered No\\Dormivet";
  const std::string temp_archive = TempFolder() + "tool.zip";
  // An earlier file of that name in the temporary folder is replaced.
  testfs::MakeFile(temp_archive, std::string(PayloadBytes().size() * 2, 'x'));

  InstallerRun run;
  run.SetInstallDir(install_dir);
  run.StartInstallation();
  const driver::Window question = run.WaitForQuestion();
  EXPECT_EQ(PayloadBytes(), ReadFile(temp_archive));

  // The window stays usable under the question, but the install button
  // starts nothing more: no second notice.
  MoveAside(question);
  run.ClickInstall();
  run.ClickInstall();
  EXPECT_FALSE(driver::WaitFor([&] { return !BoxTexts(run.Id(), kInfoTitle).empty(); }, kQuietPeriod));

  driver::AnswerMessageBox(question, IDNO);
  EXPECT_EQ(run.WaitForExit(), 0);
  EXPECT_EQ(run.Trace(), kTraceLine);
  EXPECT_FALSE(DormivetRunning());
  ExpectInstalled(install_dir);
  EXPECT_FALSE(Exists(temp_archive));
}

// ---- Where the archive goes ---------------------------------------------------

TEST(TemporaryArchive, AnUnwritableTemporaryFolderSendsItToTheInstallDrivesRoot) {
  const struct {
    const char* why;
    const char* temp;
    std::string install_dir;
  } cases[] = {
      {"a missing folder", kMissingFolder, "D:\\Missing temp\\Dormivet"},
      {"a read-only drive", "X:\\", "D:\\Read-only temp\\Dormivet"},
      // The primary write stops part-way: that file is this run's as well.
      {"a drive too small for the archive", "Y:\\", "D:\\Full temp\\Dormivet"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const std::string& install_dir = c.install_dir;
    InstallerRun run(WithTemp(c.temp));
    run.SetInstallDir(install_dir);
    run.StartInstallation();
    const driver::Window question = run.WaitForQuestion();
    EXPECT_EQ(ReadFile("D:\\tool.zip"), PayloadBytes());
    driver::AnswerMessageBox(question, IDNO);
    EXPECT_EQ(run.WaitForExit(), 0);
    ExpectInstalled(install_dir);
    EXPECT_FALSE(Exists("D:\\tool.zip"));
    EXPECT_FALSE(Exists("Y:\\tool.zip"));
  }
}

TEST(TemporaryArchive, AToolZipAlreadyAtTheDriveRootIsNeverTouched) {
  const std::string theirs = "someone else's archive, not the installer's";
  testfs::MakeFile("D:\\tool.zip", theirs);

  // The temporary folder takes the archive; the completion leaves the root alone.
  {
    InstallerRun run;
    run.SetInstallDir("D:\\Beside theirs\\Dormivet");
    run.InstallAnsweringNo();
    EXPECT_EQ(ReadFile("D:\\tool.zip"), theirs);
  }
  // Without a temporary folder the root is the only place, and it is taken.
  {
    InstallerRun run(WithTemp(kMissingFolder));
    run.SetInstallDir("D:\\Refused\\Dormivet");
    run.StartInstallation();
    EXPECT_EQ(driver::MessageBoxText(run.WaitForBox(kInfoTitle)), kWriteFailed);
    driver::AnswerMessageBox(run.WaitForBox(kInfoTitle), IDOK);
    EXPECT_EQ(run.WaitForExit(), 0);
    EXPECT_EQ(ReadFile("D:\\tool.zip"), theirs);
    EXPECT_FALSE(Exists("D:\\Refused"));
  }
  DeleteFileA("D:\\tool.zip");
}

TEST(TemporaryArchive, NeitherPlaceWritableEndsAfterTheWriteFailure) {
  const struct {
    const char* why;
    const char* install_dir;
  } cases[] = {
      {"a read-only install drive", "X:\\Tavrinex\\Dormivet"},
      {"an empty install directory", ""},
      {"a network install directory", "\\\\server\\share\\Dormivet"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    InstallerRun run(WithTemp(kMissingFolder));
    run.SetInstallDir(c.install_dir);
    run.StartInstallation();
    const driver::Window box = run.WaitForBox(kInfoTitle);
    EXPECT_EQ(BoxTexts(run.Id(), kInfoTitle), std::vector<std::string>{kWriteFailed});
    EXPECT_EQ(run.Log(), kWritingLog);
    EXPECT_FALSE(run.BarVisible());
    driver::AnswerMessageBox(box, IDOK);
    EXPECT_EQ(run.WaitForExit(), 0);
    EXPECT_EQ(run.Trace(), kTraceLine);
  }
  EXPECT_EQ(testfs::ListFolder("X:\\"), std::vector<std::string>{});
}

// ---- Failures and retries -------------------------------------------------------

// The failure as the window shows it while its message is up: no completion.
void ExpectFailureShown(InstallerRun& run, const std::string& temp_archive) {
  MoveAside(run.WaitForBox(kInfoTitle));
  EXPECT_EQ(BoxTexts(run.Id(), kInfoTitle), std::vector<std::string>{kInstallFailed});
  EXPECT_TRUE(BoxTexts(run.Id(), kQuestionTitle).empty());
  EXPECT_EQ(run.Log(), kFailedLog);
  EXPECT_FALSE(run.BarVisible());
  EXPECT_TRUE(run.Window().Enabled());
  EXPECT_FALSE(Exists(temp_archive));
  MovePointerAway();
  ExpectShows(run.Control(ui::kInstallButtonId), Decoded(assets::InstallButtonNormal), "failed-button");
}

TEST(Failure, TheProductInUseFailsAndInstallingAgainAfterwardsCompletes) {
  const std::string temp_archive = TempFolder() + "tool.zip";
  const std::string shortcut = DesktopFolder() + "\\Dormivet.lnk";
  // Named: with the first installation on it, D: has less than 1000 MiB free.
  const std::string install_dir = "D:\\In use\\Dormivet";
  const std::string executable = install_dir + "\\Dormivet.exe";
  {
    InstallerRun first;
    first.SetInstallDir(install_dir);
    first.InstallAnsweringNo();
  }
  DeleteFileA(shortcut.c_str());

  // The installed product runs: its executable cannot be written.
  driver::Process product = driver::Process::Start(executable);
  product.WaitForWindow(std::string(dormivet::kWindowTitle));

  InstallerRun run;
  run.SetInstallDir(install_dir);
  run.StartInstallation();
  ExpectFailureShown(run, temp_archive);
  EXPECT_FALSE(Exists(shortcut));

  // The button is ignored while the failure is reported.
  run.ClickInstall();
  EXPECT_FALSE(driver::WaitFor([&] { return BoxTexts(run.Id(), kInfoTitle).size() > 1; }, kQuietPeriod));
  driver::AnswerMessageBox(run.WaitForBox(kInfoTitle), IDOK);
  EXPECT_TRUE(run.Window().Visible());
  EXPECT_EQ(run.Log(), kFailedLog);

  CloseProgram(product.WaitForWindow(std::string(dormivet::kWindowTitle)));
  EXPECT_EQ(product.WaitForExit(), 0);

  // Installing again now completes.
  run.RetryInstallation();
  driver::AnswerMessageBox(run.WaitForQuestion(), IDNO);
  EXPECT_EQ(run.WaitForExit(), 0);
  EXPECT_EQ(run.Trace(), kTraceLine);
  ExpectInstalled(install_dir);
  ExpectShortcut(shortcut, executable);
  EXPECT_FALSE(Exists(temp_archive));
}

// The extraction fails before its first entry and never reports 100.
TEST(Failure, AnInstallDirectoryThatCannotBeMadeFails) {
  const std::string temp_archive = TempFolder() + "tool.zip";
  InstallerRun run;
  run.SetInstallDir("X:\\Tavrinex\\Dormivet");
  run.StartInstallation();
  ExpectFailureShown(run, temp_archive);
  driver::AnswerMessageBox(run.WaitForBox(kInfoTitle), IDOK);
  EXPECT_TRUE(run.Window().Visible());

  // Another directory, and it completes.
  run.SetInstallDir("D:\\Second try\\Dormivet");
  run.RetryInstallation();
  driver::AnswerMessageBox(run.WaitForQuestion(), IDNO);
  EXPECT_EQ(run.WaitForExit(), 0);
  ExpectInstalled("D:\\Second try\\Dormivet");
}

// ---- Closing the installer while it works -------------------------------------

TEST(Closing, WhileTheQuestionIsOpenEndsAtOnceAndStartsNothing) {
  const std::string temp_archive = TempFolder() + "tool.zip";
  InstallerRun run;
  run.SetInstallDir("D:\\Closed\\Dormivet");
  run.StartInstallation();
  run.WaitForQuestion();
  PostMessageA(run.Window().Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(run.WaitForExit(), 0);
  EXPECT_EQ(run.Trace(), kTraceLine);
  EXPECT_FALSE(DormivetRunning());
  // Nothing after the question ran: the archive is where it was written.
  EXPECT_TRUE(Exists(temp_archive));
  DeleteFileA(temp_archive.c_str());
}

TEST(Closing, WhileTheNoticeIsOpenNothingIsWritten) {
  const std::string temp_archive = TempFolder() + "tool.zip";
  DeleteFileA(temp_archive.c_str());
  InstallerRun run;
  run.ClickInstall();
  run.WaitForBox(kInfoTitle);
  PostMessageA(run.Window().Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(run.WaitForExit(), 0);
  EXPECT_EQ(run.Trace(), kTraceLine);
  EXPECT_FALSE(Exists(temp_archive));
}

// Wherever the installation thread stands when the window goes, it raises
// nothing of its own: no failure message, no run-time error, exit code 0.
TEST(Closing, DuringTheInstallationEndsWith0) {
  for (int round = 1; round <= 3; ++round) {
    SCOPED_TRACE(round);
    InstallerRun run;
    run.SetInstallDir("D:\\Interrupted " + std::to_string(round) + "\\Dormivet");
    run.StartInstallation();
    PostMessageA(run.Window().Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0);
    EXPECT_EQ(run.Trace(), kTraceLine);
  }
  EXPECT_FALSE(DormivetRunning());
  DeleteFileA((TempFolder() + "tool.zip").c_str());
}

// ---- Paths ----------------------------------------------------------------------

// The desktop directory of the prefix's user, changed for one test.
class DesktopFolderSetting {
 public:
  explicit DesktopFolderSetting(const std::string& folder) {
    for (Value& value : values_) {
      RegCreateKeyExA(HKEY_CURRENT_USER, value.key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &value.handle,
                      nullptr);
      DWORD size = sizeof value.saved;
      value.had = RegQueryValueExA(value.handle, "Desktop", nullptr, &value.type,
                                   reinterpret_cast<BYTE*>(value.saved), &size) == ERROR_SUCCESS;
      value.size = size;
      RegSetValueExA(value.handle, "Desktop", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>(folder.size() + 1));
    }
  }
  ~DesktopFolderSetting() {
    for (Value& value : values_) {
      if (value.had) {
        RegSetValueExA(value.handle, "Desktop", 0, value.type, reinterpret_cast<const BYTE*>(value.saved),
                       value.size);
      } else {
        RegDeleteValueA(value.handle, "Desktop");
      }
      RegCloseKey(value.handle);
    }
  }
  DesktopFolderSetting(const DesktopFolderSetting&) = delete;
  DesktopFolderSetting& operator=(const DesktopFolderSetting&) = delete;

 private:
  struct Value {
    const char* key;
    HKEY handle = nullptr;
    bool had = false;
    DWORD type = REG_SZ;
    char saved[MAX_PATH * 2] = "";
    DWORD size = 0;
  };
  Value values_[2] = {{"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"},
                      {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"}};
};

TEST(Paths, ADesktopFolderWithADotStillGetsDormivetLnk) {
  const std::string desktop = "D:\\users\\john.doe\\Desktop";
  testfs::RemoveTree("D:\\users");
  CreateDirectoryA("D:\\users", nullptr);
  CreateDirectoryA("D:\\users\\john.doe", nullptr);
  CreateDirectoryA(desktop.c_str(), nullptr);
  const DesktopFolderSetting setting(desktop);
  ASSERT_EQ(DesktopFolder(), desktop);

  InstallerRun run;
  run.SetInstallDir("D:\\Dotted desktop\\Dormivet");
  run.InstallAnsweringNo();
  EXPECT_EQ(testfs::ListFolder(desktop), std::vector<std::string>{"Dormivet.lnk"});
  ExpectShortcut(desktop + "\\Dormivet.lnk", "D:\\Dotted desktop\\Dormivet\\Dormivet.exe");
}

TEST(Paths, AnInstallDirectoryWithASpaceStartsTheInstalledProductOnly) {
  // A program where an unquoted command line would look first.
  ASSERT_TRUE(CopyFileA(driver::FromHostPath(HARNESS_APP).c_str(), "D:\\My.exe", FALSE));
  const std::string install_dir = "D:\\My Soft\\Dormivet";

  InstallerRun run;
  run.SetInstallDir(install_dir);
  run.StartInstallation();
  driver::AnswerMessageBox(run.WaitForQuestion(), IDYES);
  const StartedProgram started = WaitForStartedProgram({dormivet::kWindowTitle, harness::kTitle});
  EXPECT_EQ(started.title, dormivet::kWindowTitle);
  EXPECT_EQ(Lower(started.image), Lower(install_dir + "\\Dormivet.exe"));
  EXPECT_EQ(started.window.Child(dormivet::kCommandLineId).Text(), "\"" + install_dir + "\\Dormivet.exe\"");
  EXPECT_EQ(run.WaitForExit(), 0);
  EXPECT_TRUE(driver::TopLevelWindows({.title = harness::kTitle}).empty());
  CloseProgram(started.window);
  DeleteFileA("D:\\My.exe");
}

// ---- A chosen place ----------------------------------------------------------

// The folder picked in the browser takes the installation, with the
// product's name added and no brand folder.
TEST(ChosenPlace, TheInstallationGoesToTheChosenFolder) {
  testfs::RemoveTree("E:\\Soft");
  ASSERT_TRUE(CreateDirectoryA("E:\\Soft", nullptr));
  const std::string install_dir = "E:\\Soft\\Dormivet";
  const std::string shortcut = DesktopFolder() + "\\Dormivet.lnk";
  DeleteFileA(shortcut.c_str());

  InstallerRun run;
  installer_e2e::ChooseFolder(run.Window(), "E:\\Soft");
  driver::WaitForText(run.Control(ui::kInstallDirLabelId), install_dir);
  run.InstallAnsweringNo();

  ExpectInstalled(install_dir);
  ExpectShortcut(shortcut, install_dir + "\\Dormivet.exe");
  EXPECT_FALSE(Exists("C:\\Tavrinex"));  // the default place (this prefix has no drive D:)
  EXPECT_FALSE(Exists("E:\\tool.zip"));
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  CoInitialize(nullptr);  // the shortcuts are read through the shell's link object
  return RUN_ALL_TESTS();
}
