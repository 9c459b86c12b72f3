// The installer's one window: its description, and access to its controls.
#pragma once

#include "runtime/properties.h"
#include "runtime/window_description.h"

namespace ui {

// Control names, as designed.
inline constexpr char kInstallDirLabel[] = "标签_安装目录";
inline constexpr char kLogLabel[] = "标签_日志";
inline constexpr char kProgressBar[] = "进度条1";
inline constexpr char kInstallButton[] = "图形按钮1";
inline constexpr char kArchiveComponent[] = "ZIP压缩1";

const rt::WindowDescription& MainWindow();

// The main window's properties and its controls', from any thread.
inline rt::WindowRef MainWindowRef() { return rt::WindowRef(MainWindow()); }
inline rt::ControlRef MainWindowControl(const char* name) { return rt::ControlRef(MainWindow(), name); }

}  // namespace ui
