// Writing the temporary archive on real files, and removing only what an
// installation created.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "installer/temporary_archive.h"
#include "payload/payload.h"
#include "tests/payload/test_folder.h"

namespace {

using installer::ArchiveWrite;
using installer::ExistingFile;

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::string PayloadBytes() {
  const payload::ArchiveBytes archive = payload::PayloadArchive();
  return std::string(reinterpret_cast<const char*>(archive.data), archive.size);
}

ArchiveWrite Write(const std::string& path, ExistingFile existing) {
  return installer::WriteArchive(rt::Text(path.c_str()), payload::PayloadArchive(), existing);
}

TEST(WriteArchive, ANewFileIsTheArchiveByteForByte) {
  testfs::TestFolder folder;
  for (ExistingFile existing : {ExistingFile::Replace, ExistingFile::Keep}) {
    const std::string path = folder / "tool.zip";
    DeleteFileA(path.c_str());
    EXPECT_EQ(Write(path, existing), ArchiveWrite::Written);
    EXPECT_EQ(ReadAll(path), PayloadBytes());
  }
}

TEST(WriteArchive, AnExistingFileIsReplacedOrKeptAsAsked) {
  testfs::TestFolder folder;
  const std::string path = folder / "tool.zip";
  const std::string longer(PayloadBytes().size() + 1000, 'x');

  testfs::MakeFile(path, longer);
  EXPECT_EQ(Write(path, ExistingFile::Keep), ArchiveWrite::NotCreated);
  EXPECT_EQ(ReadAll(path), longer);

  EXPECT_EQ(Write(path, ExistingFile::Replace), ArchiveWrite::Written);
  EXPECT_EQ(ReadAll(path), PayloadBytes());  // truncated to the archive
}

TEST(WriteArchive, NothingIsCreatedWhereTheFileCannotBeMade) {
  testfs::TestFolder folder;
  const std::string held = folder / "held.zip";
  testfs::MakeFile(held, "in use");
  const HANDLE other = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  const struct {
    std::string path;
    const char* why;
  } cases[] = {
      {"", "an empty path"},
      {folder / "missing\\tool.zip", "a missing folder"},
      {held, "a file another handle holds without sharing"},
      {"\\:\\tool.zip", "a network install directory's fallback"},
      {":\\tool.zip", "an empty install directory's fallback"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Write(c.path, ExistingFile::Replace), ArchiveWrite::NotCreated) << c.why;
  }
  CloseHandle(other);
  EXPECT_EQ(ReadAll(held), "in use");
  EXPECT_FALSE(testfs::Exists(folder / "missing"));
}

// Run with a drive Y: of 32 KiB (see CMakeLists.txt): the archive does not fit.
TEST(WriteArchiveOnASmallDrive, AWriteThatStopsPartWayLeavesItsFile) {
  ULARGE_INTEGER free{}, total{}, total_free{};
  ASSERT_TRUE(GetDiskFreeSpaceExA("Y:\\", &free, &total, &total_free));
  ASSERT_LT(free.QuadPart, PayloadBytes().size());
  DeleteFileA("Y:\\tool.zip");
  EXPECT_EQ(Write("Y:\\tool.zip", ExistingFile::Replace), ArchiveWrite::Incomplete);
  EXPECT_TRUE(testfs::Exists("Y:\\tool.zip"));
  DeleteFileA("Y:\\tool.zip");
}

TEST(CreatedArchives, OnlyTheNotedFilesAreDeleted) {
  testfs::TestFolder folder;
  const std::string ours = folder / "ours.zip", theirs = folder / "theirs.zip";
  testfs::MakeFile(ours, "written by this installation");
  testfs::MakeFile(theirs, "found there");
  installer::ForgetCreatedArchives();
  installer::NoteCreatedArchive(rt::Text(ours.c_str()));
  installer::DeleteCreatedArchives();
  EXPECT_FALSE(testfs::Exists(ours));
  EXPECT_EQ(ReadAll(theirs), "found there");

  // The record is emptied: a later file of that name is not removed again.
  testfs::MakeFile(ours, "a later file");
  installer::DeleteCreatedArchives();
  EXPECT_TRUE(testfs::Exists(ours));

  // Forgetting drops what an earlier installation noted.
  installer::NoteCreatedArchive(rt::Text(ours.c_str()));
  installer::ForgetCreatedArchives();
  installer::DeleteCreatedArchives();
  EXPECT_TRUE(testfs::Exists(ours));
}

}  // namespace
