// Small ZIP archives for the extractor's tests, written with minizip's zip
// writer, and the few byte patches the writer cannot make.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testzip {

// 2021-03-04 05:06:08 as a DOS date and time.
constexpr uint32_t kDosTime = (41u << 25) | (3u << 21) | (4u << 16) | (5u << 11) | (6u << 5) | 4u;

constexpr uint32_t kFileAttributes = 0x20;       // archive, as DOS hosts store files
constexpr uint32_t kDirectoryAttributes = 0x10;  // directory

struct Entry {
  std::string name;  // stored bytes (GBK), "/" between levels
  std::string data;
  uint32_t external = kFileAttributes;
  uint32_t dos_time = kDosTime;
  int method = 8;  // 0 stored, 8 deflated
  std::string local_extra;
  std::string central_extra;
  std::optional<uint32_t> crc;  // a CRC-32 to store instead of the data's own
};

// A directory entry as DOS hosts store them: "name/", stored, no data.
Entry Directory(const std::string& name);
// A file entry with the defaults above.
Entry File(const std::string& name, const std::string& data);

// Writes the entries in order to a new archive at path (made on a DOS host).
void WriteZip(const std::string& path, const std::vector<Entry>& entries, const std::string& comment = "");

// Header fields the writer cannot set freely, patched in both headers of an
// entry: the compression method (it writes stored and deflated only), the
// general-purpose flags and the uncompressed size.
enum class Field { kMethod, kFlags, kUncompressedSize };
void Patch(const std::string& path, int index, Field field, uint32_t value);

// The extra block "UT" with its flags byte and the given times.
std::string ExtendedTimestamp(uint8_t flags, const std::vector<int32_t>& times);

// The archive's bytes, and writing bytes as a file.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace testzip
