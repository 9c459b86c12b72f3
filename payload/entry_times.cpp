#include "payload/entry_times.h"

namespace payload {

namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
// Seconds from 1601-01-01 (the file time epoch) to 1970-01-01.
constexpr int64_t kSecondsFrom1601To1970 = 11'644'473'600;
constexpr uint16_t kExtendedTimestampId = 0x5455;  // "UT"

FILETIME FromSecondsSince1970(int64_t seconds) {
  const uint64_t ticks = static_cast<uint64_t>((seconds + kSecondsFrom1601To1970) * kTicksPerSecond);
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return time;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
int64_t DaysSince1970(int year, int month, int day) {
  year -= month <= 2;
  const int era = year / 400;  // years from 1980 on: never negative
  const int year_of_era = year - era * 400;
  const int day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return static_cast<int64_t>(era) * 146097 + day_of_era - 719468;
}

uint16_t Read16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

int32_t Read32(const unsigned char* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// Applies one "UT" block's data (flags byte and times) to the times.
void ApplyExtendedTimestamp(const unsigned char* data, std::size_t size, EntryTimes& times) {
  if (size < 1) return;
  const unsigned flags = data[0];
  std::size_t at = 1;
  std::optional<FILETIME>* targets[] = {&times.last_write, &times.last_access, &times.creation};
  for (unsigned bit = 0; bit < 3; ++bit) {
    if (!(flags & (1u << bit))) continue;
    if (size - at < 4) return;
    *targets[bit] = UnixTimeToFileTime(Read32(data + at));
    at += 4;
  }
}

}  // namespace

std::optional<FILETIME> DosTimeToFileTime(uint32_t dos_date_time) {
  const int year = 1980 + static_cast<int>(dos_date_time >> 25);
  const int month = static_cast<int>(dos_date_time >> 21 & 0x0F);
  const int day = static_cast<int>(dos_date_time >> 16 & 0x1F);
  const int hour = static_cast<int>(dos_date_time >> 11 & 0x1F);
  const int minute = static_cast<int>(dos_date_time >> 5 & 0x3F);
  const int second = static_cast<int>(dos_date_time & 0x1F) * 2;
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59) {
    return std::nullopt;
  }
  return FromSecondsSince1970(DaysSince1970(year, month, day) * 86400 + hour * 3600 + minute * 60 +
                              second);
}

FILETIME UnixTimeToFileTime(int32_t seconds) { return FromSecondsSince1970(seconds); }

EntryTimes TimesForEntry(uint32_t dos_date_time, const unsigned char* extra, std::size_t extra_size) {
  EntryTimes times;
  times.creation = times.last_access = times.last_write = DosTimeToFileTime(dos_date_time);
  std::size_t at = 0;
  while (extra_size - at > 4) {
    const uint16_t id = Read16(extra + at);
    const std::size_t declared = Read16(extra + at + 2);
    at += 4;
    const std::size_t size = declared < extra_size - at ? declared : extra_size - at;
    if (id == kExtendedTimestampId) {
      ApplyExtendedTimestamp(extra + at, size, times);
      break;
    }
    at += size;
  }
  return times;
}

}  // namespace payload
