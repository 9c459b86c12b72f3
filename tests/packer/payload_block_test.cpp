// The block linked into a program holds the archive file the build made,
// byte for byte, behind the two header words.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "payload/payload.h"

namespace {

std::string g_archive_path;  // the build's payload.zip, from the command line

std::vector<unsigned char> ReadArchiveFile() {
  std::vector<unsigned char> bytes;
  HANDLE file = CreateFileA(g_archive_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD read = 0;
  if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
      read != bytes.size()) {
    bytes.clear();
  }
  CloseHandle(file);
  return bytes;
}

std::uint32_t Word(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

TEST(PayloadBlock, HeaderWordsAreOneAndTheArchiveLength) {
  const std::vector<unsigned char> archive = ReadArchiveFile();
  ASSERT_FALSE(archive.empty()) << g_archive_path;
  EXPECT_EQ(Word(Payload), 1u);
  EXPECT_EQ(Word(Payload + 4), archive.size());
}

TEST(PayloadBlock, HoldsTheArchiveByteForByte) {
  const std::vector<unsigned char> archive = ReadArchiveFile();
  ASSERT_FALSE(archive.empty()) << g_archive_path;
  ASSERT_EQ(Word(Payload + 4), archive.size());
  EXPECT_EQ(std::memcmp(Payload + 8, archive.data(), archive.size()), 0);
}

TEST(PayloadBlock, PayloadArchiveIsTheDataBehindTheHeader) {
  const payload::ArchiveBytes bytes = payload::PayloadArchive();
  EXPECT_EQ(bytes.data, Payload + 8);
  EXPECT_EQ(bytes.size, Word(Payload + 4));
  EXPECT_EQ(std::memcmp(bytes.data, "PK\x03\x04", 4), 0);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: payload_block_test PAYLOAD.ZIP\n");
    return 2;
  }
  g_archive_path = argv[1];
  return RUN_ALL_TESTS();
}
