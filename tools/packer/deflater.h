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

// Zopfli (Debian's libzopfli): a deflate encoder that searches far harder
// than zlib for the shortest stream any inflater reads. About 4% smaller than
// zlib's level 9 on programs and documents, at some 100 KB of input a second.
Deflater ZopfliDeflater();

}  // namespace packer
