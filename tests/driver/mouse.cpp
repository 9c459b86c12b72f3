#include <cstdio>

#include "tests/driver/driver.h"
#include "tests/driver/failure.h"

namespace driver {
namespace {

std::string PointText(POINT p) {
  char text[48];
  std::snprintf(text, sizeof text, "(%ld,%ld)", p.x, p.y);
  return text;
}

void Send(INPUT input, const std::string& what) {
  if (SendInput(1, &input, sizeof input) != 1) Fail("SendInput refused " + what + ": " + ErrorText(GetLastError()));
}

// Moves the pointer with an absolute move, as a mouse does, and waits until
// the system has it there.
void MoveTo(const Window& window, POINT client) {
  POINT screen = window.ToScreen(client);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  if (screen.x < 0 || screen.y < 0 || screen.x >= width || screen.y >= height) {
    Fail("client point " + PointText(client) + " of " + window.Describe() + " is off the screen at " +
         PointText(screen));
  }
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Absolute coordinates run from 0 to 65535 over the screen; rounding up
  // makes the system's scaling back land exactly on the pixel.
  input.mi.dx = static_cast<LONG>((static_cast<long long>(screen.x) * 65536 + width - 1) / width);
  input.mi.dy = static_cast<LONG>((static_cast<long long>(screen.y) * 65536 + height - 1) / height);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  Send(input, "a move to " + PointText(screen));
  WaitUntil(
      "the mouse pointer at " + PointText(screen),
      [&] {
        POINT now = CursorPosition();
        return now.x == screen.x && now.y == screen.y;
      },
      kDefaultTimeout, [] { return "pointer at " + PointText(CursorPosition()); });
}

void SendButton(MouseButton button, bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  if (button == MouseButton::Left) {
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  } else {
    input.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
  }
  Send(input, down ? "a button press" : "a button release");
}

}  // namespace

POINT CursorPosition() {
  POINT p{};
  GetCursorPos(&p);
  return p;
}

void MoveMouse(const Window& window, POINT client) { MoveTo(window, client); }

void Press(const Window& window, POINT client, MouseButton button) {
  MoveTo(window, client);
  SendButton(button, true);
}

void Release(const Window& window, POINT client, MouseButton button) {
  MoveTo(window, client);
  SendButton(button, false);
}

void Click(const Window& window, POINT client, MouseButton button) {
  MoveTo(window, client);
  SendButton(button, true);
  SendButton(button, false);
}

void Click(const Window& window, MouseButton button) {
  RECT client = window.ClientRect();
  Click(window, POINT{(client.right - client.left) / 2, (client.bottom - client.top) / 2}, button);
}

}  // namespace driver
