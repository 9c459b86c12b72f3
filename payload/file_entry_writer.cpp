#include "payload/file_entry_writer.h"

#include <windows.h>

#include <vector>

#include "payload/entry_attributes.h"
#include "payload/entry_times.h"
#include "payload/scoped_handle.h"

namespace payload {

namespace {

const FILETIME* TimeOrNull(const std::optional<FILETIME>& time) { return time ? &*time : nullptr; }

bool CopyData(ArchiveReader& reader, HANDLE file) {
  char block[kBlockSize];
  for (;;) {
    const int read = reader.ReadData(block, sizeof(block));
    if (read < 0) return false;
    if (read == 0) return reader.DataComplete();
    DWORD written = 0;
    if (!WriteFile(file, block, static_cast<DWORD>(read), &written, nullptr) ||
        written != static_cast<DWORD>(read)) {
      return false;
    }
  }
}

}  // namespace

bool WriteFileEntry(ArchiveReader& reader, const EntryInfo& entry, const rt::Text& path) {
  // The local extra field, for the "UT" times the file gets at the end.
  const std::vector<unsigned char> extra = reader.LocalExtraField();

  // Lets an existing read-only, hidden or system file be replaced. A
  // directory of that name keeps its attributes (the creation fails anyway).
  const DWORD previous = GetFileAttributesA(path.c_str());
  const bool reset = previous != INVALID_FILE_ATTRIBUTES && !(previous & FILE_ATTRIBUTE_DIRECTORY) &&
                     SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

  ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                CreationAttributes(entry.external), nullptr));
  if (!file.Valid()) {
    // The file that is in the way (in use, say) keeps its attributes.
    if (reset) SetFileAttributesA(path.c_str(), previous);
    return false;
  }
  if (!CopyData(reader, file.get()) || !reader.CloseEntryData()) return false;

  if (GetFileType(file.get()) == FILE_TYPE_DISK) {
    const EntryTimes times = TimesForEntry(entry.dos_date_time, extra.data(), extra.size());
    SetFileTime(file.get(), TimeOrNull(times.creation), TimeOrNull(times.last_access),
                TimeOrNull(times.last_write));
  }
  if (!file.Close()) return false;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return true;
}

}  // namespace payload
