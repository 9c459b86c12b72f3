// Writing one file entry of an archive to disk.
#pragma once

#include "payload/archive_reader.h"
#include "runtime/text.h"

namespace payload {

// Blocks of this many bytes at most are read from an entry and written to
// its file, so memory use does not grow with the size of an entry.
constexpr unsigned kBlockSize = 16384;

// Writes the open entry of the reader to path: an existing file there is
// replaced even when it is read-only, hidden or system; the new file is held
// without sharing while it is written, gets the entry's times once its data
// has been read whole and matched its CRC-32, and ends with normal
// attributes. False when the file cannot be created or written, or the data
// cannot be read, is shorter than declared or fails its CRC-32; the file then
// stays as far as it was written, with the attributes it was created with.
bool WriteFileEntry(ArchiveReader& reader, const EntryInfo& entry, const rt::Text& path);

}  // namespace payload
