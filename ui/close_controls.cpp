#include "ui/close_controls.h"

#include "runtime/program.h"

namespace ui {

void OnCloseLabelReleased() { rt::Shutdown(0); }

void OnCloseButtonClicked() { rt::Shutdown(0); }

}  // namespace ui
