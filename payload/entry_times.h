// The times an extracted file gets: the entry's DOS date and time, replaced
// by the times of the extended-timestamp ("UT") block of its local extra
// field where that block carries them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace payload {

struct EntryTimes {
  std::optional<FILETIME> creation;
  std::optional<FILETIME> last_access;
  std::optional<FILETIME> last_write;
};

// The DOS date (high 16 bits) and time (low 16 bits) as a file time, the
// fields read as UTC. Nothing for fields that name no real moment (month 0,
// day 31 of April, hour 24 and the like).
std::optional<FILETIME> DosTimeToFileTime(uint32_t dos_date_time);

// Seconds since 1970-01-01 00:00:00 UTC (signed, as the "UT" block stores
// them) as a file time.
FILETIME UnixTimeToFileTime(int32_t seconds);

// The times for an entry: all three from its DOS date and time, then each
// time the first "UT" block of the local extra field carries replaces its
// counterpart (flags bit 0 last write, bit 1 last access, bit 2 creation, the
// 4-byte times following the flags in that order). The field is walked block
// by block (2-byte ID, 2-byte size, data) while more than 4 bytes remain;
// nothing is read past the block or the field.
EntryTimes TimesForEntry(uint32_t dos_date_time, const unsigned char* extra, std::size_t extra_size);

}  // namespace payload
