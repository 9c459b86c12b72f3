// The install button and the installation thread.
#pragma once

namespace installer {

// The clicked event of 图形按钮1, on the UI thread: shows the notice and then
// starts InstallWorker. A click while an installation runs is ignored.
void OnInstallButtonClicked();

// The installation thread: writes the embedded archive to the temporary
// folder, or else to the install drive's root, and extracts it into the
// install directory. A successful extraction ends the installer from its
// final progress report (OnExtractProgress); a failed one is reported here
// and leaves the window ready for another try. When neither location can be
// written the installer says so and ends.
void InstallWorker();

}  // namespace installer
