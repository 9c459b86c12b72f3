// The desktop shortcut, saved through the shell's link object and read back.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "installer/shortcut.h"
#include "tests/installer/shell_link_reader.h"
#include "tests/payload/test_folder.h"

namespace {

using installer_test::ReadShellLink;

class Shortcut : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }

  static std::int32_t Create(const std::string& link_name, const std::string& target) {
    return installer::CreateShortcut(rt::Text(link_name.c_str()), rt::Text(target.c_str()));
  }

  testfs::TestFolder folder_;
};

TEST_F(Shortcut, HoldsTheTargetAndShowCommand5AndNothingElse) {
  const std::string target = folder_ / "My Soft\\Dormivet.exe";
  ASSERT_EQ(Create(folder_ / "Dormivet", target), 1);
  EXPECT_EQ(testfs::ListFolder(folder_.path()), std::vector<std::string>{"Dormivet.lnk"});
  const auto link = ReadShellLink(folder_ / "Dormivet.lnk");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->path, target);
  EXPECT_EQ(link->show_command, SW_SHOW);
  EXPECT_EQ(link->arguments, "");
  EXPECT_EQ(link->working_directory, "");
  EXPECT_EQ(link->description, "");
}

TEST_F(Shortcut, GetsLnkWhenOnlyTheFoldersHoldADot) {
  const std::string desktop = folder_ / "john.doe";
  CreateDirectoryA(desktop.c_str(), nullptr);
  ASSERT_EQ(Create(desktop + "\\Dormivet", "C:\\Tavrinex\\Dormivet\\Dormivet.exe"), 1);
  EXPECT_EQ(testfs::ListFolder(desktop), std::vector<std::string>{"Dormivet.lnk"});
  ASSERT_TRUE(ReadShellLink(desktop + "\\Dormivet.lnk"));
}

TEST_F(Shortcut, KeepsANameThatHoldsADot) {
  ASSERT_EQ(Create(folder_ / "Dormivet.v2", "C:\\Tavrinex\\Dormivet\\Dormivet.exe"), 1);
  EXPECT_EQ(testfs::ListFolder(folder_.path()), std::vector<std::string>{"Dormivet.v2"});
  const auto link = ReadShellLink(folder_ / "Dormivet.v2");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->path, "C:\\Tavrinex\\Dormivet\\Dormivet.exe");
}

// A link name of n bytes in folders of the test's own, made deep enough.
std::string LinkNameOfLength(const std::string& base, std::size_t length) {
  std::string folder = base;
  while (folder.size() + 1 + 100 + 1 < length) {
    folder += "\\" + std::string(100, 'd');
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  folder += "\\";
  return folder + std::string(length - folder.size(), 'n');
}

TEST_F(Shortcut, ANameUpTo255BytesFitsALongerOneFailsCleanly) {
  const std::string fits = LinkNameOfLength(folder_.path(), 255);  // + ".lnk" + NUL = 260
  ASSERT_EQ(fits.size(), 255u);
  EXPECT_EQ(Create(fits, "C:\\Dormivet.exe"), 1);
  EXPECT_TRUE(testfs::Exists(fits + ".lnk"));

  for (std::size_t length : {256u, 300u, 1000u}) {
    const std::string too_long = LinkNameOfLength(folder_.path(), length);
    EXPECT_EQ(Create(too_long, "C:\\Dormivet.exe"), 0) << length;
    EXPECT_FALSE(testfs::Exists(too_long + ".lnk")) << length;
  }
}

TEST_F(Shortcut, FailsWhereTheFileCannotBeSaved) {
  EXPECT_EQ(Create(folder_ / "missing\\Dormivet", "C:\\Dormivet.exe"), 0);
}

TEST_F(Shortcut, FailsOnAThreadWithoutCom) {
  std::int32_t result = -1;
  std::thread([&] { result = Create(folder_ / "Dormivet", "C:\\Dormivet.exe"); }).join();
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(testfs::Exists(folder_ / "Dormivet.lnk"));
}

}  // namespace
