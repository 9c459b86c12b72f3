// Control ids of the main window's child windows, one per control name, so
// automation, screen readers and tests can find a control and read its text.
#pragma once

namespace ui {

inline constexpr int kIconBoxId = 100;            // 图片框1
inline constexpr int kPanel1Id = 101;             // 图片框1_背景, the visible face
inline constexpr int kPanel2Id = 102;             // 图片框2_背景
inline constexpr int kPanel3Id = 103;             // 图片框3_背景
inline constexpr int kLogLabelId = 110;           // 标签_日志
inline constexpr int kCloseLabelId = 111;         // 透明标签4, "×"
inline constexpr int kProgressBarId = 112;        // 进度条1
inline constexpr int kInstallButtonId = 113;      // 图形按钮1
inline constexpr int kDirectoryTitleId = 114;     // 标签1, "安装目录："
inline constexpr int kTitleLabelId = 115;         // 透明标签1, "安装程序"
inline constexpr int kLogoId = 116;               // 图片框_Logo
inline constexpr int kInstallDirLabelId = 117;    // 标签_安装目录
inline constexpr int kProgressFrameId = 120;      // 图片框_进度框
inline constexpr int kProgressFillId = 121;       // 图片框_进度
inline constexpr int kPanel2CloseButtonId = 122;  // 图形按钮10
inline constexpr int kAdvertBoxId = 123;          // 图片框_AD
inline constexpr int kPanel2TitleId = 124;        // 透明标签2
inline constexpr int kPanel3ButtonId = 130;       // 图形按钮3
inline constexpr int kLogo2Id = 131;              // 图片框_Logo2
inline constexpr int kPanel3TitleId = 132;        // 透明标签3

}  // namespace ui
