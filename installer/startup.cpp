#include "installer/startup.h"

#include "installer/brand.h"
#include "installer/disk_space.h"
#include "installer/installer_state.h"
#include "runtime/loaded_windows.h"
#include "runtime/program.h"
#include "ui/main_window.h"

namespace installer {

namespace {

constexpr std::int32_t kWindowWidth = 250, kWindowHeight = 400, kWindowTop = 300;
constexpr char kQueriedDrive[] = "d:";
constexpr std::int64_t kFreeSpaceThresholdMiB = 1000;

}  // namespace

std::int32_t StartInstaller() {
  rt::PrepareRuntime();
  State() = InstallerState{};
  rt::SetExitHook(ReleaseGlobals);
  rt::LoadWindow(ui::MainWindow());  // raises the created event before showing it
  rt::RunMessageLoop();
  return 0;
}

void OnMainWindowCreated() {
  const rt::WindowRef window = ui::MainWindowRef();
  window.SetWidth(kWindowWidth);
  window.SetHeight(kWindowHeight);
  window.SetTop(kWindowTop);

  std::int64_t used = 0, free = 0, total = 0;
  QueryDiskSpaceMiB(kQueriedDrive, used, free, total);
  const char* drive = free < kFreeSpaceThresholdMiB ? "C:\\" : "D:\\";

  InstallerState& state = State();
  state.ProductIndex = ProductIndexOfThisBuild;
  state.CatalogueText = ProductCatalogue;
  state.Catalogue = rt::TextArray(rt::Split(state.CatalogueText, "|"));
  // The checked index: below 1 and above the count end the installer (codes 4 and 1).
  state.ProductName = state.Catalogue[state.ProductIndex];
  ui::MainWindowControl(ui::kInstallDirLabel).SetCaption(rt::Concat(drive, BrandFolder, state.ProductName));
}

}  // namespace installer
