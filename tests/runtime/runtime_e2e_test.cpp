// How programs on the form runtime end, seen from outside: exit codes, the
// run-time error box and the exit hook's trace.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "runtime/bound_functions.h"
#include "runtime/runtime_error.h"
#include "tests/driver/driver.h"

namespace {

struct ProbeRun {
  driver::Process process;
  std::string trace_path;
};

ProbeRun StartProbe(const std::string& mode) {
  static int runs = 0;
  const std::string trace = driver::ArtifactPath("probe-trace-" + mode + "-" + std::to_string(++runs) + ".txt");
  DeleteFileA(trace.c_str());
  driver::StartOptions options;
  options.arguments = {mode};
  options.environment = {{"RUNTIME_PROBE_TRACE", trace}};
  return {driver::Process::Start(driver::FromHostPath(RUNTIME_PROBE), options), trace};
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string Report(int code, const char* message) {
  return std::string(rt::RuntimeErrorText(code, message).view());
}

// The box of a run-time error: its text, then OK ends the process with -1,
// without the exit hook.
void ExpectRuntimeErrorBox(ProbeRun& run, const std::string& text) {
  const driver::Window box = driver::WaitForMessageBox("错误", run.process.Id());
  EXPECT_EQ(driver::MessageBoxText(box), text) << driver::ToUtf8(driver::MessageBoxText(box));
  driver::PressButton(box, IDOK);
  EXPECT_EQ(run.process.WaitForExit(), -1);
  EXPECT_EQ(ReadFile(run.trace_path), "");
}

TEST(RuntimeEnd, ShutdownFromAWorkerRunsTheExitHookOnceOnTheUiThread) {
  ProbeRun run = StartProbe("worker-shutdown");
  EXPECT_EQ(run.process.WaitForExit(), 0);
  // The worker that asked is still inside Shutdown: what it may read is kept.
  EXPECT_EQ(ReadFile(run.trace_path), "exit hook: ui thread yes, window gone, state kept\n");
}

// The user ends the program while a worker writes properties: the worker is
// stopped where it stands, raises no report of its own and reads nothing
// released; the exit code stays 0.
TEST(RuntimeEnd, EndingWhileAWorkerWritesPropertiesEndsWith0) {
  for (const char* mode : {"close-during-worker", "last-window-closed"}) {
    SCOPED_TRACE(mode);
    ProbeRun run = StartProbe(mode);
    EXPECT_EQ(run.process.WaitForExit(), 0);
    EXPECT_FALSE(driver::FindMessageBox("错误"));
    EXPECT_EQ(ReadFile(run.trace_path), "exit hook: ui thread yes, window gone, state kept\n");
  }
}

TEST(RuntimeEnd, RunTimeErrorsShowTheReportAndEndWithMinusOne) {
  const struct {
    const char* mode;
    std::string text;
  } cases[] = {
      {"not-loaded", Report(0, "未载入欲访问窗口组件所在的窗口")},
      {"not-loaded-from-worker", Report(0, "未载入欲访问窗口组件所在的窗口")},
      {"out-of-memory", Report(0, "内存不足，无法分配程序运行所需的内存")},
      {"container-too-large", Report(0, "内存不足，无法分配程序运行所需的内存")},
      {"unbound-function", Report(0, "无法找到指定DLL库文件“kernel32.dll”中的输出命令“NoSuchFunction”")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    ProbeRun run = StartProbe(c.mode);
    ExpectRuntimeErrorBox(run, c.text);
  }
}

// Libraries are loaded from the system directory only: a library that only
// the program's folder (its current directory as well) holds is not found,
// though it loads by its full path.
TEST(RuntimeLibraries, ALibraryPlantedInTheProgramsFolderIsNotLoaded) {
  const std::string planted = driver::FromHostPath(PLANTED_LIBRARY);
  HMODULE direct = LoadLibraryA(planted.c_str());
  ASSERT_NE(direct, nullptr) << planted;
  EXPECT_NE(GetProcAddress(direct, "PlantedFunction"), nullptr);
  FreeLibrary(direct);

  ProbeRun run = StartProbe("planted-library");
  ExpectRuntimeErrorBox(run, Report(0, "无法找到指定DLL库文件“rtplanted.dll”中的输出命令“PlantedFunction”"));

  ProbeRun by_name = StartProbe("default-dll-search");
  EXPECT_EQ(by_name.process.WaitForExit(), 0) << "LoadLibraryA found the planted library by name";
}

}  // namespace
