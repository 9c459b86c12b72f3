// Extraction that fails or ends early: what is reported, what is written and
// what is left alone.
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
using testzip::Field;
using testzip::File;

namespace {

const std::vector<int32_t> kOnlyZero = {0};
const std::vector<int32_t> kFirstThenEnd = {0, 100};

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

// Replaces every occurrence of from in the file by to (of the same length).
void ReplaceBytes(const std::string& path, const std::string& from, const std::string& to) {
  std::string b = testzip::ReadBytes(path);
  for (std::size_t at = b.find(from); at != std::string::npos; at = b.find(from, at + 1)) b.replace(at, from.size(), to);
  testzip::WriteBytes(path, b);
}

}  // namespace

TEST(ExtractFailure, MissingArchiveMakesNothing) {
  TestFolder folder;
  const std::string target = folder / "new\\target";
  const ExtractionRun run = RunExtract(folder / "missing.zip", target);
  EXPECT_EQ(run.result, -1);
  EXPECT_EQ(run.events, kOnlyZero);
  EXPECT_TRUE(run.FailedAtFinalEvent());
  EXPECT_TRUE(testfs::ListTree(folder.path()).empty());
}

TEST(ExtractFailure, EmptyArchivePathIsMissing) {
  TestFolder folder;
  const ExtractionRun run = RunExtract("", folder / "out");
  EXPECT_EQ(run.result, -1);
  EXPECT_EQ(run.events, kOnlyZero);
}

// Failures before the entries are counted: one event with 0, result 0, and
// nothing left behind but the target directory.
TEST(ExtractFailure, BeforeCounting) {
  struct Case {
    const char* what;
    std::function<void(const std::string& archive)> make;
  };
  const auto valid = [](const std::string& archive) { testzip::WriteZip(archive, {File("a.txt", "a")}); };
  const auto patched = [valid](std::size_t at, const std::string& bytes) {
    return [=](const std::string& archive) {
      valid(archive);
      std::string b = testzip::ReadBytes(archive);
      b.replace(at, bytes.size(), bytes);
      testzip::WriteBytes(archive, b);
    };
  };
  const std::vector<Case> cases = {
      {"not a ZIP file", [](const std::string& a) { testzip::WriteBytes(a, std::string(100, 'x')); }},
      {"shorter than 32 bytes",
       [](const std::string& a) { testzip::WriteBytes(a, std::string("PK\x03\x04", 4) + std::string(27, '\1')); }},
      {"first entry without a name", patched(24, std::string(4, '\0'))},
      {"bytes 24 to 27 negative", patched(24, std::string("\1\0\0\x80", 4))},
      {"no end-of-central-directory record",
       [valid](const std::string& a) {
         valid(a);
         std::string b = testzip::ReadBytes(a);
         testzip::WriteBytes(a, b.substr(0, b.size() - 22));
       }},
      {"an end record pointing past itself",
       [valid](const std::string& a) {
         valid(a);
         std::string b = testzip::ReadBytes(a);
         b[b.size() - 22 + 16] = '\x7F';  // offset of the central directory
         testzip::WriteBytes(a, b);
       }},
      {"a folder", [](const std::string& a) { CreateDirectoryA(a.c_str(), nullptr); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestFolder folder;
    const std::string archive = folder / "a.zip";
    c.make(archive);
    const ExtractionRun run = RunExtract(archive, folder / "out");
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.events, kOnlyZero);
    EXPECT_TRUE(run.FailedAtFinalEvent());
    const std::vector<std::string> tree = testfs::ListTree(folder.path());
    EXPECT_TRUE(tree == Sorted({"a.zip", "out\\"}) || tree == Sorted({"a.zip\\", "out\\"}));
  }
}

// A target below a file, and an empty target (which would put the files at
// the root of the current drive).
TEST(ExtractFailure, TargetThatCannotBeMade) {
  for (const std::string target : {"file\\out", ""}) {
    SCOPED_TRACE(target);
    TestFolder folder;
    const std::string archive = folder / "a.zip";
    testzip::WriteZip(archive, {File("zz-extract-test.txt", "a")});
    testfs::MakeFile(folder / "file", "in the way");
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    const std::string drive_root(current, 2);  // "Z:" and the like
    const std::vector<std::string> root_before = testfs::ListFolder(drive_root);
    ASSERT_FALSE(root_before.empty());
    const ExtractionRun run = RunExtract(archive, target.empty() ? target : folder / target);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.events, kOnlyZero);
    EXPECT_EQ(testfs::ListTree(folder.path()), Sorted({"a.zip", "file"}));
    EXPECT_EQ(testfs::ListFolder(drive_root), root_before);
  }
}

TEST(ExtractFailure, FileInUseStopsTheExtractionThere) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  std::vector<Entry> entries;
  for (int i = 0; i < 10; ++i) entries.push_back(File(std::to_string(i) + ".dll", "new"));
  entries.push_back(File("Dormivet.exe", "new program"));
  testzip::WriteZip(archive, entries);
  const std::string target = folder / "out";
  CreateDirectoryA(target.c_str(), nullptr);
  const std::string program = target + "\\Dormivet.exe";
  testfs::MakeFile(program, "running program", FILE_ATTRIBUTE_HIDDEN);
  HANDLE running = CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(running, INVALID_HANDLE_VALUE);

  const ExtractionRun run = RunExtract(archive, target);
  CloseHandle(running);

  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.events, (std::vector<int32_t>{0, 9, 18, 27, 36, 45, 54, 63, 72, 81, 100}));
  EXPECT_TRUE(run.FailedAtFinalEvent());
  EXPECT_EQ(std::count(run.failed_at_event.begin(), run.failed_at_event.end(), true), 1)
      << "ExtractionFailed() is false before the final event";
  for (int i = 0; i < 10; ++i) EXPECT_EQ(testzip::ReadBytes(target + "\\" + std::to_string(i) + ".dll"), "new");
  EXPECT_EQ(testzip::ReadBytes(program), "running program");
  EXPECT_TRUE(testfs::Attributes(program) & FILE_ATTRIBUTE_HIDDEN) << "the file in the way keeps its attributes";
}

TEST(ExtractFailure, FileWhoseFolderHasNoDirectoryEntry) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {File("a.txt", "a"), File("missing/b.txt", "b"), File("c.txt", "c")});
  const std::string target = folder / "out";
  const ExtractionRun run = RunExtract(archive, target);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.events, kFirstThenEnd);
  EXPECT_EQ(testfs::ListTree(target), (std::vector<std::string>{"a.txt"}));
}

TEST(ExtractFailure, DirectoryEntryNamingAnExistingFile) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {File("a.txt", "a"), Directory("sub"), File("sub/b.txt", "b")});
  const std::string target = folder / "out";
  CreateDirectoryA(target.c_str(), nullptr);
  testfs::MakeFile(target + "\\sub", "a file of the user's");
  const ExtractionRun run = RunExtract(archive, target);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.events, kFirstThenEnd);
  EXPECT_EQ(testzip::ReadBytes(target + "\\sub"), "a file of the user's");
  EXPECT_EQ(testfs::ListTree(target), Sorted({"a.txt", "sub"}));
}

TEST(ExtractFailure, FileEntryNamingAnExistingDirectory) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {File("a.txt", "a"), File("sub", "a file"), File("c.txt", "c")});
  const std::string target = folder / "out";
  CreateDirectoryA(target.c_str(), nullptr);
  CreateDirectoryA((target + "\\sub").c_str(), nullptr);
  SetFileAttributesA((target + "\\sub").c_str(), FILE_ATTRIBUTE_HIDDEN);
  testfs::MakeFile(target + "\\sub\\keep.txt", "kept");
  const ExtractionRun run = RunExtract(archive, target);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.events, kFirstThenEnd);
  EXPECT_EQ(testfs::ListTree(target), Sorted({"a.txt", "sub\\", "sub\\keep.txt"}));
  EXPECT_TRUE(testfs::Attributes(target + "\\sub") & FILE_ATTRIBUTE_HIDDEN) << "the folder keeps its attributes";
}

// An entry that cannot be read ends the extraction as the last entry would,
// with the events of the entries before it and 100; but the archive declares
// more entries than were extracted, so the result is 0.
TEST(ExtractFailure, UnreadableEntryEndsTheExtractionIncomplete) {
  struct Case {
    const char* what;
    int index;
    Field field;
    uint32_t value;
    std::vector<int32_t> events;
    std::vector<std::string> tree;
  };
  const std::vector<Case> cases = {
      {"unknown method", 1, Field::kMethod, 14, kFirstThenEnd, {"a.txt"}},
      {"bzip2, which minizip would copy as it is stored", 1, Field::kMethod, 12, kFirstThenEnd, {"a.txt"}},
      {"encrypted", 1, Field::kFlags, 1, kFirstThenEnd, {"a.txt"}},
      {"unknown method first", 0, Field::kMethod, 99, kOnlyZero, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestFolder folder;
    const std::string archive = folder / "a.zip";
    Entry b = File("b.txt", "b");
    b.method = 0;
    Entry a = File("a.txt", "a");
    a.method = 0;
    testzip::WriteZip(archive, {a, b, File("c.txt", "c")});
    testzip::Patch(archive, c.index, c.field, c.value);
    const std::string target = folder / "out";
    const ExtractionRun run = RunExtract(archive, target);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.events, c.events);
    EXPECT_TRUE(run.FailedAtFinalEvent());
    EXPECT_EQ(testfs::ListTree(target), c.tree);
  }
}

TEST(ExtractFailure, NoEntryDeclaredAndNoneReadable) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {File("a.txt", "a")});
  // An end record that declares no entries and an empty central directory.
  std::string b = testzip::ReadBytes(archive);
  const std::size_t end = b.size() - 22;
  const std::string zero4(4, '\0');
  b.replace(end + 8, 4, zero4);   // entries on this disk and in all
  b.replace(end + 12, 4, zero4);  // central directory size
  std::string offset;
  for (int shift = 0; shift < 32; shift += 8) offset += static_cast<char>((end >> shift) & 0xFF);
  b.replace(end + 16, 4, offset);
  testzip::WriteBytes(archive, b);
  const ExtractionRun run = RunExtract(archive, folder / "out");
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.events, kOnlyZero);
  EXPECT_FALSE(run.FailedAtFinalEvent());
}

TEST(ExtractFailure, CrcMismatchFailsTheEntry) {
  for (int method : {0, 8}) {
    SCOPED_TRACE(method);
    TestFolder folder;
    const std::string archive = folder / "a.zip";
    Entry bad = File("bad.txt", "the data that was stored");
    bad.method = method;
    bad.crc = 0x12345678;
    testzip::WriteZip(archive, {File("a.txt", "a"), bad, File("c.txt", "c")});
    const std::string target = folder / "out";
    const ExtractionRun run = RunExtract(archive, target);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.events, kFirstThenEnd);
    EXPECT_TRUE(run.FailedAtFinalEvent());
    EXPECT_EQ(testfs::ListTree(target), Sorted({"a.txt", "bad.txt"}));
    // The failed file stays as written, without the entry's times.
    EXPECT_GT(testfs::TimesOf(target + "\\bad.txt").last_write, testfs::FileTimeOf(2024, 1, 1, 0, 0, 0));
    EXPECT_EQ(testzip::ReadBytes(target + "\\bad.txt"), "the data that was stored");
  }
}

TEST(ExtractFailure, DataShorterThanDeclaredFailsTheEntry) {
  for (int method : {0, 8}) {
    SCOPED_TRACE(method);
    TestFolder folder;
    const std::string archive = folder / "a.zip";
    Entry short_entry = File("short.txt", "twenty bytes of data");
    short_entry.method = method;
    testzip::WriteZip(archive, {File("a.txt", "a"), short_entry});
    testzip::Patch(archive, 1, Field::kUncompressedSize, 4000);
    const ExtractionRun run = RunExtract(archive, folder / "out");
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.events, kFirstThenEnd);
  }
}

// A file whose data fails keeps the attributes it was created with, which
// come from the entry's external attributes. (The file system marks every
// new file for archiving, so only these three are compared.)
TEST(ExtractFailure, FailedFileKeepsItsCreationAttributes) {
  struct Case {
    uint32_t external;
    DWORD attributes;
  };
  const std::vector<Case> cases = {
      {0x20, FILE_ATTRIBUTE_READONLY},  // DOS host: no Unix owner-write bit
      {0x01, FILE_ATTRIBUTE_READONLY},
      {0x22, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY},
      {0x81A40020, 0},  // -rw-r--r--: the owner may write
      {0x81A40004, FILE_ATTRIBUTE_SYSTEM},
      {0x81A40001, FILE_ATTRIBUTE_READONLY},
      {0x81240000, FILE_ATTRIBUTE_READONLY},  // -r--r--r--
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.external);
    TestFolder folder;
    const std::string archive = folder / "a.zip";
    Entry bad = File("bad.txt", "data");
    bad.external = c.external;
    bad.crc = 1;
    testzip::WriteZip(archive, {bad});
    const std::string target = folder / "out";
    EXPECT_EQ(RunExtract(archive, target).result, 0);
    EXPECT_EQ(testfs::ProtectionAttributes(target + "\\bad.txt"), c.attributes);
  }
}

// Names that would leave the target or misuse Windows names are refused: the
// entry fails before anything is written for it, anywhere.
TEST(ExtractFailure, RefusedNames) {
  struct Case {
    std::string name;
    bool directory;
  };
  const std::vector<Case> cases = {
      {"../evil.txt", false},
      {"sub/../../evil.txt", false},
      {"..\\evil.txt", false},
      {"sub\\..\\..\\evil.txt", false},
      {"..", true},
      {"../evil", true},
      {"/evil.txt", false},
      {"\\evil.txt", false},
      {"//server/share/evil.txt", false},
      {"/evil", true},
      {"C:evil.txt", false},
      {"C:/evil.txt", false},
      {"C:\\evil.txt", false},
      {"evil.txt:stream", false},
      {"sub/x:y/evil.txt", false},
      {"C:/evil", true},
      {"CON", false},
      {"con.txt", false},
      {"sub/NUL", false},
      {"aux.tar.gz", false},
      {"Nul .txt", false},
      {"COM1", false},
      {"lpt9.log", false},
      {"CONIN$", false},
      {"CON/evil.txt", false},
      {"LPT1", true},
      {"evil.", false},
      {"evil ", false},
      {"dir./evil.txt", false},
      {"dir /evil.txt", false},
      {".", true},
      {"./evil.txt", false},
      {"...", false},
      {"evil*.txt", false},
      {"evil?.txt", false},
      {"evil<.txt", false},
      {"evil>.txt", false},
      {"evil\".txt", false},
      {"evil|.txt", false},
      {"evil\t.txt", false},
      {"", false},
      {"/", true},
      {"sub/", false},  // a file entry must name a file
      {std::string(300, 'e'), false},
      {std::string(240, 'e'), false},  // fits the name, not the output path
  };
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  const std::vector<std::string> root_before = testfs::ListFolder("C:");
  const std::vector<std::string> current_before = testfs::ListFolder(current);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder folder;
    const std::string archive = folder / "a.zip";
    Entry refused = c.directory ? Directory(c.name) : File(c.name, "evil");
    if (c.directory && !c.name.empty() && c.name.back() == '/') refused.name = c.name;
    testzip::WriteZip(archive, {File("good.txt", "good"), Directory("sub"), refused, File("after.txt", "after")});
    const std::string target = folder / "out\\in";
    const ExtractionRun run = RunExtract(archive, target);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.events, (std::vector<int32_t>{0, 25, 100}));
    EXPECT_TRUE(run.FailedAtFinalEvent());
    EXPECT_EQ(testfs::ListTree(folder.path()), Sorted({"a.zip", "out\\", "out\\in\\", "out\\in\\good.txt",
                                                       "out\\in\\sub\\"}));
  }
  EXPECT_EQ(testfs::ListFolder("C:"), root_before);
  EXPECT_EQ(testfs::ListFolder(current), current_before);
}

TEST(ExtractFailure, NameHoldingANulByteIsRefused) {
  TestFolder folder;
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {File("good.txt", "good"), File("evil.exe#.txt", "evil")});
  ReplaceBytes(archive, "evil.exe#.txt", std::string("evil.exe\0.txt", 13));
  const std::string target = folder / "out";
  const ExtractionRun run = RunExtract(archive, target);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.events, kFirstThenEnd);
  EXPECT_EQ(testfs::ListTree(target), (std::vector<std::string>{"good.txt"}));
}
