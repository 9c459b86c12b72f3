// A window built by the runtime inside the test process (the test's main
// thread is the UI thread), worked with real input and read from the screen.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>
#include <string>
#include <vector>

#include "runtime/events.h"
#include "runtime/message_box.h"
#include "runtime/loaded_windows.h"
#include "runtime/program.h"
#include "runtime/properties.h"
#include "runtime/threads.h"
#include "tests/runtime/test_pictures.h"

namespace {

constexpr COLORREF kPanelColour = RGB(10, 60, 110);
constexpr COLORREF kBeneathColour = RGB(0, 255, 0);
constexpr COLORREF kWindowColour = RGB(255, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// What the handlers saw.
struct Seen {
  int created = 0;
  bool created_before_shown = false;
  bool controls_existed = false;
  int fast_ticks = 0;
  int zero_ticks = 0;
  int clicks = 0;
  int components_made = 0, components_ended = 0;
  DWORD progress_thread = 0;
  std::vector<int> progress_values;
};
Seen g_seen;

const rt::WindowDescription& TestWindow();

void OnCreated() {
  ++g_seen.created;
  const rt::WindowRef window(TestWindow());
  g_seen.created_before_shown = !IsWindowVisible(window.Handle());
  g_seen.controls_existed = rt::ControlRef(TestWindow(), "标签").Handle() != nullptr &&
                            rt::ControlRef(TestWindow(), "进度").Handle() != nullptr;
  rt::ControlRef(TestWindow(), "标签").SetCaption("written while created");
}
void OnFastTick() { ++g_seen.fast_ticks; }
void OnZeroTick() { ++g_seen.zero_ticks; }
void OnClicked() { ++g_seen.clicks; }
std::optional<bool> OnProgress(std::int32_t value) {
  g_seen.progress_thread = GetCurrentThreadId();
  g_seen.progress_values.push_back(value);
  if (value == 50) return false;
  return std::nullopt;
}

void* MakeComponent(const rt::ComponentSite& site) {
  ++g_seen.components_made;
  return new rt::ComponentSite(site);
}
void EndComponent(void* instance) {
  ++g_seen.components_ended;
  delete static_cast<rt::ComponentSite*>(instance);
}
const rt::ComponentType kTestComponent{MakeComponent, EndComponent};

const std::vector<unsigned char>& RedJpeg() {
  static const auto bytes = testpictures::SolidJpeg(40, 20, kRed);
  return bytes;
}
const std::vector<unsigned char>& BlueJpeg() {
  static const auto bytes = testpictures::SolidJpeg(40, 20, kBlue);
  return bytes;
}

const rt::WindowDescription& TestWindow() {
  using rt::ControlKind;
  static const rt::ControlDescription controls[] = {
      {.name = "面板", .kind = ControlKind::PictureBox, .id = 10, .left = 0, .top = 0, .width = 200,
       .height = 150, .back_colour = kPanelColour, .border = rt::BorderStyle::SingleLine},
      {.name = "时钟快", .kind = ControlKind::Timer, .interval = 20},
      {.name = "下层", .kind = ControlKind::PictureBox, .id = 15, .left = 0, .top = 0, .width = 200,
       .height = 150, .back_colour = kBeneathColour},
      {.name = "时钟零", .kind = ControlKind::Timer, .interval = 0},
      {.name = "标签", .kind = ControlKind::Label, .parent = "面板", .id = 11, .left = 5, .top = 5,
       .width = 100, .height = 20, .caption = "abc", .text_colour = RGB(255, 255, 255),
       .back_colour = kPanelColour},
      {.name = "透明", .kind = ControlKind::TransparentLabel, .parent = "面板", .id = 12, .left = 120,
       .top = 5, .width = 30, .height = 20, .caption = ""},
      {.name = "进度", .kind = ControlKind::ProgressBar, .parent = "面板", .id = 13, .left = 5, .top = 40,
       .width = 102, .height = 10, .visible = false, .border = rt::BorderStyle::ThinSunken},
      {.name = "按钮", .kind = ControlKind::PictureButton, .parent = "面板", .id = 14, .left = 5, .top = 60,
       .width = 60, .height = 30, .picture = {RedJpeg().data(), RedJpeg().size()},
       .hot_picture = {BlueJpeg().data(), BlueJpeg().size()}},
      {.name = "组件", .kind = ControlKind::Component, .parent = "面板", .component = &kTestComponent},
  };
  static const rt::EventBinding bindings[] = {
      {nullptr, rt::Event::Created, OnCreated},
      {"时钟快", rt::Event::Timer, OnFastTick},
      {"时钟零", rt::Event::Timer, OnZeroTick},
      {"按钮", rt::Event::Clicked, OnClicked},
      {"组件", rt::Event::Progress, OnProgress},
  };
  static const rt::WindowDescription window{.name = "测试窗口",
                                            .title = "runtime form test",
                                            .width = 200,
                                            .height = 150,
                                            .background = kWindowColour,
                                            .icon_resource = "DEFAULT_ICON",  // the program's resources
                                            .controls = controls,
                                            .bindings = bindings};
  return window;
}

// Runs the UI thread's messages until done() holds (or about ten seconds).
bool PumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 1000 && !done(); ++i) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return done();
}

// Runs the UI thread's messages for a while, letting input and paint settle.
void Pump(int milliseconds) {
  const DWORD start = GetTickCount();
  PumpUntil([&] { return GetTickCount() - start >= static_cast<DWORD>(milliseconds); });
}

COLORREF ScreenPixel(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  const rt::WindowDc screen(nullptr);
  return GetPixel(screen.get(), p.x, p.y);
}

// JPEG keeps a solid colour to within a step or two.
bool Near(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= 6 && std::abs(GetGValue(a) - GetGValue(b)) <= 6 &&
         std::abs(GetBValue(a) - GetBValue(b)) <= 6;
}

// What is painted reaches the screen while the UI thread runs its messages.
bool ShowsNear(HWND window, int x, int y, COLORREF colour) {
  return PumpUntil([&] { return Near(ScreenPixel(window, x, y), colour); });
}

void MoveMouseTo(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((p.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = static_cast<LONG>((p.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

void MouseButton(DWORD flag) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flag;
  SendInput(1, &input, sizeof input);
}

class Form : public testing::Test {
 protected:
  void SetUp() override {
    g_seen = Seen{};
    rt::LoadWindow(TestWindow());
    window_ = rt::WindowRef(TestWindow()).Handle();
    Pump(200);  // the first paint
  }
  void TearDown() override {
    rt::UnloadWindow(TestWindow());
    PumpUntil([] { return true; });
  }
  HWND Control(int id) const { return GetDlgItem(GetDlgItem(window_, 10), id); }

  HWND window_ = nullptr;
};

TEST_F(Form, CreatedEventRunsOnceWithAllControlsBeforeTheWindowIsShown) {
  EXPECT_EQ(g_seen.created, 1);
  EXPECT_TRUE(g_seen.controls_existed);
  EXPECT_TRUE(g_seen.created_before_shown);
  EXPECT_TRUE(IsWindowVisible(window_));
  char text[64];
  GetWindowTextA(Control(11), text, sizeof text);
  EXPECT_STREQ(text, "written while created");
}

TEST_F(Form, ControlsAreChildWindowsWithTheirIdsAndTexts) {
  ASSERT_NE(GetDlgItem(window_, 10), nullptr);
  ASSERT_NE(GetDlgItem(window_, 15), nullptr);
  for (int id : {11, 12, 13, 14}) EXPECT_NE(Control(id), nullptr) << id;
  EXPECT_FALSE(IsWindowVisible(Control(13)));
  EXPECT_TRUE(IsWindowVisible(Control(14)));
  EXPECT_FALSE(rt::ControlRef(TestWindow(), "进度").Visible());
  EXPECT_EQ(rt::ControlRef(TestWindow(), "时钟快").Handle(), nullptr);
  // The window has no caption, border or system menu, and its own taskbar button.
  const LONG style = GetWindowLongA(window_, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_BORDER | WS_DLGFRAME), 0);
  EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  // The border lies outside the client area.
  RECT client;
  GetClientRect(GetDlgItem(window_, 10), &client);
  EXPECT_EQ(client.right, 198);
  EXPECT_EQ(client.bottom, 148);
}

TEST_F(Form, TheWindowCarriesTheIconOfItsResource) {
  EXPECT_NE(SendMessageA(window_, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageA(window_, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(Form, SiblingsStackInDescriptionOrder) {
  EXPECT_EQ(GetWindow(window_, GW_CHILD), GetDlgItem(window_, 10));
  EXPECT_EQ(GetWindow(GetDlgItem(window_, 10), GW_HWNDNEXT), GetDlgItem(window_, 15));
  HWND panel = GetDlgItem(window_, 10);
  std::vector<int> order;
  for (HWND child = GetWindow(panel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    order.push_back(GetDlgCtrlID(child));
  }
  EXPECT_EQ(order, (std::vector<int>{11, 12, 13, 14}));
  // The upper panel covers the lower one entirely.
  EXPECT_EQ(ScreenPixel(window_, 180, 130), kPanelColour);
}

TEST_F(Form, PropertyWritesFromAnotherThreadHaveTakenEffectWhenTheyReturn) {
  static std::atomic<bool> done;
  static std::string read_back;
  static bool visible_after, hidden_after;
  done = false;
  ASSERT_TRUE(rt::StartThread([] {
    const rt::ControlRef label(TestWindow(), "标签"), bar(TestWindow(), "进度");
    label.SetCaption("from the worker");
    char text[64] = "";
    GetWindowTextA(label.Handle(), text, sizeof text);  // straight from the window
    read_back = text;
    bar.SetVisible(true);
    visible_after = IsWindowVisible(bar.Handle()) != FALSE;
    bar.SetVisible(false);
    hidden_after = IsWindowVisible(bar.Handle()) == FALSE;
    done = true;
  }));
  ASSERT_TRUE(PumpUntil([] { return done.load(); }));
  EXPECT_EQ(read_back, "from the worker");
  EXPECT_TRUE(visible_after);
  EXPECT_TRUE(hidden_after);
  EXPECT_TRUE(PumpUntil([] { return !rt::WorkerThreadsAlive(); }));
}

TEST_F(Form, ProgressBarKeepsItsFiguresAndAnswersLikeTheSystemsBar) {
  const rt::ControlRef bar(TestWindow(), "进度");
  HWND window = bar.Handle();
  bar.SetVisible(true);
  bar.SetPosition(40000);
  EXPECT_EQ(bar.Position(), 32767);
  EXPECT_EQ(SendMessageA(window, PBM_GETPOS, 0, 0), 100);  // shown within the range
  bar.SetPosition(-3);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetMaximum(50);
  bar.SetMinimum(10);
  bar.SetPosition(30);
  EXPECT_EQ(SendMessageA(window, PBM_GETPOS, 0, 0), 30);
  PBRANGE range{};
  EXPECT_EQ(SendMessageA(window, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range)), 50);
  EXPECT_EQ(SendMessageA(window, PBM_GETRANGE, TRUE, 0), 10);
  EXPECT_EQ(range.iLow, 10);
  EXPECT_EQ(range.iHigh, 50);
  bar.SetMaximum(99999);
  EXPECT_EQ(bar.Maximum(), 32767);
  // Drawn: half the range filled with the highlight colour, the rest not.
  bar.SetMinimum(0);
  bar.SetMaximum(100);
  bar.SetPosition(50);
  EXPECT_TRUE(ShowsNear(window, 10, 4, GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_TRUE(ShowsNear(window, 90, 4, GetSysColor(COLOR_BTNFACE)));
}

TEST_F(Form, ATimerWithIntervalZeroNeverFires) {
  ASSERT_TRUE(PumpUntil([] { return g_seen.fast_ticks >= 5; }));
  EXPECT_EQ(g_seen.zero_ticks, 0);
}

TEST_F(Form, ComponentEventsRunOnTheRaisingThreadAndMayAnswer) {
  EXPECT_EQ(g_seen.components_made, 1);
  auto* site = static_cast<rt::ComponentSite*>(rt::ControlRef(TestWindow(), "组件").Component());
  ASSERT_NE(site, nullptr);
  static rt::ComponentSite* raised_by;
  static std::optional<bool> answers[2];
  static DWORD worker;
  static std::atomic<bool> done;
  raised_by = site;
  done = false;
  rt::StartThread([] {
    worker = GetCurrentThreadId();
    answers[0] = raised_by->Raise(rt::Event::Progress, 9);
    answers[1] = raised_by->Raise(rt::Event::Progress, 50);
    done = true;
  });
  ASSERT_TRUE(PumpUntil([] { return done.load(); }));
  EXPECT_EQ(g_seen.progress_values, (std::vector<int>{9, 50}));
  EXPECT_EQ(g_seen.progress_thread, worker);
  EXPECT_EQ(answers[0], std::nullopt);
  EXPECT_EQ(answers[1], std::optional<bool>(false));
  PumpUntil([] { return !rt::WorkerThreadsAlive(); });
  rt::UnloadWindow(TestWindow());
  EXPECT_EQ(g_seen.components_ended, 1);
}

TEST_F(Form, TransparentLabelShowsItsParentBeneath) {
  // Not the window's colour, nor the sibling panel under the parent.
  EXPECT_TRUE(ShowsNear(Control(12), 2, 2, kPanelColour));
  EXPECT_EQ(ScreenPixel(Control(12), 25, 15), kPanelColour);
  // Its caption is drawn over that.
  rt::ControlRef(TestWindow(), "透明").SetCaption("WWW");
  Pump(200);
  int text_pixels = 0;
  for (int x = 0; x < 30; ++x) {
    for (int y = 0; y < 20; ++y) text_pixels += ScreenPixel(Control(12), x, y) != kPanelColour;
  }
  EXPECT_GT(text_pixels, 10);
}

TEST_F(Form, PictureButtonShowsHotUnderThePointerAndClicksOnRelease) {
  HWND button = Control(14);
  MoveMouseTo(window_, 190, 140);
  EXPECT_TRUE(ShowsNear(button, 20, 10, kRed));
  // Black where the picture does not reach.
  EXPECT_EQ(ScreenPixel(button, 50, 25), RGB(0, 0, 0));

  MoveMouseTo(button, 20, 10);
  EXPECT_TRUE(ShowsNear(button, 20, 10, kBlue));
  EXPECT_EQ(GetCapture(), button);

  MouseButton(MOUSEEVENTF_LEFTDOWN);
  MouseButton(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([] { return g_seen.clicks == 1; }));

  MoveMouseTo(button, 22, 12);
  EXPECT_TRUE(ShowsNear(button, 20, 10, kBlue));
  MoveMouseTo(window_, 190, 140);
  EXPECT_TRUE(ShowsNear(button, 20, 10, kRed));
  EXPECT_EQ(GetCapture(), nullptr);

  // Pressed on the button, released elsewhere: no click.
  MoveMouseTo(button, 20, 10);
  EXPECT_TRUE(ShowsNear(button, 20, 10, kBlue));
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  Pump(200);
  MoveMouseTo(window_, 190, 140);
  MouseButton(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] { return GetCapture() == nullptr; }));
  Pump(200);
  EXPECT_EQ(g_seen.clicks, 1);
}

// Answers the message box that this process shows, as a user would, from a
// thread of its own: records what it saw, then presses the button.
struct BoxAnswer {
  int button = IDOK;
  std::string title, text;
  bool window_enabled = true;
};

void AnswerBox(HWND form, BoxAnswer* answer) {
  HWND box = nullptr;
  for (int i = 0; i < 1000 && !box; ++i, Sleep(10)) {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(w, &process);
      if (process == GetCurrentProcessId() && IsWindowVisible(w)) box = w;
    }
  }
  if (!box) return;
  char text[256] = "";
  GetWindowTextA(box, text, sizeof text);
  answer->title = text;
  GetDlgItemTextA(box, 65535, text, sizeof text);
  answer->text = text;
  answer->window_enabled = IsWindowEnabled(form) != FALSE;
  PostMessageA(GetDlgItem(box, answer->button), BM_CLICK, 0, 0);
}

// Without an owner, the box disables the windows of its own thread only.
TEST_F(Form, MessageBoxOnTheUiThreadDisablesItsWindowsAndGivesTheButtonMinusOne) {
  const struct {
    std::uint32_t flags;
    const char* title;
    int button;
    std::int32_t answer;
    const char* shown_title;
  } cases[] = {
      {MB_OK, nullptr, IDOK, 0, "信息："},
      {MB_YESNO | MB_ICONINFORMATION, "温馨提示：", IDYES, 5, "温馨提示："},
      {MB_YESNO | MB_ICONINFORMATION, "温馨提示：", IDNO, 6, "温馨提示："},
      {MB_OKCANCEL, nullptr, IDCANCEL, 1, "信息："},
  };
  for (const auto& c : cases) {
    BoxAnswer seen;
    seen.button = c.button;
    std::thread answerer(AnswerBox, window_, &seen);
    const std::int32_t answer = rt::ShowMessageBox("第一行\r\n第二行", c.flags, c.title);
    answerer.join();
    EXPECT_EQ(answer, c.answer) << c.button;
    EXPECT_EQ(seen.title, c.shown_title);
    EXPECT_EQ(seen.text, "第一行\r\n第二行");
    EXPECT_FALSE(seen.window_enabled) << "task-modal: the UI thread's window is disabled";
    EXPECT_TRUE(IsWindowEnabled(window_));
  }
}

TEST_F(Form, MessageBoxOnAWorkerLeavesTheWindowUsable) {
  static std::int32_t answer = -1;
  static std::atomic<bool> done;
  done = false;
  BoxAnswer seen;
  seen.button = IDYES;
  std::thread answerer(AnswerBox, window_, &seen);
  rt::StartThread([] {
    answer = rt::ShowMessageBox("worker", MB_YESNO);
    done = true;
  });
  EXPECT_TRUE(PumpUntil([] { return done.load(); }));
  answerer.join();
  EXPECT_EQ(answer, 5);
  EXPECT_TRUE(seen.window_enabled);
  PumpUntil([] { return !rt::WorkerThreadsAlive(); });
}

// What PrepareRuntime (run by main below) leaves behind.
TEST(PreparedRuntime, OleIsReadyAndTheProgramsFolderIsCurrent) {
  EXPECT_TRUE(rt::IsUiThread());
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);  // already initialised
  CoUninitialize();
  char module[MAX_PATH], current[MAX_PATH];
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  *std::strrchr(module, '\\') = '\0';
  GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_STREQ(current, module);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  rt::PrepareRuntime();
  return RUN_ALL_TESTS();
}
