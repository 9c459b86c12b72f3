#include "tests/payload/zip_maker.h"

#include <zip.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace testzip {

namespace {

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

std::string RawDeflate(const std::string& data) {
  z_stream z{};
  Check(deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK, "deflateInit2");
  std::string out(deflateBound(&z, data.size()), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  Check(deflate(&z, Z_FINISH) == Z_STREAM_END, "deflate");
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

uint32_t Get32(const std::string& b, std::size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
         static_cast<uint8_t>(b[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

uint16_t Get16(const std::string& b, std::size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

void Put16(std::string& b, std::size_t at, uint16_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>(v >> 8);
}

void Put32(std::string& b, std::size_t at, uint32_t v) {
  Put16(b, at, static_cast<uint16_t>(v & 0xFFFF));
  Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

}  // namespace

Entry Directory(const std::string& name) {
  Entry e;
  e.name = name + "/";
  e.external = kDirectoryAttributes;
  e.method = 0;
  return e;
}

Entry File(const std::string& name, const std::string& data) {
  Entry e;
  e.name = name;
  e.data = data;
  return e;
}

void WriteZip(const std::string& path, const std::vector<Entry>& entries, const std::string& comment) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  Check(zip != nullptr, "zipOpen64");
  for (const Entry& e : entries) {
    zip_fileinfo info{};
    info.dosDate = e.dos_time;
    info.external_fa = e.external;
    const bool raw = e.crc.has_value();
    Check(zipOpenNewFileInZip4_64(zip, e.name.c_str(), &info, e.local_extra.data(),
                                  static_cast<uInt>(e.local_extra.size()), e.central_extra.data(),
                                  static_cast<uInt>(e.central_extra.size()), nullptr, e.method,
                                  e.method ? 9 : 0, raw ? 1 : 0, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY,
                                  nullptr, 0, /*versionMadeBy=*/20, 0, 0) == ZIP_OK,
          "zipOpenNewFileInZip4_64");
    const std::string bytes = raw && e.method == 8 ? RawDeflate(e.data) : e.data;
    if (!bytes.empty()) {
      Check(zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size())) == ZIP_OK,
            "zipWriteInFileInZip");
    }
    if (raw) {
      Check(zipCloseFileInZipRaw64(zip, e.data.size(), *e.crc) == ZIP_OK, "zipCloseFileInZipRaw64");
    } else {
      Check(zipCloseFileInZip(zip) == ZIP_OK, "zipCloseFileInZip");
    }
  }
  Check(zipClose(zip, comment.empty() ? nullptr : comment.c_str()) == ZIP_OK, "zipClose");
}

void Patch(const std::string& path, int index, Field field, uint32_t value) {
  std::string b = ReadBytes(path);
  const std::size_t end = b.rfind(std::string("PK\x05\x06", 4));
  Check(end != std::string::npos, "no end record");
  std::size_t central = Get32(b, end + 16);
  for (int i = 0; i < index; ++i) {
    central += 46 + Get16(b, central + 28) + Get16(b, central + 30) + Get16(b, central + 32);
  }
  Check(Get32(b, central) == 0x02014b50, "no central header");
  const std::size_t local = Get32(b, central + 42);
  switch (field) {
    case Field::kMethod:
      Put16(b, central + 10, static_cast<uint16_t>(value));
      Put16(b, local + 8, static_cast<uint16_t>(value));
      break;
    case Field::kFlags:
      Put16(b, central + 8, static_cast<uint16_t>(value));
      Put16(b, local + 6, static_cast<uint16_t>(value));
      break;
    case Field::kUncompressedSize:
      Put32(b, central + 24, value);
      Put32(b, local + 22, value);
      break;
  }
  WriteBytes(path, b);
}

std::string ExtendedTimestamp(uint8_t flags, const std::vector<int32_t>& times) {
  std::string block("UT", 2);
  const uint16_t size = static_cast<uint16_t>(1 + 4 * times.size());
  block += static_cast<char>(size & 0xFF);
  block += static_cast<char>(size >> 8);
  block += static_cast<char>(flags);
  for (int32_t t : times) {
    const auto u = static_cast<uint32_t>(t);
    for (int shift = 0; shift < 32; shift += 8) block += static_cast<char>((u >> shift) & 0xFF);
  }
  return block;
}

std::string ReadBytes(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  Check(f != nullptr, "fopen for reading");
  std::string bytes;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) bytes.append(buffer, n);
  std::fclose(f);
  return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  Check(f != nullptr, "fopen for writing");
  Check(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(), "fwrite");
  std::fclose(f);
}

}  // namespace testzip
