#pragma once
// Compression of the archive's file entries. The archive writer takes the
// raw deflate stream (method 8 without a zlib or gzip wrapper) from a
// Deflater and stores it as it is, so a stronger deflate encoder only needs a
// Deflater of its own.
#include <span>
#include <string>
#include <vector>

namespace packer {

struct Deflater {
  std::string description;  // for the summary
  std::vector<unsigned char> (*deflate)(std::span<const unsigned char> data);
};

// zlib at its strongest standard setting: level 9 with the largest window
// and the most memory for matching.
Deflater ZlibDeflater();

}  // namespace packer
