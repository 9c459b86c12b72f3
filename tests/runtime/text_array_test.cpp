#include "runtime/text_array.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextArray, CheckIndexTable) {
  struct Case {
    int index;
    int count;
    int code;
    std::string message;
  } cases[] = {
      {1, 16, 0, ""},
      {16, 16, 0, ""},
      {0, 16, 4, "数组成员引用下标必须大于等于1"},
      {-5, 16, 4, "数组成员引用下标必须大于等于1"},
      {17, 16, 1, "数组成员引用下标超出定义范围"},
      {0, 0, 4, "数组成员引用下标必须大于等于1"},  // below 1 is tested first
      {1, 0, 1, "数组成员引用下标超出定义范围"},
  };
  for (const Case& c : cases) {
    const rt::IndexError e = rt::CheckIndex(c.index, c.count);
    EXPECT_EQ(e.code, c.code) << c.index << " of " << c.count;
    EXPECT_EQ(std::string(e.message), c.message) << c.index << " of " << c.count;
  }
}

TEST(TextArray, IndexesFromOne) {
  const rt::TextArray names(rt::Split("Arvelune|Brosket|Calvenor|Dormivet", "|"));
  ASSERT_EQ(names.Count(), 4);
  EXPECT_EQ(names[1], rt::Text("Arvelune"));
  EXPECT_EQ(names[4], rt::Text("Dormivet"));
  EXPECT_EQ(rt::TextArray().Count(), 0);
}
