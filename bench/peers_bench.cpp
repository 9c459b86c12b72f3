// The installer against its peers, run side by side under Wine: installation
// time, peak working set and start-up time. Every kind of run is repeated,
// the kinds interleaved (each round in a rotated order), and the medians are
// written to a results file for bench/peers_table.py.
//
//   peers_bench ROUNDS RESULTS OURS MINIMAL PEER_ZLIB PEER_LZMA PEER_EMPTY
//
// OURS is the installer, MINIMAL the smallest window program, the PEER_*
// installers are silent ones that install into C:\Peer\<kind>. Programs are
// given as host paths.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "tests/driver/driver.h"
#include "ui/control_ids.h"

namespace {

using bench::Exists;

constexpr char kOursTitle[] = "Mordakel - 安装程序";
constexpr char kNoticeTitle[] = "信息：";
constexpr char kQuestionTitle[] = "温馨提示：";
constexpr char kOursTarget[] = "C:\\Tavrinex\\Dormivet";
constexpr char kProductExe[] = "Dormivet.exe";
constexpr DWORD kTimeoutMs = 120000;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "peers_bench: %s\n", what.c_str());
  std::exit(1);
}

// Removes the folder and makes sure it is gone.
void RemoveTree(const std::string& path) {
  bench::RemoveTree(path);
  if (bench::Exists(path)) Fail("cannot remove " + driver::ToUtf8(path));
}

// A started program, watched closely: the time since just before its start
// and the highest peak working set seen while it ran.
class Child {
 public:
  explicit Child(const std::string& program) : program_(program) {
    std::string command = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    start_ = bench::Seconds();
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
      Fail("cannot start " + driver::ToUtf8(program) + " (error " + std::to_string(GetLastError()) + ")");
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
  ~Child() {
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_, 1);
      WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  DWORD Id() const { return id_; }
  double Elapsed() const { return bench::Seconds() - start_; }
  SIZE_T PeakWorkingSet() const { return peak_; }

  // Polls until `done` holds, sampling the memory on every turn; gives the
  // seconds since the start at that moment.
  double Await(const std::string& what, const std::function<bool()>& done) {
    const double deadline = bench::Seconds() + kTimeoutMs / 1000.0;
    for (;;) {
      Sample();
      if (done()) return Elapsed();
      if (WaitForSingleObject(process_, 0) != WAIT_TIMEOUT) {
        Fail(driver::ToUtf8(program_) + " ended while waiting for " + what);
      }
      if (bench::Seconds() > deadline) Fail("timed out waiting for " + what);
      Sleep(1);
    }
  }

  // Waits for the end; gives the seconds since the start and the exit code.
  double AwaitExit(DWORD& exit_code) {
    const double deadline = bench::Seconds() + kTimeoutMs / 1000.0;
    while (WaitForSingleObject(process_, 1) == WAIT_TIMEOUT) {
      Sample();
      if (bench::Seconds() > deadline) Fail("timed out waiting for " + driver::ToUtf8(program_) + " to end");
    }
    const double seconds = Elapsed();
    Sample();  // the counters of an ended process, where the system keeps them
    GetExitCodeProcess(process_, &exit_code);
    return seconds;
  }

  std::optional<driver::Window> VisibleWindow(const char* title) const {
    driver::WindowQuery query;
    query.processId = id_;
    if (title) query.title = title;
    const std::vector<driver::Window> windows = driver::TopLevelWindows(query);
    if (windows.empty()) return std::nullopt;
    return windows.front();
  }

 private:
  void Sample() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (GetProcessMemoryInfo(process_, &counters, sizeof counters)) peak_ = std::max(peak_, counters.PeakWorkingSetSize);
  }

  std::string program_;
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
  double start_ = 0;
  SIZE_T peak_ = 0;
};

// Every figure of every run, by name; the medians are what is reported.
class Figures {
 public:
  void Add(const std::string& name, double value) { values_[name].push_back(value); }
  void Write(FILE* out) const {
    for (const auto& [name, values] : values_) {
      std::vector<double> sorted = values;
      std::sort(sorted.begin(), sorted.end());
      const std::size_t n = sorted.size();
      const double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
      std::fprintf(out, "%s\t%.6f\t%zu\t%.6f\t%.6f\n", name.c_str(), median, n, sorted.front(), sorted.back());
    }
  }

 private:
  std::map<std::string, std::vector<double>> values_;
};

std::string DesktopShortcut() {
  char desktop[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
  return std::string(desktop) + "\\Dormivet.lnk";
}

// Our installer with every box answered at once: start, the install button,
// OK on the notice, No on the question (the product is not started), exit.
void InstallOurs(const std::string& program, Figures& figures) {
  RemoveTree(kOursTarget);
  DeleteFileA(DesktopShortcut().c_str());
  Child child(program);
  std::optional<driver::Window> window;
  const double shown =
      child.Await("the installer's window", [&] { return (window = child.VisibleWindow(kOursTitle)).has_value(); });
  driver::Click(window->Child(ui::kInstallButtonId));
  const double clicked = child.Elapsed();
  std::optional<driver::Window> box;
  const double notice =
      child.Await("the notice", [&] { return (box = driver::FindMessageBox(kNoticeTitle, child.Id())).has_value(); });
  driver::PressButton(*box, IDOK);
  const double ok = child.Elapsed();
  const double question =
      child.Await("the question", [&] { return (box = driver::FindMessageBox(kQuestionTitle, child.Id())).has_value(); });
  driver::PressButton(*box, IDNO);
  const double no = child.Elapsed();
  DWORD code = 0;
  const double total = child.AwaitExit(code);
  if (code != 0) Fail("the installer ended with " + std::to_string(code));
  if (!Exists(std::string(kOursTarget) + "\\" + kProductExe)) Fail("the installer did not install the product");
  figures.Add("install.ours", total);
  figures.Add("start_to_window.ours", shown);
  figures.Add("click_to_notice.ours", notice - clicked);
  figures.Add("ok_to_question.ours", question - ok);
  figures.Add("no_to_exit.ours", total - no);
  figures.Add("peak.ours", static_cast<double>(child.PeakWorkingSet()));
}

// A silent peer installer: start to exit.
void InstallPeer(const std::string& kind, const std::string& program, bool carries_product, Figures& figures) {
  const std::string target = "C:\\Peer\\" + kind;
  RemoveTree(target);
  Child child(program);
  DWORD code = 0;
  const double total = child.AwaitExit(code);
  if (code != 0) Fail("the " + kind + " peer ended with " + std::to_string(code));
  if (carries_product != Exists(target + "\\" + kProductExe)) Fail("the " + kind + " peer did not install as built");
  figures.Add("install." + kind, total);
  figures.Add("peak." + kind, static_cast<double>(child.PeakWorkingSet()));
}

// Start until the main window is visible; then closed as a user would.
void StartUp(const std::string& kind, const std::string& program, const char* title, Figures& figures) {
  Child child(program);
  std::optional<driver::Window> window;
  const double shown =
      child.Await("the window of " + kind, [&] { return (window = child.VisibleWindow(title)).has_value(); });
  PostMessageA(window->Handle(), WM_CLOSE, 0, 0);
  DWORD code = 0;
  const double total = child.AwaitExit(code);
  if (code != 0) Fail(kind + " ended with " + std::to_string(code));
  figures.Add("startup." + kind, shown);
  figures.Add("startup_to_exit." + kind, total);
  figures.Add("peak_startup." + kind, static_cast<double>(child.PeakWorkingSet()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8) {
    std::fputs("usage: peers_bench ROUNDS RESULTS OURS MINIMAL PEER_ZLIB PEER_LZMA PEER_EMPTY\n", stderr);
    return 2;
  }
  const int rounds = std::atoi(argv[1]);
  const std::string results = driver::FromHostPath(argv[2]);
  const std::string ours = driver::FromHostPath(argv[3]), minimal = driver::FromHostPath(argv[4]);
  const std::string zlib = driver::FromHostPath(argv[5]), lzma = driver::FromHostPath(argv[6]),
                    empty = driver::FromHostPath(argv[7]);

  Figures figures, warm_up;
  const std::vector<std::function<void(Figures&)>> kinds = {
      [&](Figures& f) { InstallOurs(ours, f); },
      [&](Figures& f) { InstallPeer("zlib", zlib, true, f); },
      [&](Figures& f) { InstallPeer("lzma", lzma, true, f); },
      [&](Figures& f) { InstallPeer("empty", empty, false, f); },
      [&](Figures& f) { StartUp("ours", ours, kOursTitle, f); },
      [&](Figures& f) { StartUp("minimal", minimal, nullptr, f); },
  };
  try {
    // One round not counted: every program and file in the caches first.
    for (const auto& run : kinds) run(warm_up);
    for (int round = 0; round < rounds; ++round) {
      std::printf("round %d of %d\n", round + 1, rounds);
      std::fflush(stdout);
      for (std::size_t i = 0; i < kinds.size(); ++i) kinds[(i + round) % kinds.size()](figures);
    }
  } catch (const std::exception& failure) {
    Fail(failure.what());
  }
  FILE* out = std::fopen(results.c_str(), "w");
  if (!out) Fail("cannot write " + results);
  std::fputs("# name\tmedian\truns\tmin\tmax\n", out);
  figures.Write(out);
  std::fclose(out);
  figures.Write(stdout);
  return 0;
}
