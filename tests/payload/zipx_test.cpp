// zipx, the developer tool: its output for a small archive, its usage errors.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/payload/test_folder.h"
#include "tests/payload/zip_maker.h"

namespace {

struct Output {
  std::string text;  // stdout, "\r\n" turned into "\n"
  DWORD exit_code = 999;
};

// The tool's path in the build tree, as Wine's drive Z: shows it.
std::string ZipxPath() {
  std::string path = "Z:" ZIPX_PATH;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

Output RunZipx(const std::string& arguments) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE read_end, write_end;
  Output out;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) {
    ADD_FAILURE() << "CreatePipe";
    return out;
  }
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::string command = Quoted(ZipxPath()) + " " + arguments;
  const bool started =
      CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  CloseHandle(write_end);
  if (!started) {
    ADD_FAILURE() << "cannot start " << command;
    CloseHandle(read_end);
    return out;
  }
  char buffer[4096];
  DWORD read;
  while (ReadFile(read_end, buffer, sizeof(buffer), &read, nullptr) && read > 0) out.text.append(buffer, read);
  CloseHandle(read_end);
  WaitForSingleObject(process.hProcess, INFINITE);
  GetExitCodeProcess(process.hProcess, &out.exit_code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  std::string text;
  for (char c : out.text) {
    if (c != '\r') text += c;
  }
  out.text = text;
  return out;
}

}  // namespace

TEST(Zipx, PrintsEveryProgressValueThenTheResult) {
  testfs::TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {testzip::File("a.txt", "a"), testzip::Directory("目录"),
                              testzip::File("目录/b.txt", "b")});
  const Output out = RunZipx(Quoted(archive) + " " + Quoted(folder / "安装"));
  EXPECT_EQ(out.exit_code, 0u);
  EXPECT_EQ(out.text, "0\n33\n66\n100\nresult 1\n");
  EXPECT_EQ(testzip::ReadBytes(folder / "安装\\目录\\b.txt"), "b");
}

TEST(Zipx, ReportsAMissingArchiveAsItsResult) {
  testfs::TestFolder folder;
  const Output out = RunZipx(Quoted(folder / "missing.zip") + " " + Quoted(folder / "out"));
  EXPECT_EQ(out.exit_code, 0u);
  EXPECT_EQ(out.text, "0\nresult -1\n");
}

TEST(Zipx, WrongArgumentsAreAUsageError) {
  for (const char* arguments : {"", "only-one", "one two three"}) {
    const Output out = RunZipx(arguments);
    EXPECT_EQ(out.exit_code, 2u) << arguments;
    EXPECT_EQ(out.text, "usage: zipx ARCHIVE TARGET\n") << arguments;
  }
}
