#include "tests/driver/command_line.h"
#include "tests/driver/driver.h"
#include "tests/driver/failure.h"

namespace driver {

UniqueHandle& UniqueHandle::operator=(UniqueHandle&& other) noexcept {
  if (this != &other) {
    if (handle_) CloseHandle(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

UniqueHandle::~UniqueHandle() {
  if (handle_) CloseHandle(handle_);
}

Process Process::Start(const std::string& program, const StartOptions& options) {
  std::string commandLine = detail::BuildCommandLine(program, options.arguments);
  std::string environment;
  if (!options.environment.empty()) {
    environment = detail::BuildEnvironmentBlock(detail::CurrentEnvironment(), options.environment);
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                      environment.empty() ? nullptr : environment.data(),
                      options.workingDirectory.empty() ? nullptr : options.workingDirectory.c_str(),
                      &startup, &info)) {
    DWORD error = GetLastError();
    Fail("cannot start " + ToUtf8(commandLine) +
         (options.workingDirectory.empty() ? "" : " in " + ToUtf8(options.workingDirectory)) + ": " +
         ErrorText(error));
  }
  CloseHandle(info.hThread);
  return Process(UniqueHandle(info.hProcess), info.dwProcessId, program);
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Terminate();
    handle_ = std::move(other.handle_);
    id_ = std::exchange(other.id_, 0);
    program_ = std::move(other.program_);
  }
  return *this;
}

Process::~Process() { Terminate(); }

bool Process::Running() const {
  return handle_ && WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
}

void Process::Terminate() {
  if (!Running()) return;
  TerminateProcess(handle_.get(), 1);
  WaitForSingleObject(handle_.get(), 10000);
}

Window Process::WaitForWindow(const std::optional<std::string>& title, Timeout timeout) const {
  WindowQuery query;
  query.processId = id_;
  query.title = title;
  return driver::WaitForWindow(query, timeout);
}

int32_t Process::WaitForExit(Timeout timeout) const {
  if (!handle_) Fail("no process to wait for");
  DWORD waited = WaitForSingleObject(handle_.get(), timeout.milliseconds);
  if (waited == WAIT_TIMEOUT) {
    std::string windows;
    for (const Window& window : TopLevelWindows({.processId = id_})) windows += "\n  " + window.Describe();
    Fail("timed out after " + SecondsText(timeout) + " s waiting for " + ToUtf8(program_) +
         " (process " + std::to_string(id_) + ") to end; its visible windows:" +
         (windows.empty() ? " none" : windows));
  }
  if (waited != WAIT_OBJECT_0) Fail("cannot wait for process " + std::to_string(id_) + ": " + ErrorText(GetLastError()));
  DWORD code = 0;
  if (!GetExitCodeProcess(handle_.get(), &code)) {
    Fail("cannot read the exit code of process " + std::to_string(id_) + ": " + ErrorText(GetLastError()));
  }
  return static_cast<int32_t>(code);
}

}  // namespace driver
