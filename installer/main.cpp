#include <windows.h>

#include "installer/startup.h"
#include "runtime/program.h"

// When the message loop has ended, the same shutdown follows as for a close
// control: the window is gone, the exit hook runs, the process ends with 0.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { rt::Shutdown(installer::StartInstaller()); }
