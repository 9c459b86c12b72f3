// What an entry's 32-bit external attributes mean here: the DOS attributes
// in the low byte, a Unix mode in the high 16 bits for archives made on Unix.
#pragma once

#include <windows.h>

#include <cstdint>

namespace payload {

// A directory entry: the DOS directory bit (4) or the Unix directory type
// bit (30) is set.
inline bool IsDirectoryEntry(uint32_t external) { return (external & (1u << 4)) || (external & (1u << 30)); }

// The attributes a file is created with: archive, hidden and system from the
// DOS bits, read-only from the DOS bit or a clear Unix owner-write bit (23).
// Every file ends with normal attributes once it is complete.
inline DWORD CreationAttributes(uint32_t external) {
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  if (external & (1u << 5)) attributes |= FILE_ATTRIBUTE_ARCHIVE;
  if (external & (1u << 1)) attributes |= FILE_ATTRIBUTE_HIDDEN;
  if (external & (1u << 2)) attributes |= FILE_ATTRIBUTE_SYSTEM;
  if ((external & 1u) || !(external & (1u << 23))) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes;
}

}  // namespace payload
