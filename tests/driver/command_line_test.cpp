// Command lines must reach the started program's argv unchanged; the
// reference is Windows' own splitting (CommandLineToArgvW).
#include "tests/driver/command_line.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include "tests/driver/driver.h"

namespace driver::detail {
namespace {

std::vector<std::string> SplitAsWindowsDoes(const std::string& commandLine) {
  int wideSize = MultiByteToWideChar(CP_ACP, 0, commandLine.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
  MultiByteToWideChar(CP_ACP, 0, commandLine.c_str(), -1, wide.data(), wideSize);
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(wide.c_str(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) {
    int size = WideCharToMultiByte(CP_ACP, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string argument(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, argv[i], -1, argument.data(), size, nullptr, nullptr);
    argument.resize(static_cast<std::size_t>(size - 1));
    arguments.push_back(argument);
  }
  LocalFree(argv);
  return arguments;
}

TEST(CommandLine, ArgumentsComeBackUnchanged) {
  const std::vector<std::string> cases = {
      "plain",
      "",
      "two words",
      "tab\there",
      "say \"hi\"",
      "\"",
      "C:\\Program Files\\",  // a trailing backslash before the closing quote
      "a\\\\\"b",             // backslashes before an inner quote
      "\\\\server\\share",
      "D:\\Tavrinex\\Dormivet",
      "安装 目录",
      "a \x95\x5C",           // ends in a character whose second byte is '\'
      "\x95\x5C\"x y",        // that character right before a quote
  };
  for (const std::string& argument : cases) {
    std::vector<std::string> split = SplitAsWindowsDoes(BuildCommandLine("C:\\p.exe", {argument, "next"}));
    ASSERT_EQ(split.size(), 3u) << ToUtf8(argument);
    EXPECT_EQ(split[0], "C:\\p.exe");
    EXPECT_EQ(split[1], argument) << ToUtf8(argument);
    EXPECT_EQ(split[2], "next");
  }
}

TEST(CommandLine, SimpleArgumentsStayUnquoted) {
  EXPECT_EQ(QuoteArgument("--exit-code"), "--exit-code");
  EXPECT_EQ(QuoteArgument("C:\\dir\\"), "C:\\dir\\");
  EXPECT_EQ(BuildCommandLine("C:\\a b\\p.exe", {"-1"}), "\"C:\\a b\\p.exe\" -1");
}

std::string Block(std::initializer_list<const char*> entries) {
  std::string block;
  for (const char* entry : entries) block.append(entry).push_back('\0');
  block.push_back('\0');
  return block;
}

TEST(EnvironmentBlock, ChangesApplyOnTopOfTheEntries) {
  const std::vector<std::string> entries = {"PATH=C:\\bin", "=C:=C:\\work", "Temp=C:\\old", "TEMPDIR=C:\\keep",
                                            "DROP=1"};
  EXPECT_EQ(BuildEnvironmentBlock(entries, {{"TEMP", "C:\\新"}, {"drop", std::nullopt}, {"NEW", "1"}}),
            Block({"PATH=C:\\bin", "=C:=C:\\work", "TEMPDIR=C:\\keep", "TEMP=C:\\新", "NEW=1"}));
  EXPECT_EQ(BuildEnvironmentBlock(entries, {}), Block({"PATH=C:\\bin", "=C:=C:\\work", "Temp=C:\\old",
                                                       "TEMPDIR=C:\\keep", "DROP=1"}));
  EXPECT_EQ(BuildEnvironmentBlock(entries, {{"ABSENT", std::nullopt}}).size(),
            BuildEnvironmentBlock(entries, {}).size());
}

TEST(EnvironmentBlock, AnEmptyBlockEndsInTwoNuls) {
  EXPECT_EQ(BuildEnvironmentBlock({"ONLY=1"}, {{"ONLY", std::nullopt}}), std::string(2, '\0'));
}

TEST(EnvironmentBlock, CurrentEnvironmentHasThePath) {
  std::vector<std::string> entries = CurrentEnvironment();
  bool found = false;
  for (const std::string& entry : entries) found = found || _strnicmp(entry.c_str(), "PATH=", 5) == 0;
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace driver::detail
