#include "installer/disk_space.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint64_t kMiB = 1048576;

TEST(DiskSpace, ConversionTable) {
  const struct {
    const char* what;
    std::uint64_t free_to_caller, total, total_free;
    installer::DiskSpaceMiB expected;
  } cases[] = {
      {"exactly 1000 MiB free", 1000 * kMiB, 2000 * kMiB, 1000 * kMiB, {1000, 1000, 2000}},
      {"one byte short of 1000 MiB", 1000 * kMiB - 1, 2000 * kMiB, 1000 * kMiB - 1, {1000, 999, 2000}},
      {"a quota smaller than the volume's free space", 100 * kMiB, 10000 * kMiB, 5000 * kMiB, {9900, 5000, 10000}},
      {"an empty volume", 0, 0, 0, {0, 0, 0}},
      {"parts of a MiB are dropped", 1 * kMiB, 3 * kMiB + 5, 1 * kMiB + kMiB / 2, {2, 1, 3}},
      {"4 TiB", 1024 * 1024 * kMiB, 4 * 1024 * 1024 * kMiB, 1024 * 1024 * kMiB,
       {3 * 1024 * 1024, 1024 * 1024, 4 * 1024 * 1024}},
      // More free to the caller than the volume holds: the difference is
      // negative and truncated toward zero, not down.
      {"a negative difference", kMiB + kMiB / 2, 0, 0, {-1, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(installer::DiskSpaceInMiB(c.free_to_caller, c.total, c.total_free), c.expected) << c.what;
  }
}

TEST(DiskSpace, AFailedQueryLeavesTheFiguresAsTheCallerSetThem) {
  std::int64_t used = 0, free = 0, total = 0;
  EXPECT_FALSE(installer::QueryDiskSpaceMiB("q:", used, free, total));
  EXPECT_EQ(used, 0);
  EXPECT_EQ(free, 0);
  EXPECT_EQ(total, 0);
  EXPECT_TRUE(installer::QueryDiskSpaceMiB("c:", used, free, total));
  EXPECT_GT(total, 0);
  EXPECT_LE(free, total);
}

}  // namespace
