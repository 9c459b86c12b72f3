#pragma once
// The installer's embedded archive.
#include <cstdint>

// The embedded block: 32-bit little-endian 1, 32-bit little-endian length,
// then the ZIP archive (the product's files) of that many bytes.
extern "C" const unsigned char Payload[];

namespace payload {

struct ArchiveBytes {
  const unsigned char* data;
  std::uint32_t size;
};

// The ZIP data inside the block (from offset 8, `length` bytes).
ArchiveBytes PayloadArchive();

}  // namespace payload
