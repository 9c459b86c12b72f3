#include "runtime/runtime_error.h"

#include <gtest/gtest.h>

#include <string>

TEST(RuntimeError, ReportTextTable) {
  struct Case {
    int code;
    const char* message;
    std::string expected;
  } cases[] = {
      {4, "数组成员引用下标必须大于等于1",
       "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"},
      {1, "数组成员引用下标超出定义范围",
       "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
      {0, "未载入欲访问窗口组件所在的窗口", "运行时出错!\r\n\r\n错误信息：未载入欲访问窗口组件所在的窗口\r\n"},
      {-7, "", "运行时出错!\r\n\r\n错误代码：-7\r\n\r\n"},
      {0, "", "运行时出错!\r\n\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::string(rt::RuntimeErrorText(c.code, c.message).view()), c.expected) << c.code;
  }
}
