#include "payload/payload.h"

namespace payload {

ArchiveBytes PayloadArchive() {
  const unsigned char* length = Payload + 4;
  const std::uint32_t size = static_cast<std::uint32_t>(length[0]) |
                             static_cast<std::uint32_t>(length[1]) << 8 |
                             static_cast<std::uint32_t>(length[2]) << 16 |
                             static_cast<std::uint32_t>(length[3]) << 24;
  return ArchiveBytes{Payload + 8, size};
}

}  // namespace payload
