// A small window for proving the test driver: known texts, colours and
// geometry, an area that counts mouse presses, a message box whose answer is
// shown, and an exit code chosen by the test.
//
//   harness_app [--exit-code N] [--box-flags N]
//
// Everything the program observes is shown as a window text, where the
// driver reads it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/harness/harness_ids.h"

namespace {

using namespace harness;

struct Options {
  int exitCode = 0;
  UINT boxFlags = MB_OK;
};

// The click area's counts; shown as its text after every change.
struct Counts {
  int presses = 0;
  int releases = 0;
  int clicks = 0;
  int rightClicks = 0;
  POINT lastPress{-1, -1};
};

Options g_options;
Counts g_counts;

Options ParseOptions() {
  Options options;
  for (int i = 1; i + 1 < __argc; i += 2) {
    if (std::strcmp(__argv[i], "--exit-code") == 0) options.exitCode = static_cast<int>(std::strtol(__argv[i + 1], nullptr, 10));
    if (std::strcmp(__argv[i], "--box-flags") == 0) options.boxFlags = static_cast<UINT>(std::strtoul(__argv[i + 1], nullptr, 0));
  }
  return options;
}

void ShowCounts(HWND area) {
  char text[128];
  std::snprintf(text, sizeof text, kCountsFormat, g_counts.presses, g_counts.releases, g_counts.clicks,
                g_counts.rightClicks, static_cast<int>(g_counts.lastPress.x), static_cast<int>(g_counts.lastPress.y));
  SetWindowTextA(area, text);
}

LRESULT CALLBACK ClickAreaProc(HWND area, UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_LBUTTONDOWN:
      ++g_counts.presses;
      g_counts.lastPress = at;
      SetCapture(area);  // the release reaches the area wherever it happens
      ShowCounts(area);
      return 0;
    case WM_LBUTTONUP: {
      ++g_counts.releases;
      RECT client;
      GetClientRect(area, &client);
      if (GetCapture() == area && PtInRect(&client, at)) ++g_counts.clicks;
      ReleaseCapture();
      ShowCounts(area);
      return 0;
    }
    case WM_RBUTTONUP:
      ++g_counts.rightClicks;
      ShowCounts(area);
      return 0;
  }
  return DefWindowProcA(area, message, wParam, lParam);
}

void OnAsk(HWND window) {
  int answer = MessageBoxA(window, kBoxText, kBoxTitle, g_options.boxFlags);
  char text[32];
  std::snprintf(text, sizeof text, kAnswerFormat, answer);
  SetDlgItemTextA(window, kAnswerId, text);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kAskId) OnAsk(window);
      if (LOWORD(wParam) == kExitId) DestroyWindow(window);
      return 0;
    case kShowRemoteText: {
      const char* text = reinterpret_cast<const char*>(lParam);  // written into this process by the test
      SetDlgItemTextA(window, kRemoteTextId, text);
      return static_cast<LRESULT>(std::strlen(text));
    }
    case WM_DESTROY:
      PostQuitMessage(g_options.exitCode);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND AddControl(HWND parent, const char* className, const char* text, DWORD style, int id, RECT r) {
  return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

// The variable the test set, or kNoEcho. Read in UTF-16: Wine's
// GetEnvironmentVariableA cuts a Chinese value short (it counts the
// converted bytes as UTF-16 units).
std::string EchoValue() {
  wchar_t name[64];
  MultiByteToWideChar(CP_ACP, 0, kEchoVariable, -1, name, 64);
  wchar_t value[512];
  DWORD length = GetEnvironmentVariableW(name, value, 512);
  if (length == 0 || length >= 512) return kNoEcho;
  char echo[1024] = "";
  WideCharToMultiByte(CP_ACP, 0, value, -1, echo, sizeof echo, nullptr, nullptr);
  return echo;
}

void AddControls(HWND window) {
  AddControl(window, "STATIC", kGreeting, SS_LEFT, kGreetingId, {10, 8, 390, 28});
  HWND area = AddControl(window, kClickAreaClass, "", 0, kClickAreaId, kClickAreaRect);
  ShowCounts(area);
  AddControl(window, "BUTTON", "提问", BS_PUSHBUTTON, kAskId, {240, 40, 310, 66});
  AddControl(window, "BUTTON", "退出", BS_PUSHBUTTON, kExitId, {240, 80, 310, 106});
  AddControl(window, "STATIC", "回答=无", SS_LEFT, kAnswerId, {240, 116, 390, 136});
  AddControl(window, "STATIC", "", SS_LEFT, kRemoteTextId, {10, 150, 390, 170});

  char directory[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof directory, directory);
  AddControl(window, "STATIC", directory, SS_LEFT, kDirectoryId, {10, 175, 390, 195});
  AddControl(window, "STATIC", EchoValue().c_str(), SS_LEFT, kEchoId, {10, 200, 390, 220});
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  AddControl(window, "STATIC", temp, SS_LEFT, kTempPathId, {10, 225, 390, 245});
}

bool RegisterClasses(HINSTANCE instance) {
  WNDCLASSA main{};
  main.lpfnWndProc = MainProc;
  main.hInstance = instance;
  main.hCursor = LoadCursor(nullptr, IDC_ARROW);
  main.hbrBackground = CreateSolidBrush(RGB(kBackground.r, kBackground.g, kBackground.b));
  main.lpszClassName = kMainClass;
  WNDCLASSA area{};
  area.lpfnWndProc = ClickAreaProc;
  area.hInstance = instance;
  area.hCursor = LoadCursor(nullptr, IDC_ARROW);
  area.hbrBackground = CreateSolidBrush(RGB(kAreaColour.r, kAreaColour.g, kAreaColour.b));
  area.lpszClassName = kClickAreaClass;
  return RegisterClassA(&main) && RegisterClassA(&area);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  g_options = ParseOptions();
  if (!RegisterClasses(instance)) return 2;

  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kMainStyle, FALSE, kMainExStyle);
  HWND window = CreateWindowExA(kMainExStyle, kMainClass, kTitle, kMainStyle, kWindowLeft, kWindowTop,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                nullptr);
  if (!window) return 2;
  AddControls(window);
  ShowWindow(window, show);
  UpdateWindow(window);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
