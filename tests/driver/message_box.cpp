#include "tests/driver/driver.h"
#include "tests/driver/failure.h"

namespace driver {
namespace {

constexpr const char* kDialogClass = "#32770";

WindowQuery BoxQuery(const std::string& title, std::optional<DWORD> processId) {
  WindowQuery query;
  query.processId = processId;
  query.title = title;
  query.className = kDialogClass;
  return query;
}

}  // namespace

std::optional<Window> FindMessageBox(const std::string& title, std::optional<DWORD> processId) {
  std::vector<Window> boxes = TopLevelWindows(BoxQuery(title, processId));
  if (boxes.empty()) return std::nullopt;
  return boxes.front();
}

Window WaitForMessageBox(const std::string& title, std::optional<DWORD> processId, Timeout timeout) {
  return WaitForWindow(BoxQuery(title, processId), timeout);
}

std::string MessageBoxText(const Window& box) { return box.Child(kMessageBoxTextId).Text(); }

void PressButton(const Window& dialog, int buttonId) {
  // Posted: the click may open something modal in the dialog's program, and
  // the test must not wait for that.
  Window button = dialog.Child(buttonId);
  if (!PostMessageA(button.Handle(), BM_CLICK, 0, 0)) {
    Fail("cannot post BM_CLICK to " + button.Describe() + ": " + ErrorText(GetLastError()));
  }
}

void AnswerMessageBox(const Window& box, int buttonId, Timeout timeout) {
  const std::string what = "message box " + box.Describe() + " to close after button " + std::to_string(buttonId);
  PressButton(box, buttonId);
  WaitUntil(what, [&] { return !box.Visible(); }, timeout);
}

}  // namespace driver
