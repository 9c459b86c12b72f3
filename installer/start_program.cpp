#include "installer/start_program.h"

#include <windows.h>

#include <string>

#include "runtime/scoped.h"

namespace installer {

namespace {

constexpr DWORD kInputIdleWait = 1000;  // milliseconds

}  // namespace

rt::Text QuotedCommandLine(const rt::Text& program) { return rt::Concat("\"", program, "\""); }

bool StartProgram(const rt::Text& program) {
  // CreateProcessA may write into the command line.
  std::string command_line(QuotedCommandLine(program).view());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    return false;
  }
  const rt::UniqueHandle process(started.hProcess), thread(started.hThread);
  WaitForInputIdle(process.get(), kInputIdleWait);
  return true;
}

}  // namespace installer
