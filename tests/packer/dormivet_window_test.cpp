// The demo product's program as the installer's end-to-end tests meet it: a
// window titled "Dormivet" that shows its working directory and command line
// (and the greeting from its settings, read through its libraries), and that
// ends with exit code 0 when closed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "product/app/window_ids.h"

namespace {

std::string g_program;  // Dormivet.exe in the product folder, from the command line

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char title[64];
  if (process == search->process && IsWindowVisible(window) &&
      GetWindowTextA(window, title, sizeof title) > 0 &&
      std::string(title) == dormivet::kWindowTitle) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForWindow(DWORD process) {
  for (int i = 0; i < 300; ++i) {
    Search search{process, nullptr};
    EnumWindows(&FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(100);
  }
  return nullptr;
}

std::string ChildText(HWND window, int id) {
  HWND child = GetDlgItem(window, id);
  if (child == nullptr) return std::string("<no control ") + std::to_string(id) + ">";
  char text[1024] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, &length);
  return text;
}

TEST(DormivetWindow, ShowsWhereAndHowItWasStartedAndEndsCleanly) {
  char directory[MAX_PATH];
  ASSERT_GT(GetWindowsDirectoryA(directory, MAX_PATH), 0u);
  std::string command_line = "\"" + g_program + "\" --来自测试 \"两 个\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(g_program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                             nullptr, directory, &startup, &process))
      << GetLastError();

  HWND window = WaitForWindow(process.dwProcessId);
  if (window != nullptr) {
    EXPECT_EQ(ChildText(window, dormivet::kWorkingDirectoryId), directory);
    EXPECT_EQ(ChildText(window, dormivet::kCommandLineId), command_line);
    EXPECT_EQ(ChildText(window, dormivet::kGreetingId), "欢迎使用 Dormivet 宠物作息记录");
    PostMessageA(window, WM_CLOSE, 0, 0);
  } else {
    ADD_FAILURE() << "no window titled Dormivet";
    TerminateProcess(process.hProcess, 99);
  }
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
  DWORD exit_code = 99;
  GetExitCodeProcess(process.hProcess, &exit_code);
  EXPECT_EQ(exit_code, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: dormivet_window_test DORMIVET.EXE\n");
    return 2;
  }
  g_program = argv[1];
  return RUN_ALL_TESTS();
}
