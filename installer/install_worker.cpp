#include "installer/install_worker.h"

#include <atomic>

#include "installer/temporary_archive.h"
#include "payload/payload.h"
#include "runtime/bound_functions.h"
#include "runtime/message_box.h"
#include "runtime/program.h"
#include "runtime/shell_folders.h"
#include "runtime/threads.h"
#include "ui/archive_component.h"
#include "ui/main_window.h"

namespace installer {

namespace {

constexpr char kNotice[] =
    "由于系列正版软件都作了加壳加密处理\r\n如果部分杀毒软件提示警告，请允许即可！\r\n\r\n"
    "软件干净无毒无木马~~支持正版 谢谢大家\r\n"
    "软件安装好后，建议把安装的软件目录加入杀毒软件信任，再运行软件，以免影响部分功能使用。\r\n"
    "可以阅读软件安装说明";
constexpr char kWriteFailed[] =
    "写入失败！Windows7请以管理员身份运行，建议关闭杀毒，再重试\r\n《确定》后将关闭本安装程序";
constexpr char kInstallFailed[] =
    "安装失败！部分文件无法解压到安装目录。\r\n请关闭正在运行的软件，或点击安装目录选择其他位置后重试。";
constexpr char kWritingLog[] = "1.释放压缩包..";
constexpr char kExtractingLog[] = "2.开始解压..";
constexpr char kFailedLog[] = "3.安装失败";

// From the click that starts an installation until it has failed and said
// so; a successful one ends the installer.
std::atomic<bool> g_installing{false};

rt::Text InstallDir() { return ui::MainWindowControl(ui::kInstallDirLabel).Caption(); }

void SetLog(const char* text) { ui::MainWindowControl(ui::kLogLabel).SetCaption(text); }

// The installer is being closed: its ending decides everything from here,
// so this thread shows nothing more and waits for it.
void StopIfClosing() {
  if (rt::ClosingDown()) rt::ParkThread();
}

// The archive written to path, noted when this installation created the file.
bool WriteTemporaryArchive(const rt::Text& path, ExistingFile existing) {
  const ArchiveWrite result = WriteArchive(path, payload::PayloadArchive(), existing);
  if (result != ArchiveWrite::NotCreated) NoteCreatedArchive(path);
  return result == ArchiveWrite::Written;
}

// The temporary folder, else the install drive's root (where a "tool.zip"
// that is already there is not ours to replace). Empty when neither works.
rt::Text WriteArchiveSomewhere() {
  const rt::Text temp_folder = rt::SpecialFolder(rt::kTempFolder);
  // Without a temporary folder the path names the current drive's root,
  // where, as at the install drive's, a file that is there is not ours.
  const rt::Text primary = PrimaryArchivePath(temp_folder);
  if (WriteTemporaryArchive(primary, temp_folder.Empty() ? ExistingFile::Keep : ExistingFile::Replace)) {
    return primary;
  }
  const rt::Text fallback = FallbackArchivePath(InstallDir());
  if (WriteTemporaryArchive(fallback, ExistingFile::Keep)) return fallback;
  return rt::Text();
}

[[noreturn]] void ReportWriteFailure() {
  DeleteCreatedArchives();
  StopIfClosing();
  rt::ShowMessageBox(kWriteFailed);
  rt::Shutdown(0);
}

// Nothing of the completion happens: the user is told, and the window is
// ready for another try (another directory, the product closed).
void ReportInstallFailure() {
  SetLog(kFailedLog);
  const rt::ControlRef bar = ui::MainWindowControl(ui::kProgressBar);
  bar.SetVisible(false);
  bar.SetPosition(0);  // the next try starts from an empty bar
  DeleteCreatedArchives();
  StopIfClosing();
  rt::ShowMessageBox(kInstallFailed);
}

}  // namespace

void OnInstallButtonClicked() {
  if (g_installing.exchange(true)) return;
  rt::ShowMessageBox(kNotice);
  // The window was closed while the notice was up.
  if (rt::ClosingDown() || !rt::StartThread(InstallWorker)) g_installing = false;
}

void InstallWorker() {
  rt::bound::CoInitialize(nullptr);  // for the shell link made at completion, on this thread
  ForgetCreatedArchives();
  SetLog(kWritingLog);
  const rt::Text archive = WriteArchiveSomewhere();
  if (archive.Empty()) ReportWriteFailure();

  ui::MainWindowControl(ui::kProgressBar).SetVisible(true);
  SetLog(kExtractingLog);
  ui::ArchiveComponent().Extract(archive, InstallDir());
  // A successful extraction never comes back: its final report ends the
  // installer. Whatever returns here failed (also without any report of 100).
  ReportInstallFailure();
  rt::bound::CoUninitialize();
  g_installing = false;
}

}  // namespace installer
