// The space of the volume that holds a drive, in MiB.
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace installer {

struct DiskSpaceMiB {
  std::int64_t used, free, total;
  friend bool operator==(const DiskSpaceMiB&, const DiskSpaceMiB&) = default;
};

// The conversion of the system's byte counts: used is total minus the bytes
// free to the caller, in double precision truncated toward zero; used, free
// (the volume's total free bytes, not the caller's share) and total are each
// divided by 1048576.0 in double precision and truncated toward zero.
DiskSpaceMiB DiskSpaceInMiB(std::uint64_t free_to_caller, std::uint64_t total, std::uint64_t total_free);

// Asks Windows (GetDiskFreeSpaceExA, bound by name) for the space of the
// volume holding `drive` and gives the figures in MiB. A failed call leaves
// the outputs as the caller set them (0). Gives the call's logical result.
bool QueryDiskSpaceMiB(const rt::Text& drive, std::int64_t& used, std::int64_t& free, std::int64_t& total);

}  // namespace installer
