#include "deflater.h"

#include <zlib.h>
#include <zopfli/zopfli.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace packer {
namespace {

// Owns a deflate stream from deflateInit2 to deflateEnd.
class DeflateStream {
 public:
  DeflateStream() {
    // A negative window size asks for a raw stream, as ZIP entries hold it.
    if (deflateInit2(&stream_, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, MAX_MEM_LEVEL,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
      throw std::runtime_error("zlib could not start a deflate stream");
    }
  }
  ~DeflateStream() { deflateEnd(&stream_); }
  DeflateStream(const DeflateStream&) = delete;
  DeflateStream& operator=(const DeflateStream&) = delete;
  z_stream& get() { return stream_; }

 private:
  z_stream stream_{};
};

std::vector<unsigned char> ZlibDeflate(std::span<const unsigned char> data) {
  DeflateStream deflater;
  z_stream& stream = deflater.get();
  std::vector<unsigned char> out;
  // zlib's input and output counts are 32-bit: feed large files in slices.
  constexpr size_t kSlice = 1u << 30;
  size_t offset = 0;
  int status = Z_OK;
  do {
    const size_t slice = std::min(kSlice, data.size() - offset);
    stream.next_in = const_cast<Bytef*>(data.data() + offset);
    stream.avail_in = static_cast<uInt>(slice);
    offset += slice;
    const int flush = offset == data.size() ? Z_FINISH : Z_NO_FLUSH;
    do {
      const size_t used = out.size();
      const size_t room = deflateBound(&stream, stream.avail_in) + 64;
      out.resize(used + room);
      stream.next_out = out.data() + used;
      stream.avail_out = static_cast<uInt>(room);
      status = deflate(&stream, flush);
      out.resize(used + room - stream.avail_out);
      if (status == Z_STREAM_ERROR) throw std::runtime_error("zlib's deflate failed");
    } while (stream.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
  } while (offset < data.size());
  return out;
}

// Zopfli's own default; more rounds gain almost nothing (0.01% at 30 on the
// demo product) and cost time in every build.
constexpr int kZopfliIterations = 15;

std::vector<unsigned char> ZopfliDeflate(std::span<const unsigned char> data) {
  ZopfliOptions options;
  ZopfliInitOptions(&options);
  options.numiterations = kZopfliIterations;
  unsigned char* stream = nullptr;
  size_t size = 0;
  ZopfliCompress(&options, ZOPFLI_FORMAT_DEFLATE, data.data(), data.size(), &stream, &size);
  const std::unique_ptr<unsigned char, decltype(&std::free)> owned(stream, &std::free);
  if (!stream && !data.empty()) throw std::runtime_error("Zopfli's deflate failed");
  return std::vector<unsigned char>(stream, stream + size);
}

}  // namespace

Deflater ZlibDeflater() {
  return Deflater{"zlib " ZLIB_VERSION ", level 9", &ZlibDeflate};
}

Deflater ZopfliDeflater() {
  return Deflater{"Zopfli, " + std::to_string(kZopfliIterations) + " iterations", &ZopfliDeflate};
}

}  // namespace packer
