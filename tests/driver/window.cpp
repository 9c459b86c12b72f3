#include <cstdio>

#include "tests/driver/driver.h"
#include "tests/driver/failure.h"

namespace driver {
namespace {

// A hung window must not hang the test: every message sent to another
// process's window has a limit.
constexpr UINT kAnswerLimitMs = 10000;

std::string Hex(HWND handle) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(handle)));
  return text;
}

void RequireExists(HWND handle, const char* what) {
  if (!IsWindow(handle)) Fail(std::string("cannot read ") + what + " of window " + Hex(handle) + ": it does not exist");
}

// The window's own answer to WM_GETTEXT, in the ANSI code page; nothing when
// it does not answer in time. Asked in UTF-16 and converted here, so that the
// buffer's size is exact whether the window is an ANSI or a Unicode one
// (WM_GETTEXTLENGTH may count either).
std::optional<std::string> AskText(HWND handle, UINT limitMs) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(handle, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, limitMs, &length)) return std::nullopt;
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(handle, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           limitMs, &copied)) {
    return std::nullopt;
  }
  text.resize(std::char_traits<wchar_t>::length(text.c_str()));
  if (text.empty()) return std::string();
  int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), size, nullptr, nullptr);
  return ansi;
}

BOOL CALLBACK CollectWindow(HWND handle, LPARAM list) {
  reinterpret_cast<std::vector<Window>*>(list)->emplace_back(handle);
  return TRUE;
}

std::string Describe(const std::vector<Window>& windows) {
  if (windows.empty()) return " none";
  std::string text;
  for (const Window& window : windows) text += "\n  " + window.Describe();
  return text;
}

// The visible top-level windows, and the hidden ones of the process awaited.
std::string DescribeDesktop(std::optional<DWORD> processId) {
  std::string text = "visible top-level windows:" + Describe(TopLevelWindows());
  if (processId) {
    std::vector<Window> hidden;
    for (const Window& window : TopLevelWindows({.processId = processId, .visibleOnly = false})) {
      if (!IsWindowVisible(window.Handle())) hidden.push_back(window);
    }
    text += "\nhidden top-level windows of process " + std::to_string(*processId) + ":" + Describe(hidden);
  }
  return text;
}

std::string DescribeQuery(const WindowQuery& query) {
  std::string text = query.visibleOnly ? "a visible top-level window" : "a top-level window";
  if (query.title) text += " titled \"" + ToUtf8(*query.title) + "\"";
  if (query.className) text += " of class \"" + *query.className + "\"";
  if (query.processId) text += " of process " + std::to_string(*query.processId);
  return text;
}

}  // namespace

bool Window::Exists() const { return handle_ && IsWindow(handle_); }
bool Window::Visible() const { return Exists() && IsWindowVisible(handle_); }
bool Window::Enabled() const { return Exists() && IsWindowEnabled(handle_); }

DWORD Window::ProcessId() const {
  RequireExists(handle_, "the process");
  DWORD id = 0;
  GetWindowThreadProcessId(handle_, &id);
  return id;
}

int Window::ControlId() const {
  RequireExists(handle_, "the control id");
  return GetDlgCtrlID(handle_);
}

std::string Window::ClassName() const {
  RequireExists(handle_, "the class");
  char name[256] = "";
  GetClassNameA(handle_, name, sizeof name);
  return name;
}

std::string Window::Text() const {
  RequireExists(handle_, "the text");
  std::optional<std::string> text = AskText(handle_, kAnswerLimitMs);
  if (!text) Fail("window " + Hex(handle_) + " did not answer WM_GETTEXT: " + ErrorText(GetLastError()));
  return *text;
}

RECT Window::Rect() const {
  RequireExists(handle_, "the rectangle");
  RECT rect{};
  GetWindowRect(handle_, &rect);
  return rect;
}

RECT Window::ClientRect() const {
  RequireExists(handle_, "the client rectangle");
  RECT rect{};
  GetClientRect(handle_, &rect);
  MapWindowPoints(handle_, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LONG Window::Style() const {
  RequireExists(handle_, "the style");
  return GetWindowLongA(handle_, GWL_STYLE);
}

LONG Window::ExStyle() const {
  RequireExists(handle_, "the extended style");
  return GetWindowLongA(handle_, GWL_EXSTYLE);
}

POINT Window::ToScreen(POINT client) const {
  RequireExists(handle_, "the position");
  ClientToScreen(handle_, &client);
  return client;
}

std::vector<Window> Window::Children() const {
  RequireExists(handle_, "the children");
  std::vector<Window> children;
  EnumChildWindows(handle_, CollectWindow, reinterpret_cast<LPARAM>(&children));
  return children;
}

std::optional<Window> Window::FindChild(int controlId) const {
  for (const Window& child : Children()) {
    if (child.ControlId() == controlId) return child;
  }
  return std::nullopt;
}

Window Window::Child(int controlId) const {
  if (auto child = FindChild(controlId)) return *child;
  Fail("no control with id " + std::to_string(controlId) + " in " + Describe() + "; its controls:" +
       driver::Describe(Children()));
}

std::string Window::Describe() const {
  // Read without the throwing accessors: the window may vanish meanwhile.
  if (!Exists()) return Hex(handle_) + " (gone)";
  char className[256] = "";
  GetClassNameA(handle_, className, sizeof className);
  DWORD processId = 0;
  GetWindowThreadProcessId(handle_, &processId);
  RECT r{};
  GetWindowRect(handle_, &r);
  char facts[160];
  std::snprintf(facts, sizeof facts, " id %d process %lu (%ld,%ld)-(%ld,%ld)%s", GetDlgCtrlID(handle_), processId,
                r.left, r.top, r.right, r.bottom, IsWindowVisible(handle_) ? "" : " hidden");
  std::optional<std::string> text = AskText(handle_, 1000);
  std::string description = Hex(handle_) + " class \"" + className + "\" text ";
  if (text) {
    description += '"';
    description += ToUtf8(*text);
    description += '"';
  } else {
    description += "<no answer>";
  }
  return description + facts;
}

std::vector<Window> TopLevelWindows(const WindowQuery& query) {
  std::vector<Window> all;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
  std::vector<Window> found;
  for (const Window& window : all) {
    HWND handle = window.Handle();
    if (query.visibleOnly && !IsWindowVisible(handle)) continue;
    if (query.processId) {
      DWORD id = 0;
      GetWindowThreadProcessId(handle, &id);
      if (id != *query.processId) continue;
    }
    if (query.className) {
      char name[256] = "";
      GetClassNameA(handle, name, sizeof name);
      if (*query.className != name) continue;
    }
    // The title is read without a message: a busy program still has one.
    if (query.title) {
      char title[1024] = "";
      GetWindowTextA(handle, title, sizeof title);
      if (*query.title != title) continue;
    }
    found.push_back(window);
  }
  return found;
}

Window WaitForWindow(const WindowQuery& query, Timeout timeout) {
  std::optional<Window> found;
  WaitUntil(
      DescribeQuery(query),
      [&] {
        std::vector<Window> windows = TopLevelWindows(query);
        if (!windows.empty()) found = windows.front();
        return found.has_value();
      },
      timeout, [&] { return DescribeDesktop(query.processId); });
  return *found;
}

void WaitForNoWindow(const WindowQuery& query, Timeout timeout) {
  WaitUntil(
      "no more " + DescribeQuery(query), [&] { return TopLevelWindows(query).empty(); }, timeout,
      [&] { return "still there:" + Describe(TopLevelWindows(query)); });
}

void WaitForText(const Window& window, const std::string& expected, Timeout timeout) {
  std::optional<std::string> last;
  WaitUntil(
      "the text \"" + ToUtf8(expected) + "\" in " + window.Describe(),
      [&] {
        last = window.Exists() ? AskText(window.Handle(), kAnswerLimitMs) : std::nullopt;
        return last == expected;
      },
      timeout, [&] { return last ? "text \"" + ToUtf8(*last) + "\"" : std::string("no text (window gone or not answering)"); });
}

}  // namespace driver
