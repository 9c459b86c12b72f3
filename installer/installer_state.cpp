// Compiled into each executable (not into the installer library), so a test
// build can make the exit hook leave a trace.
#include "installer/installer_state.h"

#include "runtime/threads.h"

#ifdef INSTALLER_EXIT_HOOK_TRACE
void TraceExitHook();  // the test build's own
#endif

namespace installer {

namespace {
InstallerState g_state;
}  // namespace

InstallerState& State() { return g_state; }

void ReleaseGlobals() {
#ifdef INSTALLER_EXIT_HOOK_TRACE
  TraceExitHook();
#endif
  // The catalogue is read on the UI thread only (the location chooser).
  g_state.Catalogue = rt::TextArray();
  // The installation thread reads the product name (shortcut, executable).
  if (!rt::WorkerThreadsAlive()) g_state.ProductName = rt::Text();
  // CatalogueText refers to the constant: nothing to release.
}

}  // namespace installer
