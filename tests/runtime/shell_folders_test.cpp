#include "runtime/shell_folders.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

TEST(SpecialFolders, TemporaryFolderEndsInABackslash) {
  char expected[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, expected), 0u);
  std::string folder(rt::SpecialFolder(rt::kTempFolder).view());
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_EQ(folder, std::string(expected));
}

TEST(SpecialFolders, DesktopDirectory) {
  char expected[MAX_PATH];
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, expected, CSIDL_DESKTOPDIRECTORY, FALSE));
  std::string folder(rt::SpecialFolder(rt::kDesktopFolder).view());
  EXPECT_EQ(folder, std::string(expected) + "\\");
}

TEST(SpecialFolders, UnknownCodeGivesEmpty) { EXPECT_TRUE(rt::SpecialFolder(7).Empty()); }
