// The main window as data: every control of the three panels and the events
// bound to the installer's handlers. Only the first panel is ever seen; the
// other two lie beneath it and no code uncovers them.
#include "ui/main_window.h"

#include "assets/pictures.h"
#include "installer/chooser.h"
#include "installer/completion.h"
#include "installer/install_worker.h"
#include "installer/startup.h"
#include "ui/archive_component.h"
#include "ui/close_controls.h"
#include "ui/control_ids.h"

namespace ui {

namespace {

using rt::BorderStyle;
using rt::ControlKind;
using rt::DisplayMode;
using rt::Event;
using rt::Pointer;

constexpr COLORREF kBlue = RGB(22, 131, 196);         // the visible panel and the labels
constexpr COLORREF kLightBlue = RGB(117, 184, 238);  // the window and the covered panels
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);

constexpr rt::FontSpec kSmallUnderlined{12, 400, true};
constexpr rt::FontSpec kSmallBold{12, 700, false};

rt::PictureData Bytes(const assets::Picture& picture) { return {picture.data, picture.size}; }

constexpr char kPanel1[] = "图片框1_背景";
constexpr char kPanel2[] = "图片框2_背景";
constexpr char kPanel3[] = "图片框3_背景";

// In description order: among siblings an earlier control lies above a later one.
const rt::ControlDescription kControls[] = {
    // The window's own children.
    {.name = "图片框1", .kind = ControlKind::PictureBox, .id = kIconBoxId,
     .left = 8, .top = 8, .width = 24, .height = 24, .visible = false,
     .picture = Bytes(assets::IconPicture48), .display_mode = DisplayMode::Stretch},
    {.name = "时钟4", .kind = ControlKind::Timer, .interval = 0},
    {.name = "时钟3", .kind = ControlKind::Timer, .interval = 0},
    {.name = "时钟2", .kind = ControlKind::Timer, .interval = 0},
    {.name = "时钟1", .kind = ControlKind::Timer, .interval = 0},
    {.name = kPanel1, .kind = ControlKind::PictureBox, .id = kPanel1Id,
     .left = 0, .top = 0, .width = 250, .height = 400,
     .back_colour = kBlue, .border = BorderStyle::SingleLine},
    {.name = kPanel2, .kind = ControlKind::PictureBox, .id = kPanel2Id,
     .left = 0, .top = 0, .width = 600, .height = 400,
     .back_colour = kLightBlue, .border = BorderStyle::SingleLine},
    {.name = kPanel3, .kind = ControlKind::PictureBox, .id = kPanel3Id,
     .left = 0, .top = 0, .width = 600, .height = 400,
     .back_colour = kLightBlue, .border = BorderStyle::SingleLine},

    // Panel 1, the installer's face.
    {.name = kLogLabel, .kind = ControlKind::Label, .parent = kPanel1, .id = kLogLabelId,
     .left = 79, .top = 344, .width = 160, .height = 24,
     .caption = "", .text_colour = kWhite, .back_colour = kBlue},
    {.name = "透明标签4", .kind = ControlKind::TransparentLabel, .parent = kPanel1, .id = kCloseLabelId,
     .left = 230, .top = 14, .width = 12, .height = 12,
     .caption = "×", .text_colour = kWhite, .pointer = Pointer::Hand},
    {.name = kProgressBar, .kind = ControlKind::ProgressBar, .parent = kPanel1, .id = kProgressBarId,
     .left = 21, .top = 327, .width = 205, .height = 8, .visible = false,
     .border = BorderStyle::ThinSunken, .minimum = 0, .maximum = 100, .position = 0},
    {.name = kInstallButton, .kind = ControlKind::PictureButton, .parent = kPanel1, .id = kInstallButtonId,
     .left = 14, .top = 255, .width = 220, .height = 80,
     .picture = Bytes(assets::InstallButtonNormal), .hot_picture = Bytes(assets::InstallButtonHot)},
    {.name = "标签1", .kind = ControlKind::Label, .parent = kPanel1, .id = kDirectoryTitleId,
     .left = 7, .top = 344, .width = 56, .height = 24,
     .caption = "安装目录：", .text_colour = kWhite, .back_colour = kBlue},
    {.name = "透明标签1", .kind = ControlKind::TransparentLabel, .parent = kPanel1, .id = kTitleLabelId,
     .left = 7, .top = 8, .width = 68, .height = 24,
     .caption = "安装程序", .text_colour = kYellow, .font = &kSmallBold},
    {.name = "图片框_Logo", .kind = ControlKind::PictureBox, .parent = kPanel1, .id = kLogoId,
     .left = 12, .top = 36, .width = 211, .height = 211,
     .picture = Bytes(assets::Logo), .display_mode = DisplayMode::Stretch},
    {.name = kArchiveComponent, .kind = ControlKind::Component, .parent = "图片框_Logo",
     .component = &kArchiveComponentType},
    {.name = kInstallDirLabel, .kind = ControlKind::Label, .parent = kPanel1, .id = kInstallDirLabelId,
     .left = 7, .top = 367, .width = 232, .height = 25,
     .caption = "D:\\Mordakel", .text_colour = kWhite, .back_colour = kBlue, .font = &kSmallUnderlined,
     .pointer = Pointer::Hand},

    // Panel 2, covered.
    {.name = "图片框_进度框", .kind = ControlKind::PictureBox, .parent = kPanel2, .id = kProgressFrameId,
     .left = 0, .top = 335, .width = 600, .height = 24,
     .back_colour = kLightBlue, .border = BorderStyle::SingleLine},
    {.name = "图片框_进度", .kind = ControlKind::PictureBox, .parent = "图片框_进度框", .id = kProgressFillId,
     .left = -2, .top = 2, .width = 0, .height = 18, .back_colour = kWhite},
    {.name = "图形按钮10", .kind = ControlKind::PictureButton, .parent = kPanel2, .id = kPanel2CloseButtonId,
     .left = 563, .top = 0, .width = 27, .height = 22,
     .picture = Bytes(assets::CloseButtonNormal), .hot_picture = Bytes(assets::CloseButtonHot),
     .pressed_picture = Bytes(assets::CloseButtonPressed)},
    {.name = "图片框_AD", .kind = ControlKind::PictureBox, .parent = kPanel2, .id = kAdvertBoxId,
     .left = 0, .top = 23, .width = 600, .height = 300,
     .back_colour = kLightBlue, .display_mode = DisplayMode::Fit},
    {.name = "透明标签2", .kind = ControlKind::TransparentLabel, .parent = kPanel2, .id = kPanel2TitleId,
     .left = 0, .top = 0, .width = 250, .height = 24,
     .caption = " Veskary 5_正在安装...", .text_colour = kWhite},

    // Panel 3, covered.
    {.name = "图形按钮3", .kind = ControlKind::PictureButton, .parent = kPanel3, .id = kPanel3ButtonId,
     .left = 192, .top = 288, .width = 220, .height = 80,
     .picture = Bytes(assets::DoneButtonPicture)},
    {.name = "图片框_Logo2", .kind = ControlKind::PictureBox, .parent = kPanel3, .id = kLogo2Id,
     .left = 174, .top = 24, .width = 250, .height = 255,
     .picture = Bytes(assets::Logo2), .display_mode = DisplayMode::Natural},
    {.name = "透明标签3", .kind = ControlKind::TransparentLabel, .parent = kPanel3, .id = kPanel3TitleId,
     .left = 0, .top = 0, .width = 250, .height = 24,
     .caption = " Veskary 5_安装完成！", .text_colour = kWhite},
};

// The events bound to handlers, and nothing else.
const rt::EventBinding kBindings[] = {
    {nullptr, Event::Created, installer::OnMainWindowCreated},
    {kInstallDirLabel, Event::LeftButtonDown, installer::OnInstallDirLabelPressed},
    {kInstallButton, Event::Clicked, installer::OnInstallButtonClicked},
    {kArchiveComponent, Event::Progress, installer::OnExtractProgress},
    {"透明标签4", Event::LeftButtonUp, OnCloseLabelReleased},
    {"图形按钮10", Event::Clicked, OnCloseButtonClicked},
};

const rt::WindowDescription kMainWindow{
    .name = "启动窗口",
    .title = "Mordakel - 安装程序",
    .width = 250,
    .height = 400,
    .background = kLightBlue,
    .icon_resource = "DEFAULT_ICON",
    .controls = kControls,
    .bindings = kBindings,
};

}  // namespace

const rt::WindowDescription& MainWindow() { return kMainWindow; }

}  // namespace ui
