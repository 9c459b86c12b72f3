#include "runtime/bound_functions.h"

#include <gtest/gtest.h>

#include <string>

TEST(BoundFunctions, ErrorTextTable) {
  const struct {
    const char* library;
    const char* function;
    std::string expected;
  } cases[] = {
      {"kernel32.dll", "GetDiskFreeSpaceExA", "无法找到指定DLL库文件“kernel32.dll”中的输出命令“GetDiskFreeSpaceExA”"},
      {"shell32", "SHBrowseForFolderA", "无法找到指定DLL库文件“shell32”中的输出命令“SHBrowseForFolderA”"},
      {"", "", "无法找到指定DLL库文件“”中的输出命令“”"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::string(rt::BoundFunctionErrorText(c.library, c.function).view()), c.expected);
  }
}

TEST(BoundFunctions, TableInOrder) {
  const char* expected[][2] = {
      {"shell32", "SHGetFolderLocation"}, {"shell32", "SHBrowseForFolderA"},
      {"shell32", "SHGetPathFromIDListA"}, {"ole32", "CoTaskMemFree"},
      {"ole32.dll", "CoInitialize"},      {"ole32.dll", "CoUninitialize"},
      {"kernel32.dll", "GetDiskFreeSpaceExA"},
  };
  for (std::size_t i = 0; i < rt::kBoundFunctionCount; ++i) {
    EXPECT_STREQ(rt::kBoundFunctionNames[i].library, expected[i][0]) << i;
    EXPECT_STREQ(rt::kBoundFunctionNames[i].function, expected[i][1]) << i;
  }
}

// Every entry resolves to the system's own function.
TEST(BoundFunctions, EveryEntryResolvesToTheSystemFunction) {
  for (std::size_t i = 0; i < rt::kBoundFunctionCount; ++i) {
    const rt::BoundFunctionName& name = rt::kBoundFunctionNames[i];
    std::string file = name.library;
    if (file.find('.') == std::string::npos) file += ".dll";
    const HMODULE system = GetModuleHandleA(file.c_str());
    ASSERT_NE(system, nullptr) << file;
    EXPECT_EQ(rt::BoundAddress(static_cast<rt::BoundFunction>(i)),
              reinterpret_cast<void*>(GetProcAddress(system, name.function)))
        << name.function;
  }
}

TEST(BoundFunctions, CallsGoThroughWithTheirArguments) {
  ULARGE_INTEGER to_caller{}, total{}, total_free{};
  ASSERT_TRUE(rt::bound::GetDiskFreeSpaceExA("C:\\", &to_caller, &total, &total_free));
  EXPECT_GT(total.QuadPart, 0u);
  EXPECT_LE(total_free.QuadPart, total.QuadPart);
  EXPECT_FALSE(rt::bound::GetDiskFreeSpaceExA("Q:\\no such drive\\", &to_caller, &total, &total_free));
}

namespace {
int g_frees = 0;
void WINAPI CountingFree(void*) { ++g_frees; }
}  // namespace

TEST(BoundFunctions, AnEntryCanBeReplacedAndResolvedAgain) {
  rt::ReplaceBoundFunction(rt::BoundFunction::CoTaskMemFree, reinterpret_cast<void*>(&CountingFree));
  rt::bound::CoTaskMemFree(nullptr);
  EXPECT_EQ(g_frees, 1);
  rt::ReplaceBoundFunction(rt::BoundFunction::CoTaskMemFree, nullptr);
  EXPECT_EQ(rt::BoundAddress(rt::BoundFunction::CoTaskMemFree),
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ole32.dll"), "CoTaskMemFree")));
  rt::bound::CoTaskMemFree(CoTaskMemAlloc(16));
  EXPECT_EQ(g_frees, 1);
}
