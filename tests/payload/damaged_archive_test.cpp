// Thousands of damaged copies of a real archive (cut short, bytes flipped,
// header fields overwritten; fixed seed): the extraction always ends, reports
// consistently and never writes outside its target.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/payload/extraction_run.h"
#include "tests/payload/test_folder.h"
#include "tests/payload/zip_maker.h"

using testzip::Entry;

namespace {

constexpr int kCopies = 3000;

std::string Bytes(std::mt19937& random, std::size_t size, bool text) {
  std::string s;
  for (std::size_t i = 0; i < size; ++i) {
    s += text ? static_cast<char>("etaoin shrdlu\r\n"[random() % 15]) : static_cast<char>(random());
  }
  return s;
}

std::vector<Entry> RealisticEntries() {
  std::mt19937 random(7);
  Entry readme = testzip::File("说明.txt", Bytes(random, 3000, true));
  Entry data = testzip::File("data.bin", Bytes(random, 1500, false));
  data.method = 0;
  Entry settings = testzip::File("子目录/配置.ini", Bytes(random, 800, true));
  settings.local_extra = testzip::ExtendedTimestamp(7, {1600000000, 1600000001, 1600000002});
  settings.central_extra = testzip::ExtendedTimestamp(7, {1600000000});
  Entry program = testzip::File("Dormivet.exe", Bytes(random, 2500, true) + Bytes(random, 500, false));
  program.local_extra = std::string("up\x0d\x00\x01\x00\x00\x00\x00", 9) + "Dormivet";
  program.central_extra = program.local_extra;
  return {readme, data, testzip::Directory("子目录"), settings, testzip::File("空.txt", ""), program};
}

// Offsets of every header in a sound archive: the local headers, the central
// records and the end record.
std::vector<std::size_t> HeaderOffsets(const std::string& b) {
  std::vector<std::size_t> offsets;
  for (const char* signature : {"PK\x03\x04", "PK\x01\x02", "PK\x05\x06"}) {
    for (std::size_t at = b.find(signature); at != std::string::npos; at = b.find(signature, at + 1)) {
      offsets.push_back(at);
    }
  }
  return offsets;
}

std::string Damage(const std::string& sound, const std::vector<std::size_t>& headers, std::mt19937& random) {
  std::string b = sound;
  switch (random() % 4) {
    case 0:  // cut short
      b.resize(random() % b.size());
      break;
    case 1:
    case 2: {  // a few bytes flipped anywhere
      const int flips = 1 + static_cast<int>(random() % 8);
      for (int i = 0; i < flips; ++i) b[random() % b.size()] ^= static_cast<char>(1 + random() % 255);
      break;
    }
    default: {  // a header field overwritten with an extreme or random value
      const std::size_t at = headers[random() % headers.size()] + 4 + random() % 42;
      const std::size_t width = std::size_t{1} << (random() % 3);
      const uint32_t values[] = {0, 0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, static_cast<uint32_t>(random())};
      const uint32_t value = values[random() % 5];
      for (std::size_t i = 0; i < width && at + i < b.size(); ++i) b[at + i] = static_cast<char>(value >> (8 * i));
      break;
    }
  }
  return b;
}

}  // namespace

TEST(DamagedArchives, NeverCrashHangOrWriteOutsideTheTarget) {
  testfs::TestFolder sandbox;
  const std::string archive = sandbox / "damaged.zip";
  const std::string target = sandbox / "out\\t";
  testzip::WriteZip(archive, RealisticEntries(), "comment");
  const std::string sound = testzip::ReadBytes(archive);
  const std::vector<std::size_t> headers = HeaderOffsets(sound);
  ASSERT_EQ(headers.size(), 13u);

  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::vector<std::string> outside = {"C:", current, temp};
  std::vector<std::vector<std::string>> before;
  for (const std::string& folder : outside) before.push_back(testfs::ListFolder(folder));

  std::mt19937 random(20240611);
  int results[2] = {0, 0};
  for (int copy = 0; copy < kCopies; ++copy) {
    SCOPED_TRACE("copy " + std::to_string(copy));
    testzip::WriteBytes(archive, Damage(sound, headers, random));
    const ExtractionRun run = RunExtract(archive, target);

    ASSERT_TRUE(run.result == 0 || run.result == 1) << run.result;
    ++results[run.result];
    ASSERT_FALSE(run.events.empty());
    const int32_t last = run.events.back();
    ASSERT_TRUE(last == 0 || last == 100) << last;
    for (std::size_t i = 0; i + 1 < run.events.size(); ++i) {
      ASSERT_TRUE(run.events[i] >= 0 && run.events[i] < 100 && (i == 0 || run.events[i] >= run.events[i - 1]));
      ASSERT_FALSE(run.failed_at_event[i]);
    }
    ASSERT_EQ(run.FailedAtFinalEvent(), run.result != 1);
    ASSERT_EQ(testfs::ListFolder(sandbox.path()), (std::vector<std::string>{"damaged.zip", "out\\"}));
    ASSERT_EQ(testfs::ListFolder(sandbox / "out"), std::vector<std::string>{"t\\"});
    if (copy % 100 == 99) testfs::RemoveTree(target);
  }
  for (std::size_t i = 0; i < outside.size(); ++i) EXPECT_EQ(testfs::ListFolder(outside[i]), before[i]) << outside[i];
  // Damage of every kind: some copies still extract whole, most fail.
  EXPECT_GT(results[1], kCopies / 20);
  EXPECT_GT(results[0], kCopies / 2);
  std::printf("%d copies: %d extracted whole, %d failed\n", kCopies, results[1], results[0]);
}
