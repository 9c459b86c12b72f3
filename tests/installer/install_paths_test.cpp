// The figures and paths an installation composes: the bar's position for a
// report, the temporary archive's two places, the shortcut's file and target,
// the product's command line.
#include <gtest/gtest.h>

#include <string>

#include "installer/completion.h"
#include "installer/shortcut.h"
#include "installer/start_program.h"
#include "installer/temporary_archive.h"

namespace {

std::string S(const rt::Text& text) { return std::string(text.view()); }

TEST(BarPosition, MaximumOver100TimesThePercentTruncated) {
  const struct {
    std::int32_t maximum, percent, position;
  } cases[] = {
      {100, 0, 0},
      {100, 57, 57},
      {100, 100, 100},  // the designed bar: the position is the percent
      {50, 33, 16},     // 16.5 truncated
      {50, 100, 50},
      // 3 / 100.0 is a hair below 0.03; in double precision times 100 it
      // rounds to 3.0, in the x87's wider registers it would stay below 3.
      {3, 100, 3},
      {6, 50, 3},
      {12, 75, 9},
      {32767, 57, 18677},
      {0, 100, 0},
      // Beyond the bar's range the bar clamps what it is given, the rule does not.
      {100, -7, -7},
      {100, 2147483647, 2147483647},
      // 46116860141324200 truncated to 64 bits, then its low 32 bits.
      {2147483647, 2147483647, 987842472},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(installer::BarPosition(c.maximum, c.percent), c.position) << c.maximum << " " << c.percent;
  }
}

TEST(ArchivePaths, PrimaryIsTheTemporaryFolderAndTwoBackslashes) {
  EXPECT_EQ(S(installer::PrimaryArchivePath("C:\\users\\root\\Temp\\")), "C:\\users\\root\\Temp\\\\tool.zip");
  EXPECT_EQ(S(installer::PrimaryArchivePath("X:\\临时\\")), "X:\\临时\\\\tool.zip");
  // No temporary folder: the root of the current drive.
  EXPECT_EQ(S(installer::PrimaryArchivePath("")), "\\tool.zip");
}

TEST(ArchivePaths, FallbackIsTheRootOfTheInstallDirectorysFirstByte) {
  const struct {
    const char* install_dir;
    const char* fallback;
  } cases[] = {
      {"D:\\Tavrinex\\Dormivet", "D:\\tool.zip"},
      {"e:\\Soft\\Dormivet", "e:\\tool.zip"},  // the letter as it stands
      {"\\\\server\\share\\Dormivet", "\\:\\tool.zip"},  // a network folder: no such file can exist
      {"", ":\\tool.zip"},
  };
  for (const auto& c : cases) EXPECT_EQ(S(installer::FallbackArchivePath(c.install_dir)), c.fallback) << c.install_dir;
}

TEST(ShortcutPaths, TheLinkGetsLnkUnlessItsOwnNameHoldsADot) {
  const struct {
    const char* desktop;
    const char* product;
    const char* file;
  } cases[] = {
      {"C:\\users\\root\\Desktop\\", "Dormivet", "C:\\users\\root\\Desktop\\Dormivet.lnk"},
      {"C:\\Users\\john.doe\\Desktop\\", "Dormivet", "C:\\Users\\john.doe\\Desktop\\Dormivet.lnk"},
      {"C:\\Users\\a.b\\桌面.旧\\", "Dormivet", "C:\\Users\\a.b\\桌面.旧\\Dormivet.lnk"},
      {"C:\\Users\\root\\Desktop\\", "Dormivet.v2", "C:\\Users\\root\\Desktop\\Dormivet.v2"},
      // The second byte of 誠 is 0x5C: no separator, the dot before it counts.
      {"C:\\Desktop\\", "v1.0誠x", "C:\\Desktop\\v1.0誠x"},
      // No desktop folder: the bare name, relative.
      {"", "Dormivet", "Dormivet.lnk"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(S(installer::ShortcutFileName(installer::LinkName(c.desktop, c.product))), c.file) << c.file;
  }
}

TEST(ProductPaths, TargetAndQuotedCommandLine) {
  EXPECT_EQ(S(installer::ProductExecutable("D:\\Tavrinex\\Dormivet", "Dormivet")),
            "D:\\Tavrinex\\Dormivet\\Dormivet.exe");
  EXPECT_EQ(S(installer::ProductExecutable("", "Dormivet")), "\\Dormivet.exe");
  const rt::Text spaced = installer::ProductExecutable("C:\\My Soft\\Dormivet", "Dormivet");
  EXPECT_EQ(S(spaced), "C:\\My Soft\\Dormivet\\Dormivet.exe");
  EXPECT_EQ(S(installer::QuotedCommandLine(spaced)), "\"C:\\My Soft\\Dormivet\\Dormivet.exe\"");
}

}  // namespace
