#include "archive_writer.h"

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>
#include <vector>

#include "entry_name.h"

namespace packer {
namespace fs = std::filesystem;
namespace {

// Version made by: 2.0 of the ZIP format, upper byte 0 for a DOS host, so
// readers take the external attributes as DOS attributes.
constexpr uLong kVersionMadeBy = 20;
constexpr uLong kFileAttributes = 0x20;       // archive
constexpr uLong kDirectoryAttributes = 0x10;  // directory
// The extractor reads names into a buffer of 260 bytes with the NUL.
constexpr size_t kLongestName = 259;
// Without ZIP64 records sizes and offsets are 32-bit, entry counts 16-bit.
constexpr std::uint64_t kLargest32 = 0xFFFFFFFEu;
constexpr std::uint64_t kMostEntries = 0xFFFEu;
constexpr size_t kFixedLocalHeader = 30;
constexpr size_t kFixedCentralHeader = 46;
constexpr size_t kEndRecord = 22;

[[noreturn]] void Fail(const std::string& why) { throw std::runtime_error(why); }

uLong DosDateTime(const fs::path& path, const std::string& name) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) Fail("cannot read the time of \"" + name + "\"");
  // DOS times run from 1980-01-01 to 2107-12-31 23:59:58; times outside are
  // held at the ends.
  constexpr std::time_t kFirst = 315532800;
  constexpr std::time_t kLast = 4354819198;
  const std::time_t time = std::clamp(info.st_mtime, kFirst, kLast);
  std::tm utc{};
  gmtime_r(&time, &utc);
  return (static_cast<uLong>(utc.tm_year - 80) << 25) | (static_cast<uLong>(utc.tm_mon + 1) << 21) |
         (static_cast<uLong>(utc.tm_mday) << 16) | (static_cast<uLong>(utc.tm_hour) << 11) |
         (static_cast<uLong>(utc.tm_min) << 5) | static_cast<uLong>(utc.tm_sec / 2);
}

std::vector<unsigned char> ReadWhole(const fs::path& path, const std::string& name) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read \"" + name + "\"");
  std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  if (in.bad()) Fail("cannot read \"" + name + "\"");
  return data;
}

}  // namespace

ArchiveWriter::ArchiveWriter(fs::path output, Deflater deflater)
    : output_(std::move(output)), partial_(output_), deflater_(std::move(deflater)) {
  partial_ += ".partial";
  zip_ = zipOpen64(partial_.c_str(), APPEND_STATUS_CREATE);
  if (zip_ == nullptr) Fail("cannot create " + partial_.string());
}

ArchiveWriter::~ArchiveWriter() {
  if (zip_ != nullptr) {
    zipClose(zip_, nullptr);
    std::error_code ignored;
    fs::remove(partial_, ignored);
  }
}

PackedEntry ArchiveWriter::Add(const ListedEntry& entry, bool unicode_path) {
  PackedEntry packed;
  packed.stored_name = ToGbk(entry.name);
  packed.directory = entry.directory;
  if (packed.stored_name.size() > kLongestName) {
    Fail("\"" + entry.name + "\" is longer than " + std::to_string(kLongestName) +
         " bytes, which the installer cannot extract");
  }
  if (entries_ == kMostEntries) Fail("more entries than an archive without ZIP64 can hold");

  zip_fileinfo info{};
  info.dosDate = DosDateTime(entry.source, entry.name);
  info.external_fa = entry.directory ? kDirectoryAttributes : kFileAttributes;

  std::vector<unsigned char> extra;
  if (unicode_path) extra = UnicodePathExtra(packed.stored_name, entry.name);

  std::vector<unsigned char> data;
  std::vector<unsigned char> deflated;
  unsigned long crc = crc32(0L, Z_NULL, 0);
  if (!entry.directory) {
    data = ReadWhole(entry.source, entry.name);
    deflated = deflater_.deflate(data);
    for (size_t done = 0; done < data.size();) {
      const uInt slice = static_cast<uInt>(std::min<size_t>(data.size() - done, 1u << 30));
      crc = crc32(crc, data.data() + done, slice);
      done += slice;
    }
    packed.method = Z_DEFLATED;
    packed.size = data.size();
    packed.compressed_size = deflated.size();
  }
  const std::uint64_t header = kFixedLocalHeader + packed.stored_name.size() + extra.size();
  if (packed.size > kLargest32 || offset_ + header + packed.compressed_size > kLargest32) {
    Fail("\"" + entry.name + "\" would make the archive larger than 4 GiB, which needs ZIP64");
  }

  // File entries are written raw: the bytes are the Deflater's stream as it
  // is, and the CRC-32 and size are given when the entry is closed.
  const bool raw = !entry.directory;
  const int method = entry.directory ? 0 : Z_DEFLATED;
  const int level = entry.directory ? 0 : Z_BEST_COMPRESSION;
  const void* extra_data = extra.empty() ? nullptr : extra.data();
  if (zipOpenNewFileInZip4_64(zip_, packed.stored_name.c_str(), &info, extra_data,
                              static_cast<uInt>(extra.size()), extra_data,
                              static_cast<uInt>(extra.size()), nullptr, method, level, raw,
                              -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0,
                              kVersionMadeBy, 0, 0) != ZIP_OK) {
    Fail("cannot add \"" + entry.name + "\" to the archive");
  }
  for (size_t done = 0; done < deflated.size();) {
    const unsigned slice = static_cast<unsigned>(std::min<size_t>(deflated.size() - done, 1u << 30));
    if (zipWriteInFileInZip(zip_, deflated.data() + done, slice) != ZIP_OK) {
      Fail("cannot write \"" + entry.name + "\" into the archive");
    }
    done += slice;
  }
  const int closed = raw ? zipCloseFileInZipRaw64(zip_, packed.size, crc) : zipCloseFileInZip(zip_);
  if (closed != ZIP_OK) Fail("cannot finish \"" + entry.name + "\" in the archive");

  offset_ += header + packed.compressed_size +
             kFixedCentralHeader + packed.stored_name.size() + extra.size();
  ++entries_;
  return packed;
}

std::uint64_t ArchiveWriter::Finish(const std::string& comment) {
  const std::string stored_comment = ToGbk(comment);
  if (stored_comment.size() > 0xFFFF) Fail("the archive comment is longer than 65,535 bytes");
  if (offset_ + kEndRecord + stored_comment.size() > kLargest32) {
    Fail("the archive would be larger than 4 GiB, which needs ZIP64");
  }
  const int closed = zipClose(zip_, stored_comment.c_str());
  zip_ = nullptr;
  if (closed != ZIP_OK) {
    std::error_code ignored;
    fs::remove(partial_, ignored);
    Fail("cannot finish the archive " + partial_.string());
  }
  fs::rename(partial_, output_);
  return fs::file_size(output_);
}

}  // namespace packer
