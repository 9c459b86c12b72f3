#include "installer/disk_space.h"

#include "runtime/bound_functions.h"

namespace installer {

namespace {

constexpr double kBytesPerMiB = 1048576.0;

std::int64_t ToMiB(double bytes) { return static_cast<std::int64_t>(bytes / kBytesPerMiB); }

}  // namespace

DiskSpaceMiB DiskSpaceInMiB(std::uint64_t free_to_caller, std::uint64_t total, std::uint64_t total_free) {
  const auto used_bytes = static_cast<std::int64_t>(static_cast<double>(total) - static_cast<double>(free_to_caller));
  return {ToMiB(static_cast<double>(used_bytes)), ToMiB(static_cast<double>(total_free)),
          ToMiB(static_cast<double>(total))};
}

bool QueryDiskSpaceMiB(const rt::Text& drive, std::int64_t& used, std::int64_t& free, std::int64_t& total) {
  ULARGE_INTEGER free_to_caller{}, total_bytes{}, total_free{};
  if (!rt::bound::GetDiskFreeSpaceExA(drive.c_str(), &free_to_caller, &total_bytes, &total_free)) return false;
  const DiskSpaceMiB space = DiskSpaceInMiB(free_to_caller.QuadPart, total_bytes.QuadPart, total_free.QuadPart);
  used = space.used;
  free = space.free;
  total = space.total;
  return true;
}

}  // namespace installer
