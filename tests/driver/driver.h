// End-to-end test driver: starts Windows programs and works their windows as a
// user would (real mouse input through SendInput), for GoogleTest tests that
// run under Wine.
//
// Texts are bytes in the ANSI code page (GBK under zh_CN), as the *A
// functions give them, so they compare directly with the narrow literals of
// a test. Every wait polls with a generous timeout: a slow machine costs
// time, never a result. Whatever goes wrong throws driver::Failure, whose
// message says what was awaited or attempted and what was seen instead; the
// screen at that moment is saved next to the test's other output.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace driver {

// How long to wait. (Not std::chrono: <chrono> of this C++20 library holds a
// literal that GBK cannot encode, so it does not compile with our charset.)
struct Timeout {
  DWORD milliseconds;
};
constexpr Timeout Milliseconds(DWORD count) { return Timeout{count}; }
constexpr Timeout Seconds(DWORD count) { return Timeout{count * 1000}; }
inline constexpr Timeout kDefaultTimeout = Seconds(30);

class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---- Waiting -------------------------------------------------------------

// Polls `done` until it holds. Throws Failure "timed out after N s waiting for
// <what>", followed by what `seen` describes at that moment when given.
void WaitUntil(const std::string& what, const std::function<bool()>& done,
               Timeout timeout = kDefaultTimeout,
               const std::function<std::string()>& seen = {});
// The same without throwing: false when the timeout passed first.
bool WaitFor(const std::function<bool()>& done, Timeout timeout = kDefaultTimeout);

// ---- Handles -------------------------------------------------------------

// Owns a kernel handle (process, thread, file); closes it once.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept;
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle();

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HANDLE handle_ = nullptr;
};

// ---- Windows -------------------------------------------------------------

// A window of any process. Reading a vanished window throws.
class Window {
 public:
  Window() = default;
  explicit Window(HWND handle) : handle_(handle) {}

  HWND Handle() const { return handle_; }
  bool Exists() const;
  bool Visible() const;
  bool Enabled() const;
  DWORD ProcessId() const;
  int ControlId() const;
  std::string ClassName() const;
  // The window's own answer to WM_GETTEXT, converted to the ANSI code page.
  std::string Text() const;
  RECT Rect() const;        // the whole window, screen coordinates
  RECT ClientRect() const;  // the client area, screen coordinates
  LONG Style() const;
  LONG ExStyle() const;
  POINT ToScreen(POINT client) const;

  // The first descendant with that control id; Child throws when there is none.
  std::optional<Window> FindChild(int controlId) const;
  Window Child(int controlId) const;
  std::vector<Window> Children() const;  // all descendants, in Z order

  // One line for failure messages: handle, class, text (as UTF-8), process, rectangle.
  std::string Describe() const;

  friend bool operator==(const Window& a, const Window& b) { return a.handle_ == b.handle_; }

 private:
  HWND handle_ = nullptr;
};

// Which top-level windows to look for; unset fields match anything.
struct WindowQuery {
  std::optional<DWORD> processId{};
  std::optional<std::string> title{};      // exact, ANSI bytes
  std::optional<std::string> className{};  // exact
  bool visibleOnly = true;
};
std::vector<Window> TopLevelWindows(const WindowQuery& query = {});
Window WaitForWindow(const WindowQuery& query, Timeout timeout = kDefaultTimeout);
// Waits until no top-level window matches (a closed dialog, an ended program).
void WaitForNoWindow(const WindowQuery& query, Timeout timeout = kDefaultTimeout);
// Waits until the window's text is `expected` (programs update texts when
// they get to it).
void WaitForText(const Window& window, const std::string& expected, Timeout timeout = kDefaultTimeout);

// ---- Processes -----------------------------------------------------------

struct StartOptions {
  // Passed quoted so that the C runtime's splitting gives them back unchanged.
  std::vector<std::string> arguments{};
  // Set on top of the test's own environment; std::nullopt removes the variable.
  std::vector<std::pair<std::string, std::optional<std::string>>> environment{};
  // Empty: the test's own working directory.
  std::string workingDirectory{};
};

// A started program. Ends it on destruction when it still runs, so a failed
// test leaves nothing on the desktop for the next one.
class Process {
 public:
  static Process Start(const std::string& program, const StartOptions& options = {});

  Process(Process&&) noexcept = default;
  Process& operator=(Process&&) noexcept;
  ~Process();

  DWORD Id() const { return id_; }
  HANDLE Handle() const { return handle_.get(); }
  bool Running() const;

  // A visible top-level window of this program (with that title when given).
  Window WaitForWindow(const std::optional<std::string>& title = std::nullopt,
                       Timeout timeout = kDefaultTimeout) const;
  // Waits for the end and gives the exit code as Windows holds it (-1 stays -1).
  int32_t WaitForExit(Timeout timeout = kDefaultTimeout) const;
  void Terminate();

 private:
  Process(UniqueHandle handle, DWORD id, std::string program)
      : handle_(std::move(handle)), id_(id), program_(std::move(program)) {}

  UniqueHandle handle_;
  DWORD id_ = 0;
  std::string program_;
};

// ---- Mouse ---------------------------------------------------------------

enum class MouseButton { Left, Right };

// Points are client coordinates of `window`. Every call moves the pointer
// there first, as a user's hand would; Press and Release may be given
// different points ("press here, release there").
void MoveMouse(const Window& window, POINT client);
void Press(const Window& window, POINT client, MouseButton button = MouseButton::Left);
void Release(const Window& window, POINT client, MouseButton button = MouseButton::Left);
void Click(const Window& window, POINT client, MouseButton button = MouseButton::Left);
// Clicks the middle of the window's client area (a button, a control).
void Click(const Window& window, MouseButton button = MouseButton::Left);
POINT CursorPosition();

// ---- Message boxes and dialogs -------------------------------------------

inline constexpr int kMessageBoxTextId = 65535;  // the Static holding a box's text

// A visible message box (#32770) with that exact title, of one process when given.
std::optional<Window> FindMessageBox(const std::string& title,
                                     std::optional<DWORD> processId = std::nullopt);
Window WaitForMessageBox(const std::string& title, std::optional<DWORD> processId = std::nullopt,
                         Timeout timeout = kDefaultTimeout);
std::string MessageBoxText(const Window& box);
// Posts BM_CLICK to the dialog's button with that id (IDOK, IDYES, ...).
void PressButton(const Window& dialog, int buttonId);
// Presses the button and waits until the box has gone.
void AnswerMessageBox(const Window& box, int buttonId, Timeout timeout = kDefaultTimeout);

// ---- Messages with a pointer into the target -----------------------------

// Writes `text` (with its NUL) into the window's process and sends `message`
// with lParam pointing at that copy; for messages such as BFFM_SETSELECTIONA
// whose pointer the receiver reads in its own address space. The copy is
// freed after the answer.
LRESULT SendWithRemoteString(const Window& window, UINT message, WPARAM wParam,
                             const std::string& text, Timeout timeout = kDefaultTimeout);

// ---- Pixels --------------------------------------------------------------

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};
void PrintTo(const Rgb& colour, std::ostream* out);  // #rrggbb in test messages

class Image {
 public:
  Image() = default;
  Image(int width, int height);  // black

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb Pixel(int x, int y) const;  // throws outside the image
  void SetPixel(int x, int y, Rgb colour);

  void SavePng(const std::string& path) const;  // 8-bit RGB
  void SaveBmp(const std::string& path) const;  // 24-bit, bottom-up

 private:
  std::size_t Index(int x, int y) const;

  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};

// What the screen shows (read from the screen DC): windows must be painted,
// so wait for an expected pixel rather than capturing once.
Image CaptureScreen();
Image CaptureRect(const RECT& screen);
Image CaptureWindow(const Window& window);  // its whole rectangle
Image CaptureClient(const Window& window);  // its client area

// ---- Paths and texts -----------------------------------------------------

// The Windows path of a host (Unix) path, as Wine maps it (Z:\...).
std::string FromHostPath(const std::string& hostPath);
// A path in the test's output folder ($TEST_ARTIFACTS_DIR, else the working
// directory) for screenshots and other files worth keeping.
std::string ArtifactPath(const std::string& fileName);
// ANSI (GBK) bytes as UTF-8, for readable messages.
std::string ToUtf8(const std::string& ansi);

}  // namespace driver
