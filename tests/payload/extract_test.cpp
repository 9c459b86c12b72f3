// Extraction that succeeds: directories, files, attributes, times, progress.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/payload/extraction_run.h"
#include "tests/payload/test_folder.h"
#include "tests/payload/zip_maker.h"

using testfs::TestFolder;
using testzip::Directory;
using testzip::Entry;
using testzip::File;

namespace {

// 2021-03-04 05:06:08 UTC: testzip::kDosTime read as UTC.
const uint64_t kEntryTime = testfs::FileTimeOf(2021, 3, 4, 5, 6, 8);

// GBK characters whose second byte is the backslash (0x5C) or '|' (0x7C).
const std::string kTrailBackslash = "\x95\x5C";  // 昞
const std::string kTrailBar = "\x81\x7C";

// An entry name as a path below the target.
std::string Local(std::string name) {
  for (char& c : name) c = c == '/' ? '\\' : c;
  return name;
}

std::string Text(char c, std::size_t size) {
  std::string s;
  for (std::size_t i = 0; i < size; ++i) s += static_cast<char>(c + i % 23);
  return s;
}

// An archive laid out like the installer's payload: ten deflated files and
// one stored directory entry before the one file inside it, Chinese names,
// a Unicode-path block on the last entry, the product's executable last.
std::vector<Entry> PayloadLikeEntries() {
  std::vector<Entry> entries = {
      File("核心.dll", Text('A', 7000)),
      File("更新程序.exe", Text('B', 20000)),
      File("配置.ini", "[main]\r\nlang=zh\r\n"),
      File("图形.dll", Text('C', 9000)),
      Directory("数据"),
      File("数据/设置.ini", Text('D', 6000)),
      File("网络.dll", Text('E', 12000)),
      File("示例.txt", "样例数据\r\n"),
      File("更新日志.txt", Text('F', 4000)),
      File("教程.mht", Text('G', 30000)),
      File("Dormivet.exe", Text('H', 50000)),
  };
  std::string unicode_path = "up";
  unicode_path += std::string("\x0a\x00\x01\x00\x00\x00\x00", 7) + "Dormivet.exe";
  unicode_path[2] = static_cast<char>(unicode_path.size() - 4);
  entries.back().local_extra = unicode_path;
  entries.back().central_extra = unicode_path;
  return entries;
}

}  // namespace

TEST(Extract, PayloadLikeArchiveIntoNewTwoLevelDirectory) {
  TestFolder folder;
  const std::vector<Entry> entries = PayloadLikeEntries();
  const std::string archive = folder / "tool.zip";
  testzip::WriteZip(archive, entries, "an archive comment");
  const std::string target = folder / "安装\\Dormivet";

  bool archive_free_at_100 = false;
  const ExtractionRun run = RunExtract(archive, target, [&](int32_t percent) -> std::optional<bool> {
    if (percent == 100) {
      HANDLE h = CreateFileA(archive.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      archive_free_at_100 = h != INVALID_HANDLE_VALUE;
      if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    return std::nullopt;
  });

  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.events, (std::vector<int32_t>{0, 9, 18, 27, 36, 45, 54, 63, 72, 81, 90, 100}));
  EXPECT_FALSE(run.FailedAtFinalEvent());
  EXPECT_TRUE(archive_free_at_100) << "the archive is closed before the final event";

  std::vector<std::string> expected_tree;
  for (const Entry& e : entries) expected_tree.push_back(Local(e.name));
  std::sort(expected_tree.begin(), expected_tree.end());
  EXPECT_EQ(testfs::ListTree(target), expected_tree);

  for (const Entry& e : entries) {
    if (e.external == testzip::kDirectoryAttributes) continue;
    const std::string path = target + "\\" + Local(e.name);
    SCOPED_TRACE(path);
    const testfs::FileTimes times = testfs::TimesOf(path);  // before reading changes the access time
    EXPECT_EQ(times.creation, kEntryTime);
    EXPECT_EQ(times.last_access, kEntryTime);
    EXPECT_EQ(times.last_write, kEntryTime);
    EXPECT_EQ(testfs::Attributes(path), testfs::NormalAttributes());
    EXPECT_EQ(testzip::ReadBytes(path), e.data);
  }
}

TEST(Extract, HoldsTheArchiveSharedWithReadersOnlyWhileExtracting) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {File("a.txt", "a"), File("b.txt", "b")});
  bool can_read = false, can_write = true, can_delete = true;
  RunExtract(archive, folder / "out", [&](int32_t percent) -> std::optional<bool> {
    if (percent != 0) return std::nullopt;
    HANDLE r = CreateFileA(archive.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    can_read = r != INVALID_HANDLE_VALUE;
    if (can_read) CloseHandle(r);
    HANDLE w = CreateFileA(archive.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    can_write = w != INVALID_HANDLE_VALUE;
    if (can_write) CloseHandle(w);
    can_delete = DeleteFileA(archive.c_str()) != 0;
    return std::nullopt;
  });
  EXPECT_TRUE(can_read);
  EXPECT_FALSE(can_write);
  EXPECT_FALSE(can_delete);
}

TEST(Extract, ReplacesReadOnlyHiddenAndSystemFiles) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {File("ro.txt", "new ro"), File("hidden.txt", "new hidden"),
                              File("system.txt", "new system")});
  const std::string target = folder / "out";
  CreateDirectoryA(target.c_str(), nullptr);
  testfs::MakeFile(target + "\\ro.txt", "old read-only file", FILE_ATTRIBUTE_READONLY);
  testfs::MakeFile(target + "\\hidden.txt", "old hidden file", FILE_ATTRIBUTE_HIDDEN);
  testfs::MakeFile(target + "\\system.txt", "old system file", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);

  const ExtractionRun run = RunExtract(archive, target);

  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.events, (std::vector<int32_t>{0, 33, 66, 100}));
  for (const char* name : {"ro.txt", "hidden.txt", "system.txt"}) {
    EXPECT_EQ(testfs::Attributes(target + "\\" + name), testfs::NormalAttributes()) << name;
  }
  EXPECT_EQ(testzip::ReadBytes(target + "\\ro.txt"), "new ro");
  EXPECT_EQ(testzip::ReadBytes(target + "\\hidden.txt"), "new hidden");
  EXPECT_EQ(testzip::ReadBytes(target + "\\system.txt"), "new system");
}

// Targets that end in a separator, and targets whose characters have a
// second byte that looks like one: the files land inside the target.
TEST(Extract, TargetsWithTrailingAndLookalikeBackslashes) {
  struct Case {
    std::string target;  // below the test folder
    std::vector<std::string> tree;
  };
  const std::vector<Case> cases = {
      {"out\\", {"out\\", "out\\a.txt", "out\\sub\\", "out\\sub\\b.txt"}},
      {"新\\" + kTrailBackslash + "\\层",
       {"新\\", "新\\" + kTrailBackslash + "\\", "新\\" + kTrailBackslash + "\\层\\",
        "新\\" + kTrailBackslash + "\\层\\a.txt", "新\\" + kTrailBackslash + "\\层\\sub\\",
        "新\\" + kTrailBackslash + "\\层\\sub\\b.txt"}},
      // The last character's second byte is 0x5C: a separator still follows it.
      {"x" + kTrailBackslash,
       {"x" + kTrailBackslash + "\\", "x" + kTrailBackslash + "\\a.txt", "x" + kTrailBackslash + "\\sub\\",
        "x" + kTrailBackslash + "\\sub\\b.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    TestFolder folder;
    const std::string archive = folder / "a.zip";
    testzip::WriteZip(archive, {File("a.txt", "a"), Directory("sub"), File("sub/b.txt", "b")});
    const ExtractionRun run = RunExtract(archive, folder / c.target);
    EXPECT_EQ(run.result, 1);
    std::vector<std::string> tree = c.tree;
    tree.push_back("a.zip");
    std::sort(tree.begin(), tree.end());
    EXPECT_EQ(testfs::ListTree(folder.path()), tree);
  }
}

TEST(Extract, NamesWithDoubleByteCharactersAreWrittenAsStored) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  const std::string dir = kTrailBackslash + "目录";
  testzip::WriteZip(archive, {Directory(dir), File(dir + "/" + kTrailBar + ".txt", "bar"),
                              File(kTrailBackslash + "CON.txt", "not a device")});
  const std::string target = folder / "out";
  const ExtractionRun run = RunExtract(archive, target);
  EXPECT_EQ(run.result, 1);
  std::vector<std::string> tree = {dir + "\\", dir + "\\" + kTrailBar + ".txt", kTrailBackslash + "CON.txt"};
  std::sort(tree.begin(), tree.end());
  EXPECT_EQ(testfs::ListTree(target), tree);
}

TEST(Extract, OneEntryRaisesZeroAndHundred) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {File("only.txt", "only")});
  const ExtractionRun run = RunExtract(archive, folder / "out");
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.events, (std::vector<int32_t>{0, 100}));
}

TEST(Extract, FiftyEntriesComputeThePercentageDivisionFirst) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  std::vector<Entry> entries;
  for (int i = 0; i < 50; ++i) entries.push_back(File(std::to_string(i) + ".txt", std::to_string(i)));
  testzip::WriteZip(archive, entries);
  const ExtractionRun run = RunExtract(archive, folder / "out");
  EXPECT_EQ(run.result, 1);
  ASSERT_EQ(run.events.size(), 51u);
  EXPECT_EQ(run.events[29], 57);  // 29 / 50 * 100 is 57.99... in double precision
  EXPECT_EQ(run.events[1], 2);
  EXPECT_EQ(run.events[49], 98);
  EXPECT_EQ(run.events[50], 100);
}

TEST(Extract, HandlerThatAnswersFalseStopsAfterTheCurrentEntry) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {File("a.txt", "a"), File("b.txt", "b"), File("c.txt", "c")});
  const std::string target = folder / "out";
  const ExtractionRun run = RunExtract(archive, target, [](int32_t) { return std::optional<bool>(false); });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.events, (std::vector<int32_t>{0}));
  EXPECT_EQ(testfs::ListTree(target), (std::vector<std::string>{"a.txt"}));
  EXPECT_TRUE(DeleteFileA(archive.c_str())) << "the archive is closed";
}

TEST(Extract, HandlerThatAnswersTrueChangesNothing) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {File("a.txt", "a"), File("b.txt", "b")});
  const ExtractionRun run = RunExtract(archive, folder / "out", [](int32_t) { return std::optional<bool>(true); });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.events, (std::vector<int32_t>{0, 50, 100}));
}

TEST(Extract, RaisesTheEventOnTheCallingThread) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {File("a.txt", "a")});
  std::vector<DWORD> threads;
  RunExtract(archive, folder / "out", [&](int32_t) {
    threads.push_back(GetCurrentThreadId());
    return std::optional<bool>();
  });
  EXPECT_EQ(threads, (std::vector<DWORD>{GetCurrentThreadId(), GetCurrentThreadId()}));
}

TEST(Extract, ExistingDirectoriesAreUsedAsTheyAre) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {Directory("sub"), File("sub/a.txt", "new")});
  const std::string target = folder / "out";
  CreateDirectoryA(target.c_str(), nullptr);
  CreateDirectoryA((target + "\\sub").c_str(), nullptr);
  testfs::MakeFile(target + "\\sub\\keep.txt", "kept");
  const ExtractionRun run = RunExtract(archive, target);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(testfs::ListTree(target), (std::vector<std::string>{"sub\\", "sub\\a.txt", "sub\\keep.txt"}));
}

TEST(Extract, DirectoryEntriesMakeAllMissingLevels) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {Directory("a/b/c"), File("a/b/c/d.txt", "d"), File("a/e.txt", "e")});
  const std::string target = folder / "out";
  const ExtractionRun run = RunExtract(archive, target);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(testfs::ListTree(target),
            (std::vector<std::string>{"a\\", "a\\b\\", "a\\b\\c\\", "a\\b\\c\\d.txt", "a\\e.txt"}));
}

TEST(Extract, UnixDirectoryBitMakesADirectory) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  Entry dir = Directory("unix");
  dir.external = 0x41ED0000;  // drwxr-xr-x, no DOS bits
  testzip::WriteZip(archive, {dir});
  const std::string target = folder / "out";
  EXPECT_EQ(RunExtract(archive, target).result, 1);
  EXPECT_TRUE(testfs::IsDirectory(target + "\\unix"));
}

TEST(Extract, EmptyFileEntry) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {File("empty.txt", "")});
  const std::string target = folder / "out";
  EXPECT_EQ(RunExtract(archive, target).result, 1);
  EXPECT_EQ(testzip::ReadBytes(target + "\\empty.txt"), "");
}

TEST(Extract, LargeEntryIsWrittenWhole) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  std::string data;
  uint32_t x = 12345;
  for (int i = 0; i < 300000; ++i) {
    x = x * 1103515245 + 12345;
    data += static_cast<char>(i % 7 == 0 ? (x >> 16) : 'a' + i % 5);
  }
  Entry stored = File("stored.bin", data);
  stored.method = 0;
  testzip::WriteZip(archive, {File("deflated.bin", data), stored});
  const std::string target = folder / "out";
  EXPECT_EQ(RunExtract(archive, target).result, 1);
  EXPECT_TRUE(testzip::ReadBytes(target + "\\deflated.bin") == data);
  EXPECT_TRUE(testzip::ReadBytes(target + "\\stored.bin") == data);
}
