#pragma once
// Writes the installer's archive with minizip's zip writer: names as GBK
// bytes, every entry made on a DOS host (version made by 2.0, host 0) with
// the DOS attributes archive (files) or directory (folders), file entries
// deflated by a Deflater and stored as its raw stream, folders stored empty,
// DOS times from the files' modification times in UTC (the extractor reads
// them as UTC, so installed files keep their times), no ZIP64 records, no
// encryption. The archive appears under its name only once it is complete.
#include <cstdint>
#include <filesystem>
#include <string>

#include <minizip/zip.h>

#include "deflater.h"
#include "product_listing.h"

namespace packer {

struct PackedEntry {
  std::string stored_name;
  bool directory = false;
  int method = 0;
  std::uint64_t size = 0;
  std::uint64_t compressed_size = 0;
};

class ArchiveWriter {
 public:
  ArchiveWriter(std::filesystem::path output, Deflater deflater);
  ~ArchiveWriter();
  ArchiveWriter(const ArchiveWriter&) = delete;
  ArchiveWriter& operator=(const ArchiveWriter&) = delete;

  // Adds one entry; with `unicode_path` it carries the Unicode-path extra
  // block in its local and central headers. Throws std::runtime_error.
  PackedEntry Add(const ListedEntry& entry, bool unicode_path);

  // Writes the central directory and the comment (UTF-8, stored as GBK) and
  // puts the archive in place. Returns its size. Throws std::runtime_error.
  std::uint64_t Finish(const std::string& comment);

 private:
  std::filesystem::path output_;
  std::filesystem::path partial_;
  Deflater deflater_;
  zipFile zip_ = nullptr;
  std::uint64_t offset_ = 0;  // bytes written so far, to stay below ZIP64's limits
  std::uint64_t entries_ = 0;
};

}  // namespace packer
