#include "runtime/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using rt::Text;

namespace {

std::vector<std::string> Bytes(const std::vector<Text>& texts) {
  std::vector<std::string> out;
  for (const Text& t : texts) out.emplace_back(t.view());
  return out;
}

// GBK characters whose second byte is an ASCII separator.
constexpr const char* kTrailBar = "\x81\x7C";        // second byte '|'
constexpr const char* kTrailBackslash = "\x95\x5C";  // second byte '\' (the character 昞)

}  // namespace

TEST(Text, AbsentTextIsEmpty) {
  Text t(static_cast<const char*>(nullptr));
  EXPECT_TRUE(t.Empty());
  EXPECT_STREQ(t.c_str(), "");
}

TEST(Text, ConcatJoinsBytesInOrder) {
  EXPECT_EQ(rt::Concat(Text("D:\\"), "Tavrinex\\", Text("Dormivet")), Text("D:\\Tavrinex\\Dormivet"));
  EXPECT_EQ(rt::Concat(Text(), "", Text()), Text());
  EXPECT_EQ(rt::Concat("安装", "目录").Length(), 8u);
}

TEST(Text, CompareIsUnsignedBytewise) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  } cases[] = {
      {"", "", 0},          {"a", "a", 0},       {"a", "b", -1},      {"b", "a", 1},
      {"ab", "a", 1},       {"a", "ab", -1},     {"\x80", "\x7F", 1},  // unsigned: 0x80 > 0x7F
      {"安装", "安装", 0}, {"", "x", -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rt::Compare(Text(c.a), Text(c.b)), c.expected) << c.a << " vs " << c.b;
  }
  EXPECT_EQ(rt::Compare(Text(static_cast<const char*>(nullptr)), Text("")), 0);
}

TEST(Text, SplitTable) {
  struct Case {
    std::string text;
    std::string separator;
    std::vector<std::string> expected;
  } cases[] = {
      {"a||b|", "|", {"a", "", "b"}},
      {"", "|", {}},
      {"|", "|", {""}},
      {"|a", "|", {"", "a"}},
      {"abc", "|", {"abc"}},
      {"a::b::", "::", {"a", "b"}},
      {"Arvelune|Brosket|Calvenor|Dormivet", "|", {"Arvelune", "Brosket", "Calvenor", "Dormivet"}},
      // A '|' that is the second byte of a double-byte character is no separator.
      {std::string("x") + kTrailBar + "y|z", "|", {std::string("x") + kTrailBar + "y", "z"}},
      {std::string(kTrailBar) + "|", "|", {kTrailBar}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Bytes(rt::Split(Text(c.text.c_str()), Text(c.separator.c_str()))), c.expected)
        << "splitting '" << c.text << "' at '" << c.separator << "'";
  }
}

TEST(Text, SplitsTheCatalogueIntoSixteen) {
  const Text catalogue(
      "Arvelune|Brosket|Calvenor|Dormivet|Embrestal|Forlinde|Gestravon|Hulmistra|Ilvarrod|"
      "Kemberlow|Lostrevin|Mordakel|Nivresta|Obrendal|Pelvanor|Quintrel");
  const auto names = rt::Split(catalogue, "|");
  ASSERT_EQ(names.size(), 16u);
  EXPECT_EQ(names[3], Text("Dormivet"));
  EXPECT_EQ(names[15], Text("Quintrel"));
}

TEST(Text, TrimTable) {
  struct Case {
    std::string text;
    std::string expected;
  } cases[] = {
      {"", ""},
      {"   ", ""},
      {"\xA1\xA1 \xA1\xA1", ""},                      // full-width and ASCII blanks only
      {"  E:\\Soft  ", "E:\\Soft"},
      {"\xA1\xA1新建文件夹\xA1\xA1", "新建文件夹"},  // full-width blanks at both ends
      {"a b", "a b"},                                 // inner blanks stay
      {"\xA1", "\xA1"},                               // a lone lead byte is no blank
      // A character whose trail byte is A1 followed by A1 is not a blank pair:
      // B0 A1 is one character, then a lone A1.
      {"\xB0\xA1\xA1", "\xB0\xA1\xA1"},
      {std::string(260, ' '), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::string(rt::Trim(Text(c.text.c_str())).view()), c.expected) << "'" << c.text << "'";
  }
}

TEST(Text, FindTable) {
  struct Case {
    std::string text;
    std::string sought;
    int start;
    int expected;
  } cases[] = {
      {"abc", "b", 1, 2},
      {"abc", "c", 1, 3},
      {"abc", "x", 1, -1},
      {"", "?", 1, -1},
      {"abc", "", 1, -1},
      {"a?b?", "?", 1, 2},
      {"a?b?", "?", 3, 4},
      {"ABC", "b", 1, -1},  // case-sensitive
      // '\' as the second byte of a double-byte character is not found...
      {std::string("C:") + kTrailBackslash, "\\", 1, -1},
      // ...but a real one after it is, at its byte position.
      {std::string("C:") + kTrailBackslash + "\\x", "\\", 1, 5},
      {"安装目录", "目录", 1, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rt::Find(Text(c.text.c_str()), Text(c.sought.c_str()), c.start), c.expected)
        << "'" << c.sought << "' in '" << c.text << "' from " << c.start;
  }
}

TEST(Text, LeftCountsBytes) {
  struct Case {
    const char* text;
    int n;
    const char* expected;
  } cases[] = {
      {"D:\\Tavrinex", 1, "D"}, {"", 1, ""}, {"ab", 5, "ab"}, {"ab", 0, ""},
      {"E:\\", 2, "E:"},
      {"安装", 1, "\xB0"},  // bytes, not characters
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rt::Left(Text(c.text), c.n), Text(c.expected)) << c.text << " " << c.n;
  }
}
