#include "installer/completion.h"

#include <windows.h>

#include "assets/pictures.h"
#include "installer/installer_state.h"
#include "installer/shortcut.h"
#include "installer/start_program.h"
#include "installer/temporary_archive.h"
#include "runtime/message_box.h"
#include "runtime/program.h"
#include "runtime/shell_folders.h"
#include "ui/archive_component.h"
#include "ui/main_window.h"

namespace installer {

namespace {

constexpr char kShortcutMade[] = "3.创建快捷方式..成功";
constexpr char kShortcutNotMade[] = "3.创建快捷方式..失败";
constexpr char kQuestion[] = "安装完成！\r\n点<是>将启动软件\r\n点<否>不启动,可以在桌面启动软件";
constexpr char kQuestionTitle[] = "温馨提示：";
constexpr std::uint32_t kQuestionFlags = MB_YESNO | MB_ICONINFORMATION;  // 68
constexpr std::int32_t kAnswerYes = 5;

rt::Text InstallDir() { return ui::MainWindowControl(ui::kInstallDirLabel).Caption(); }

[[noreturn]] void CompleteInstallation() {
  const rt::PictureData done{assets::DoneButtonPicture.data, assets::DoneButtonPicture.size};
  const rt::ControlRef button = ui::MainWindowControl(ui::kInstallButton);
  button.SetPicture(rt::PictureSlot::Normal, done);
  button.SetPicture(rt::PictureSlot::Hot, done);

  const rt::Text product = State().ProductName;
  const rt::Text link = LinkName(rt::SpecialFolder(rt::kDesktopFolder), product);
  const bool made = CreateShortcut(link, ProductExecutable(InstallDir(), product)) == 1;
  ui::MainWindowControl(ui::kLogLabel).SetCaption(made ? kShortcutMade : kShortcutNotMade);

  // Closed meanwhile: the ending decides, no question is asked.
  if (rt::ClosingDown()) rt::ParkThread();
  const std::int32_t answer = rt::ShowMessageBox(kQuestion, kQuestionFlags, kQuestionTitle);
  if (rt::ClosingDown()) rt::ParkThread();
  if (answer == kAnswerYes) StartProgram(ProductExecutable(InstallDir(), product));

  ui::MainWindowControl(ui::kProgressBar).SetVisible(false);
  DeleteCreatedArchives();
  rt::Shutdown(0);
}

}  // namespace

std::int32_t BarPosition(std::int32_t maximum, std::int32_t percent) {
  // Each step stored as a double: the x87 unit of a 32-bit build would keep
  // it wider (3 / 100.0 * 100 would give 2).
  const volatile double step = maximum / 100.0;
  const volatile double position = step * percent;
  return static_cast<std::int32_t>(static_cast<std::int64_t>(position));
}

rt::Text ProductExecutable(const rt::Text& install_dir, const rt::Text& product_name) {
  return rt::Concat(install_dir, "\\", product_name, ".exe");
}

void OnExtractProgress(std::int32_t percent) {
  const rt::ControlRef bar = ui::MainWindowControl(ui::kProgressBar);
  bar.SetPosition(percent);
  bar.SetPosition(BarPosition(bar.Maximum(), percent));
  // Only the final report carries 100; after a failed entry it does as well.
  if (percent != 100 || ui::ArchiveComponent().ExtractionFailed()) return;
  CompleteInstallation();
}

}  // namespace installer
