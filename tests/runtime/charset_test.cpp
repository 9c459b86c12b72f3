// Narrow literals reach the program as GBK bytes, whatever the source encoding.
#include <gtest/gtest.h>

#include <cstring>

TEST(Charset, NarrowLiteralsAreGbk) {
  const char* done = "完成";
  ASSERT_EQ(std::strlen(done), 4u);
  EXPECT_EQ(std::memcmp(done, "\xCD\xEA\xB3\xC9", 4), 0);
  // Full-width colon, as used in titles such as "信息：".
  EXPECT_EQ(std::memcmp("：", "\xA3\xBA", 3), 0);
}
