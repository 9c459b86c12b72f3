// Start-up of the installer: the runtime, the global record, the main window.
#pragma once

#include <cstdint>

namespace installer {

// Entered once on the process's main thread, which becomes the UI thread:
// prepares the runtime, creates the global record, registers the exit hook,
// loads the main window and runs the message loop. Returns 0 when the loop
// has ended (the last window is gone).
std::int32_t StartInstaller();

// The main window's created event: places the window, chooses the default
// drive by the free space of drive D, selects the product and writes the
// default install directory into 标签_安装目录.
void OnMainWindowCreated();

}  // namespace installer
