// The driver against a real program: the harness window, worked with real
// input under Wine.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/driver/driver.h"
#include "tests/harness/harness_ids.h"

namespace {

using namespace driver;
using namespace harness;

constexpr Rgb ToRgb(Colour c) { return Rgb{c.r, c.g, c.b}; }

std::string Format(const char* format, int value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Counts(int presses, int releases, int clicks, int rightClicks, POINT last) {
  char text[128];
  std::snprintf(text, sizeof text, kCountsFormat, presses, releases, clicks, rightClicks, static_cast<int>(last.x),
                static_cast<int>(last.y));
  return text;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct Harness {
  Process process;
  Window window;
};

Harness StartHarness(const StartOptions& options = {}) {
  Process process = Process::Start(FromHostPath(HARNESS_APP), options);
  Window window = process.WaitForWindow(std::string(kTitle));
  return {std::move(process), window};
}

TEST(Harness, WindowIsFoundAndRead) {
  Harness h = StartHarness();
  EXPECT_EQ(h.window.Text(), kTitle);
  EXPECT_EQ(h.window.ClassName(), kMainClass);
  EXPECT_EQ(h.window.ProcessId(), h.process.Id());
  EXPECT_EQ(static_cast<DWORD>(h.window.Style()) & (WS_CAPTION | WS_SYSMENU | WS_CHILD | WS_THICKFRAME),
            DWORD{WS_CAPTION | WS_SYSMENU});
  EXPECT_TRUE(h.window.ExStyle() & WS_EX_CONTROLPARENT);

  // Found the same by title alone and by process alone.
  EXPECT_EQ(WaitForWindow({.title = std::string(kTitle)}), h.window);
  EXPECT_EQ(TopLevelWindows({.processId = h.process.Id()}), std::vector<Window>{h.window});

  const RECT frame = h.window.Rect();
  const RECT client = h.window.ClientRect();
  EXPECT_EQ(client.right - client.left, kClientWidth);
  EXPECT_EQ(client.bottom - client.top, kClientHeight);
  EXPECT_TRUE(frame.left <= client.left && frame.top < client.top && client.right <= frame.right &&
              client.bottom <= frame.bottom);

  Window greeting = h.window.Child(kGreetingId);
  EXPECT_EQ(greeting.Text(), kGreeting);
  EXPECT_EQ(greeting.ControlId(), kGreetingId);
  const RECT area = h.window.Child(kClickAreaId).ClientRect();
  EXPECT_EQ(area.left - client.left, kClickAreaRect.left);
  EXPECT_EQ(area.top - client.top, kClickAreaRect.top);
  EXPECT_EQ(area.right - client.left, kClickAreaRect.right);
  EXPECT_EQ(area.bottom - client.top, kClickAreaRect.bottom);

  EXPECT_FALSE(h.window.FindChild(4242).has_value());
}

TEST(Harness, ProgramGetsTheChosenEnvironmentAndDirectory) {
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  const std::string directory = std::string(base) + "驱动 工作目录";
  const std::string temp = std::string(base) + "驱动临时";
  CreateDirectoryA(directory.c_str(), nullptr);
  CreateDirectoryA(temp.c_str(), nullptr);
  SetEnvironmentVariableA(kEchoVariable, "the test's own");

  {
    Harness h = StartHarness({.environment = {{kEchoVariable, "值 1"}, {"TMP", temp}, {"TEMP", temp}},
                              .workingDirectory = directory});
    EXPECT_EQ(h.window.Child(kEchoId).Text(), "值 1");
    EXPECT_EQ(h.window.Child(kTempPathId).Text(), temp + "\\");
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, h.window.Child(kDirectoryId).Text().c_str(), -1,
                             directory.c_str(), -1),
              CSTR_EQUAL)
        << ToUtf8(h.window.Child(kDirectoryId).Text());
  }
  {
    Harness h = StartHarness({.environment = {{kEchoVariable, std::nullopt}}});
    EXPECT_EQ(h.window.Child(kEchoId).Text(), kNoEcho);
  }
  {
    Harness h = StartHarness();  // no changes: the test's own environment
    EXPECT_EQ(h.window.Child(kEchoId).Text(), "the test's own");
  }
  SetEnvironmentVariableA(kEchoVariable, nullptr);
}

TEST(Harness, ClickIsSeenWhereItWasMade) {
  Harness h = StartHarness();
  Window area = h.window.Child(kClickAreaId);
  Click(area, {15, 25});
  WaitForText(area, Counts(1, 1, 1, 0, {15, 25}));
  Click(area, {199, 99});  // the last pixel inside
  WaitForText(area, Counts(2, 2, 2, 0, {199, 99}));
  Click(area, {3, 4}, MouseButton::Right);
  WaitForText(area, Counts(2, 2, 2, 1, {199, 99}));
  EXPECT_EQ(CursorPosition().x, area.ToScreen({3, 4}).x);
}

TEST(Harness, PressAndReleaseAreSeparate) {
  Harness h = StartHarness();
  Window area = h.window.Child(kClickAreaId);
  Press(area, {10, 10});
  WaitForText(area, Counts(1, 0, 0, 0, {10, 10}));
  // Released outside the area: a press and a release, but no click.
  Release(h.window, {350, 280});
  WaitForText(area, Counts(1, 1, 0, 0, {10, 10}));
  // Pressed and released at different places inside: a click.
  Press(area, {5, 5});
  Release(area, {190, 90});
  WaitForText(area, Counts(2, 2, 1, 0, {5, 5}));
}

struct BoxCase {
  UINT flags;
  int button;
};

class MessageBoxAnswer : public testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxAnswer, IsFoundReadAndAnswered) {
  const BoxCase c = GetParam();
  Harness h = StartHarness({.arguments = {"--box-flags", std::to_string(c.flags)}});
  Click(h.window.Child(kAskId));

  Window box = WaitForMessageBox(kBoxTitle, h.process.Id());
  EXPECT_EQ(MessageBoxText(box), kBoxText);
  EXPECT_EQ(box.ClassName(), "#32770");
  EXPECT_EQ(FindMessageBox(kBoxTitle, h.process.Id()), box);
  EXPECT_FALSE(FindMessageBox(kBoxTitle, GetCurrentProcessId()).has_value());
  EXPECT_FALSE(FindMessageBox("别的标题", h.process.Id()).has_value());

  AnswerMessageBox(box, c.button);
  EXPECT_FALSE(FindMessageBox(kBoxTitle).has_value());
  WaitForText(h.window.Child(kAnswerId), Format(kAnswerFormat, c.button));
}

INSTANTIATE_TEST_SUITE_P(Buttons, MessageBoxAnswer,
                         testing::Values(BoxCase{MB_OK, IDOK}, BoxCase{MB_YESNO, IDYES}, BoxCase{MB_YESNO, IDNO},
                                         BoxCase{MB_OKCANCEL, IDCANCEL}));

TEST(Harness, AMissingButtonIsReportedWithTheButtonsThere) {
  Harness h = StartHarness();
  Click(h.window.Child(kAskId));
  Window box = WaitForMessageBox(kBoxTitle, h.process.Id());
  try {
    PressButton(box, IDYES);
    ADD_FAILURE() << "pressing a button the box does not have went unnoticed";
  } catch (const Failure& failure) {
    EXPECT_TRUE(Contains(failure.what(), "no control with id 6")) << failure.what();
    EXPECT_TRUE(Contains(failure.what(), "class \"Button\"")) << failure.what();
    EXPECT_TRUE(Contains(failure.what(), " id 1 ")) << failure.what();
  }
  AnswerMessageBox(box, IDOK);
  WaitForText(h.window.Child(kAnswerId), Format(kAnswerFormat, IDOK));
}

class ExitCode : public testing::TestWithParam<int32_t> {};

TEST_P(ExitCode, IsReadAsTheProgramGaveIt) {
  Harness h = StartHarness({.arguments = {"--exit-code", std::to_string(GetParam())}});
  Click(h.window.Child(kExitId));
  EXPECT_EQ(h.process.WaitForExit(), GetParam());
  EXPECT_FALSE(h.process.Running());
  EXPECT_FALSE(h.window.Exists());
}

INSTANTIATE_TEST_SUITE_P(Codes, ExitCode, testing::Values(0, 3, -1));

TEST(Harness, ARunningProgramIsReportedWithItsWindows) {
  Harness h = StartHarness();
  try {
    h.process.WaitForExit(Milliseconds(300));
    ADD_FAILURE() << "a running program was taken as ended";
  } catch (const Failure& failure) {
    EXPECT_TRUE(Contains(failure.what(), "to end")) << failure.what();
    EXPECT_TRUE(Contains(failure.what(), ToUtf8(kTitle))) << failure.what();
  }
  EXPECT_TRUE(h.process.Running());
}

TEST(Harness, AMissingWindowIsReportedWithWhatWasSeen) {
  Harness h = StartHarness();
  try {
    WaitForWindow({.title = std::string("不存在的窗口")}, Milliseconds(300));
    ADD_FAILURE() << "a missing window was found";
  } catch (const Failure& failure) {
    EXPECT_TRUE(Contains(failure.what(), "titled \"" + ToUtf8("不存在的窗口") + "\"")) << failure.what();
    EXPECT_TRUE(Contains(failure.what(), ToUtf8(kTitle))) << failure.what();  // what was there instead
  }
}

TEST(Harness, PixelsOfTheWindowAreCaptured) {
  Harness h = StartHarness();
  const int areaX = kClickAreaRect.left, areaY = kClickAreaRect.top;
  Image client;
  // Painting happens when the program gets to it.
  WaitUntil("the harness window painted", [&] {
    client = CaptureClient(h.window);
    return client.Pixel(areaX, areaY) == ToRgb(kAreaColour) && client.Pixel(kClientWidth - 1, kClientHeight - 1) ==
                                                                    ToRgb(kBackground);
  });
  EXPECT_EQ(client.Width(), kClientWidth);
  EXPECT_EQ(client.Height(), kClientHeight);
  // The area's edges are exactly where the program put them.
  EXPECT_EQ(client.Pixel(kClickAreaRect.right - 1, kClickAreaRect.bottom - 1), ToRgb(kAreaColour));
  EXPECT_EQ(client.Pixel(areaX - 1, areaY), ToRgb(kBackground));
  EXPECT_EQ(client.Pixel(kClickAreaRect.right, kClickAreaRect.bottom - 1), ToRgb(kBackground));

  Image area = CaptureWindow(h.window.Child(kClickAreaId));
  EXPECT_EQ(area.Width(), kClickAreaRect.right - kClickAreaRect.left);
  EXPECT_EQ(area.Pixel(0, 0), ToRgb(kAreaColour));
  EXPECT_EQ(area.Pixel(area.Width() - 1, area.Height() - 1), ToRgb(kAreaColour));

  Image window = CaptureWindow(h.window);
  const RECT frame = h.window.Rect();
  const POINT areaOnScreen = h.window.ToScreen({areaX, areaY});
  EXPECT_EQ(window.Pixel(areaOnScreen.x - frame.left, areaOnScreen.y - frame.top), ToRgb(kAreaColour));

  // Kept for a look: the test output folder.
  window.SavePng(ArtifactPath("harness-window.png"));
  window.SaveBmp(ArtifactPath("harness-window.bmp"));
  WIN32_FILE_ATTRIBUTE_DATA png{}, bmp{};
  ASSERT_TRUE(GetFileAttributesExA(ArtifactPath("harness-window.png").c_str(), GetFileExInfoStandard, &png));
  ASSERT_TRUE(GetFileAttributesExA(ArtifactPath("harness-window.bmp").c_str(), GetFileExInfoStandard, &bmp));
  EXPECT_GT(png.nFileSizeLow, 0u);
  EXPECT_EQ(bmp.nFileSizeLow, 54u + ((3u * static_cast<unsigned>(window.Width()) + 3u) & ~3u) *
                                        static_cast<unsigned>(window.Height()));
}

TEST(Harness, RemoteStringReachesTheProgram) {
  Harness h = StartHarness();
  const std::string text = "D:\\测试\\路径 \x95\x5C";
  EXPECT_EQ(SendWithRemoteString(h.window, kShowRemoteText, 0, text), static_cast<LRESULT>(text.size()));
  EXPECT_EQ(h.window.Child(kRemoteTextId).Text(), text);
}

}  // namespace
