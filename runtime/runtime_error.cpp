#include "runtime/runtime_error.h"

#include <windows.h>

#include <charconv>

#include "runtime/program.h"
#include "runtime/program_state.h"

namespace rt {

Text RuntimeErrorText(int32_t code, const Text& message) {
  // Not printf: its C library version would bring a whole formatter along.
  char number[16] = "";
  if (code != 0) *std::to_chars(number, number + sizeof number - 1, code).ptr = '\0';
  return Concat("运行时出错!\r\n\r\n",
                code != 0 ? Concat("错误代码：", number, "\r\n\r\n") : Text(),
                message.Empty() ? Text() : Concat("错误信息：", message, "\r\n"));
}

void ReportRuntimeError(int32_t code, const Text& message) {
  // Another thread while the program is already ending (the user closed it
  // during an installation): the ending decides the exit code, not this.
  if (ClosingDown() && !IsUiThread()) ParkThread();
  // The exit hook is dropped before the box is up, so that no shutdown
  // while the box waits (a close control of the window) runs it.
  NoteRuntimeErrorReport();
  MessageBoxA(nullptr, RuntimeErrorText(code, message).c_str(), "错误", MB_ICONERROR | MB_OK);
  Shutdown(-1);
}

}  // namespace rt
