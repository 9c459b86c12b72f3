#include "payload/archive_extractor.h"

#include <windows.h>

#include <cstring>

#include "payload/ansi_path.h"
#include "payload/archive_reader.h"
#include "payload/entry_attributes.h"
#include "payload/entry_name.h"
#include "payload/file_entry_writer.h"
#include "payload/scoped_handle.h"

namespace payload {

namespace {

// The integer part of index / total * 100, each step rounded to double
// precision: index 29 of 50 gives 57.99999999999999, so 57. The x87 unit of
// a 32-bit build computes in wider registers and would give 58; storing each
// step in a volatile double rounds it as double arithmetic does.
int32_t Percentage(uint64_t index, uint64_t total) {
  if (total == 0) return 0;
  const volatile double share = static_cast<double>(index) / static_cast<double>(total);
  const volatile double percent = share * 100.0;
  return static_cast<int32_t>(percent);
}

// The file starts like a ZIP archive: the first local header's signature,
// and bytes 24 to 27 (the high half of the first entry's uncompressed size
// and its name length) read as a signed value of at least 1.
bool HasArchiveStart(const char* path) {
  ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  unsigned char start[32];
  DWORD read = 0;
  if (!ReadFile(file.get(), start, sizeof(start), &read, nullptr) || read != sizeof(start)) return false;
  const int32_t value = static_cast<int32_t>(static_cast<uint32_t>(start[24]) |
                                             static_cast<uint32_t>(start[25]) << 8 |
                                             static_cast<uint32_t>(start[26]) << 16 |
                                             static_cast<uint32_t>(start[27]) << 24);
  return std::memcmp(start, "PK\x03\x04", 4) == 0 && value >= 1;
}

// The entries readable in directory order before the first unreadable one.
uint64_t CountEntries(ArchiveReader& reader) {
  EntryInfo entry;
  uint64_t count = 0;
  while (reader.ReadEntry(count, entry)) ++count;
  return count;
}

// Makes the directory or writes the file of one entry. An entry whose name
// is refused fails before anything is written for it; so does a directory
// entry whose name is taken by a file, which stays as it is.
bool ExtractEntry(ArchiveReader& reader, const EntryInfo& entry, const rt::Text& target) {
  const bool is_directory = IsDirectoryEntry(entry.external);
  const std::string_view name = entry.Name();
  if (!IsAcceptableEntryName(name, is_directory)) return false;
  const rt::Text path = OutputPath(target, name);
  if (path.Length() >= MAX_PATH) return false;
  if (is_directory) {
    return PathExists(path.c_str()) ? DirectoryExists(path.c_str()) : MakeDirectories(path);
  }
  return WriteFileEntry(reader, entry, path);
}

}  // namespace

int32_t ArchiveExtractor::Extract(const rt::Text& archive, const rt::Text& target) {
  failed_ = false;
  if (!PathExists(archive.c_str())) return Finish(-1, 0);
  if (!PathExists(target.c_str()) && !MakeDirectories(target)) return Finish(0, 0);
  if (!HasArchiveStart(archive.c_str())) return Finish(0, 0);

  ArchiveReader reader;
  if (!reader.Open(archive.c_str())) return Finish(0, 0);
  const uint64_t total = CountEntries(reader);

  uint64_t index = 0;
  for (EntryInfo entry; reader.ReadEntry(index, entry); ++index) {
    if (!ExtractEntry(reader, entry, target)) {
      reader.Close();
      return Finish(0, total);
    }
    if (RaiseProgress(Percentage(index, total)) == false) {
      reader.Close();
      return 1;
    }
  }
  // An entry that cannot be read ends the extraction like the last one, but
  // an archive extracted only in part is no success.
  const bool complete = index >= reader.DeclaredEntries();
  reader.Close();
  return Finish(complete ? 1 : 0, total);
}

std::optional<bool> ArchiveExtractor::RaiseProgress(int32_t percent) {
  if (!handler_) return std::nullopt;
  return handler_(percent);
}

int32_t ArchiveExtractor::Finish(int32_t result, uint64_t total) {
  failed_ = result != 1;
  RaiseProgress(Percentage(total, total));
  return result;
}

}  // namespace payload
