// What the harness window shows and where: shared by the program and the
// tests that drive it.
#pragma once

#include <windows.h>

namespace harness {

inline constexpr const char* kTitle = "驱动测试窗口";
inline constexpr const char* kMainClass = "HarnessWindow";
inline constexpr const char* kClickAreaClass = "HarnessClickArea";
inline constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
inline constexpr DWORD kMainExStyle = WS_EX_CONTROLPARENT;
inline constexpr int kWindowLeft = 60;
inline constexpr int kWindowTop = 50;
inline constexpr int kClientWidth = 400;
inline constexpr int kClientHeight = 300;

struct Colour {
  unsigned char r, g, b;
};
inline constexpr Colour kBackground{0xF0, 0xE0, 0xC0};
inline constexpr Colour kAreaColour{0x20, 0x80, 0xE0};

// Control ids.
inline constexpr int kGreetingId = 101;
inline constexpr int kClickAreaId = 102;
inline constexpr int kAskId = 104;
inline constexpr int kAnswerId = 105;
inline constexpr int kExitId = 106;
inline constexpr int kRemoteTextId = 107;
inline constexpr int kDirectoryId = 108;
inline constexpr int kEchoId = 109;
inline constexpr int kTempPathId = 110;

inline constexpr RECT kClickAreaRect{20, 40, 220, 140};  // client coordinates of the main window

inline constexpr const char* kGreeting = "你好，驱动";
// presses, releases, clicks (press and release inside), right clicks, last press x, y
inline constexpr const char* kCountsFormat = "按下%d 松开%d 单击%d 右击%d 于%d,%d";
inline constexpr const char* kBoxTitle = "驱动提问";
inline constexpr const char* kBoxText = "要继续吗？";
inline constexpr const char* kAnswerFormat = "回答=%d";
inline constexpr const char* kEchoVariable = "HARNESS_ECHO";
inline constexpr const char* kNoEcho = "(无)";

// lParam points at a string in the harness's own memory; it is shown in
// kRemoteTextId and its length returned.
inline constexpr UINT kShowRemoteText = WM_APP + 1;

}  // namespace harness
