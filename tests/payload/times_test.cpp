// The times of extracted files: the entry's DOS date and time as UTC,
// replaced by the times of the first "UT" block of its local extra field.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/payload/extraction_run.h"
#include "tests/payload/test_folder.h"
#include "tests/payload/zip_maker.h"

using testfs::TestFolder;
using testzip::ExtendedTimestamp;

namespace {

const uint64_t kDos = testfs::FileTimeOf(2021, 3, 4, 5, 6, 8);
constexpr int32_t kT1 = 1600000000;  // 2020-09-13 12:26:40 UTC
constexpr int32_t kT2 = 1500000000;
constexpr int32_t kT3 = 1400000000;
constexpr int32_t kT4 = 1300000000;

uint64_t U(int64_t seconds) { return testfs::FileTimeOfUnix(seconds); }

// An extra block; its size field says declared_size (the data's own size
// unless given).
std::string Block(uint16_t id, const std::string& data, int declared_size = -1) {
  const auto size = static_cast<uint16_t>(declared_size < 0 ? data.size() : declared_size);
  std::string b;
  b += static_cast<char>(id & 0xFF);
  b += static_cast<char>(id >> 8);
  b += static_cast<char>(size & 0xFF);
  b += static_cast<char>(size >> 8);
  return b + data;
}

// Extracts an archive of the one entry f.txt and returns its file's times.
testfs::FileTimes TimesOfExtracted(const testzip::Entry& entry) {
  TestFolder folder("-times");
  const std::string archive = folder / "a.zip";
  testzip::WriteZip(archive, {entry});
  EXPECT_EQ(RunExtract(archive, folder / "out").result, 1);
  return testfs::TimesOf(folder / "out\\f.txt");
}

struct Case {
  const char* what;
  std::string local_extra;
  uint64_t creation, last_access, last_write;
  std::string central_extra = "";
};

}  // namespace

// Where the file system cannot keep a creation time of its own (Wine on
// Linux), the creation times are not compared.
TEST(ExtractTimes, FirstExtendedTimestampBlockOfTheLocalField) {
  const std::string ut7 = ExtendedTimestamp(7, {kT1, kT2, kT3});
  const std::vector<Case> cases = {
      {"no extra field", "", kDos, kDos, kDos},
      {"modification only", ExtendedTimestamp(1, {kT1}), kDos, kDos, U(kT1)},
      {"all three, in the order write, access, creation", ut7, U(kT3), U(kT2), U(kT1)},
      {"access and creation", ExtendedTimestamp(6, {kT1, kT2}), U(kT2), U(kT1), kDos},
      {"write and creation", ExtendedTimestamp(5, {kT1, kT2}), U(kT2), kDos, U(kT1)},
      {"flags without times", ExtendedTimestamp(7, {}), kDos, kDos, kDos},
      {"flags promising more times than the block holds", ExtendedTimestamp(7, {kT1}), kDos, kDos, U(kT1)},
      {"only the first block counts", ExtendedTimestamp(1, {kT1}) + ExtendedTimestamp(7, {kT2, kT3, kT4}),
       kDos, kDos, U(kT1)},
      {"after another block", Block(0x000A, std::string(32, '\0')) + ut7, U(kT3), U(kT2), U(kT1)},
      {"a block running past the field ends the walk",
       Block(0x7075, std::string(8, 'x'), 64) + ut7, kDos, kDos, kDos},
      {"a block cut off by the end of the field gives the times it holds", ut7.substr(0, 13), kDos, U(kT2),
       U(kT1)},
      {"four bytes left are not a block", Block(0x000A, "abcd") + std::string("UT\x05\x00", 4), kDos, kDos, kDos},
      {"times before 1970", ExtendedTimestamp(1, {-86400}), kDos, kDos, U(-86400)},
      {"the central field's block does not count", "", kDos, kDos, kDos, ExtendedTimestamp(1, {kT1})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testzip::Entry entry = testzip::File("f.txt", "data");
    entry.local_extra = c.local_extra;
    entry.central_extra = c.central_extra;
    const testfs::FileTimes times = TimesOfExtracted(entry);
    if (testfs::KeepsCreationTimes()) {
      EXPECT_EQ(times.creation, c.creation);
    }
    EXPECT_EQ(times.last_access, c.last_access);
    EXPECT_EQ(times.last_write, c.last_write);
  }
}

// Fields that name no real moment set no time: the file keeps the times it
// was given when it was written, so none of them is the entry's.
TEST(ExtractTimes, DosTimesThatNameNoMomentAreNotSet) {
  const auto dos = [](uint32_t year, uint32_t month, uint32_t day, uint32_t hour, uint32_t minute,
                      uint32_t second2) {
    return (year - 1980) << 25 | month << 21 | day << 16 | hour << 11 | minute << 5 | second2;
  };
  struct DateCase {
    const char* what;
    uint32_t dos_time;
    uint64_t expected;  // 0: not set
  };
  const std::vector<DateCase> cases = {
      {"month 0", dos(2021, 0, 4, 5, 6, 4), 0},
      {"month 13", dos(2021, 13, 4, 5, 6, 4), 0},
      {"day 0", dos(2021, 3, 0, 5, 6, 4), 0},
      {"31 April", dos(2021, 4, 31, 5, 6, 4), 0},
      {"29 February of a common year", dos(2021, 2, 29, 5, 6, 4), 0},
      {"hour 24", dos(2021, 3, 4, 24, 6, 4), 0},
      {"minute 60", dos(2021, 3, 4, 5, 60, 4), 0},
      {"second 60", dos(2021, 3, 4, 5, 6, 30), 0},
      {"29 February of a leap year", dos(2020, 2, 29, 23, 59, 29), testfs::FileTimeOf(2020, 2, 29, 23, 59, 58)},
      {"the first DOS moment", dos(1980, 1, 1, 0, 0, 0), testfs::FileTimeOf(1980, 1, 1, 0, 0, 0)},
      {"the last DOS year", dos(2107, 12, 31, 23, 59, 29), testfs::FileTimeOf(2107, 12, 31, 23, 59, 58)},
  };
  for (const DateCase& c : cases) {
    SCOPED_TRACE(c.what);
    testzip::Entry entry = testzip::File("f.txt", "data");
    entry.dos_time = c.dos_time;
    const testfs::FileTimes times = TimesOfExtracted(entry);
    if (c.expected) {
      EXPECT_EQ(times.last_write, c.expected);
      EXPECT_EQ(times.last_access, c.expected);
    } else {
      EXPECT_GT(times.last_write, testfs::FileTimeOf(2024, 1, 1, 0, 0, 0)) << "the time of writing stays";
    }
  }
}
