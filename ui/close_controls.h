// The two close controls of the main window: "×" on the visible face and the
// close button of the covered second panel. Both end the installer at once,
// without asking and whether or not an installation runs.
#pragma once

namespace ui {

void OnCloseLabelReleased();  // 透明标签4, left button released over it
void OnCloseButtonClicked();  // 图形按钮10, clicked

}  // namespace ui
