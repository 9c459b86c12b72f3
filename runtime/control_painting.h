// One draw routine per control kind. Each draws a control's client area into
// a DC; the border is drawn apart, in the non-client area.
#pragma once

#include <windows.h>

#include "runtime/control.h"

namespace rt {

void PaintControl(const ControlInstance& control, HDC dc, const RECT& client);

// The picture a picture button shows in its current state.
const Picture& ButtonPicture(const ControlInstance& button);

}  // namespace rt
