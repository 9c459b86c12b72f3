// An open ZIP archive read through minizip: the entries in directory order,
// each entry's information and its data as a stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include <unzip.h>

namespace payload {

struct EntryInfo {
  char name[260];             // the stored name bytes, NUL-terminated when name_size < 260
  uint32_t name_size;         // the stored name's length in bytes
  uint32_t dos_date_time;     // DOS date (high 16 bits) and time (low 16 bits)
  uint32_t external;          // external attributes

  // The name when it is whole and holds no NUL byte; otherwise empty, which
  // no entry name check accepts.
  std::string_view Name() const;
};

class ArchiveReader {
 public:
  ArchiveReader() = default;
  ~ArchiveReader() { Close(); }
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // Opens the archive for reading, shared with readers only: while it is
  // open nobody can write or delete it. False when the file cannot be opened
  // or holds no usable end-of-central-directory record.
  bool Open(const char* path);
  void Close();

  // The number of entries the central directory declares.
  uint64_t DeclaredEntries() const;

  // Reads the information of entry index and opens its data, which also
  // tests its local header. Entries are read in order: index 0, then each
  // next one. False when the entry is unreadable: past the last entry, a
  // damaged header, a compression method other than stored or deflated, or
  // encrypted data.
  bool ReadEntry(uint64_t index, EntryInfo& info);

  // The open entry's local extra field (empty when it cannot be read).
  std::vector<unsigned char> LocalExtraField();
  // Up to size bytes of the open entry's data: the count read, 0 at its end,
  // below 0 on a read or inflate error.
  int ReadData(void* buffer, unsigned size);
  // True when the open entry's data has been read to its declared size.
  bool DataComplete();
  // Closes the open entry's data. False when it was read whole and its
  // CRC-32 does not match the stored one.
  bool CloseEntryData();

 private:
  unzFile zip_ = nullptr;
  bool entry_open_ = false;
};

}  // namespace payload
