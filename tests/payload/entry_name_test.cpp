// The entry-name rules on their own, for the cases an archive cannot easily
// carry through the writer and for names that must stay acceptable.
#include "payload/entry_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "payload/archive_reader.h"

using payload::IsAcceptableEntryName;

TEST(EntryName, Accepted) {
  const std::vector<std::string> files = {
      "a.txt",
      "sub/a.txt",
      "sub\\a.txt",
      "子目录/设置.ini",
      "a..b.txt",
      ".hidden",
      "sub//a.txt",
      "CONSOLE.txt",
      "COM10",
      "LPT",
      "CON_x",
      "xCON",
      "COM0",
      "\x81\x7C.txt",     // second byte '|'
      "\x95\x5C.txt",     // second byte '\'
      "\x95\x5C" "CON",   // not the device CON: its '\' is part of a character
      "a\x95\x5C",        // ends in a character whose second byte is '\'
      "\x95",             // a lone lead byte at the end stands alone
  };
  for (const std::string& name : files) {
    EXPECT_TRUE(IsAcceptableEntryName(name, false)) << name;
    EXPECT_TRUE(IsAcceptableEntryName(name, true)) << name;
  }
  EXPECT_TRUE(IsAcceptableEntryName("sub/", true));
  EXPECT_TRUE(IsAcceptableEntryName("sub\\", true));
}

TEST(EntryName, Refused) {
  const std::vector<std::string> names = {
      "", "..", "../a", "a/..", "a/../b", "..\\a", "a\\..\\b", "/a", "\\a", "/", "\\",
      "C:a", "c:\\a", "a:b", "a/b:c/d",
      "CON", "con", "Con.txt", "a/PRN", "AUX.tar.gz", "NUL .txt", "COM1", "com9.x", "LPT1", "lpt9",
      "CONIN$", "conout$.txt", "NUL/a",
      "a.", "a ", "a./b", "a /b", ".", "./a", "...",
      "a*", "a?", "a<", "a>", "a\"", "a|", std::string("a\x01", 2), "a\x1F",
      "\x95\x5C" "../a",  // the character, then a ".." level: "\x95\x5C.." ends in a dot
  };
  for (const std::string& name : names) {
    EXPECT_FALSE(IsAcceptableEntryName(name, false)) << name;
    EXPECT_FALSE(IsAcceptableEntryName(name, true)) << name;
  }
  EXPECT_FALSE(IsAcceptableEntryName("sub/", false));
  EXPECT_FALSE(IsAcceptableEntryName("sub\\", false));
}

TEST(EntryName, NameOfTheEntryIsWholeAndWithoutNul) {
  payload::EntryInfo info{};
  std::memcpy(info.name, "a\0b", 4);
  info.name_size = 3;
  EXPECT_TRUE(info.Name().empty());
  std::memcpy(info.name, "abc", 4);
  EXPECT_EQ(info.Name(), "abc");
  info.name_size = 260;  // longer than what was read
  EXPECT_TRUE(info.Name().empty());
}
