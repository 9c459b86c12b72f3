#include "product/app/main_window.h"

#include <cstdio>

#include "product/app/window_ids.h"
#include "product/core/dvcore.h"
#include "product/render/dvrender.h"
#include "product/store/dvstore.h"

namespace dormivet {
namespace {

constexpr char kClassName[] = "DormivetMainWindow";
constexpr int kBannerHeight = 56;

// The static texts of the window, as data: fixed captions and the values
// filled in at creation (id > 0).
struct Line {
  int id;
  int x, y, width, height;
  const char* caption;
};

constexpr Line kLines[] = {
    {kGreetingId, 16, 68, 488, 20, nullptr},
    {0, 16, 100, 80, 20, "工作目录："},
    {kWorkingDirectoryId, 96, 100, 408, 20, nullptr},
    {0, 16, 128, 80, 20, "命令行："},
    {kCommandLineId, 96, 128, 408, 40, nullptr},
};

void FillCaption(int id, char* buffer, int size) {
  buffer[0] = '\0';
  switch (id) {
    case kGreetingId:
      DvReadSetting("界面", "欢迎语", "欢迎使用 Dormivet", buffer, size);
      break;
    case kWorkingDirectoryId: {
      DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(size), buffer);
      if (length == 0 || length >= static_cast<DWORD>(size)) buffer[0] = '\0';
      break;
    }
    case kCommandLineId:
      lstrcpynA(buffer, GetCommandLineA(), size);
      break;
  }
}

}  // namespace

bool MainWindow::Create(HINSTANCE instance, int show) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = &MainWindow::Procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  if (RegisterClassA(&window_class) == 0) return false;

  char theme[16];
  DvReadSetting("界面", "主题色", "", theme, sizeof theme);
  theme_ = DvParseColor(theme, theme_);
  std::snprintf(title_, sizeof title_, "Dormivet %s", DvProductVersion());

  HWND window = CreateWindowExA(0, kClassName, kWindowTitle, WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX,
                                CW_USEDEFAULT, CW_USEDEFAULT, 536, 230, nullptr, nullptr, instance,
                                this);
  if (window == nullptr) return false;
  ShowWindow(window, show);
  UpdateWindow(window);
  return true;
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window_, message, wparam, lparam);
}

void MainWindow::OnCreate() {
  const auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (const Line& line : kLines) {
    char text[1024];
    const char* caption = line.caption;
    if (caption == nullptr) {
      FillCaption(line.id, text, sizeof text);
      caption = text;
    }
    HWND child = CreateWindowExA(0, "STATIC", caption, WS_CHILD | WS_VISIBLE | SS_NOPREFIX,
                                 line.x, line.y, line.width, line.height, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(line.id)), nullptr,
                                 nullptr);
    if (child != nullptr) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

void MainWindow::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  RECT client;
  GetClientRect(window_, &client);
  RECT banner{0, 0, client.right, kBannerHeight};
  const auto old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  DvPaintBanner(dc, &banner, theme_, title_);
  SelectObject(dc, old_font);
  EndPaint(window_, &paint);
}

}  // namespace dormivet
