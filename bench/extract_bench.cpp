// The extractor's speed against zlib inflating the same entries to memory,
// and its peak memory while it extracts one 512 MB entry.
//
//   extract_bench [--rounds N] [--speed-only] WORKDIR
//                         generates the archives in WORKDIR (once) and prints
//                         the medians of N rounds (default 7); --speed-only
//                         leaves out the memory run
//   extract_bench --peak ARCHIVE TARGET
//                         extracts ARCHIVE alone in this process and prints
//                         its memory use
#include <windows.h>
#include <psapi.h>

#include <unzip.h>
#include <zip.h>
// After unzip.h, which it needs.
#include <iowin32.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "payload/archive_extractor.h"

namespace {

using bench::Exists;
using bench::RemoveTree;
using bench::Seconds;

constexpr uint32_t kMiB = 1024 * 1024;
constexpr int kMixedEntries = 16;             // 16 MiB each: 256 MiB in all
constexpr uint32_t kBigEntry = 512 * kMiB;    // the one entry of the memory run
constexpr int kDefaultRounds = 7;
constexpr unsigned kBlock = 16384;            // the extractor's block size

void Fail(const char* what) {
  std::fprintf(stderr, "extract_bench: %s (error %lu)\n", what, GetLastError());
  ExitProcess(1);
}


// Deterministic data: text made of words (deflates to about a third) and
// noise that does not deflate at all.
class DataSource {
 public:
  explicit DataSource(uint32_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  void Text(std::string& out, std::size_t size) {
    static const char* const kWords[] = {
        "the", "installer", "writes", "every", "file", "of", "product", "into", "its", "folder",
        "and", "reports", "progress", "while", "archive", "entry", "is", "read", "in", "blocks",
        "window", "shows", "a", "bar", "that", "moves", "with", "each", "percent", "done",
        "settings", "library", "update", "version", "data", "value", "name", "path", "time", "user"};
    out.clear();
    while (out.size() < size) {
      out += kWords[Next() % 40];
      out += Next() % 12 == 0 ? "\r\n" : " ";
      if (Next() % 50 == 0) out += std::to_string(Next() % 100000);
    }
    out.resize(size);
  }
  void Noise(std::string& out, std::size_t size) {
    out.resize(size);
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
      const uint32_t v = Next();
      std::memcpy(&out[i], &v, 4);
    }
  }

 private:
  uint32_t state_;
};

void AddEntry(zipFile zip, const std::string& name, int level, uint32_t size,
              const std::function<void(std::string&, std::size_t)>& fill) {
  zip_fileinfo info{};
  info.dosDate = (41u << 25) | (3u << 21) | (4u << 16);
  info.external_fa = 0x20;
  if (zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, level) != ZIP_OK) {
    Fail("cannot add an entry");
  }
  std::string chunk;
  for (uint32_t written = 0; written < size; written += kMiB) {
    fill(chunk, kMiB);
    if (zipWriteInFileInZip(zip, chunk.data(), kMiB) != ZIP_OK) Fail("cannot write an entry");
  }
  zipCloseFileInZip(zip);
}

void GenerateMixed(const std::string& path) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (!zip) Fail("cannot create the mixed archive");
  DataSource source(12345);
  for (int i = 0; i < kMixedEntries; ++i) {
    const bool text = i % 2 == 0;
    AddEntry(zip, (text ? "text" : "noise") + std::to_string(i) + ".dat", 9, 16 * kMiB,
             [&](std::string& out, std::size_t size) { text ? source.Text(out, size) : source.Noise(out, size); });
  }
  zipClose(zip, nullptr);
}

void GenerateBig(const std::string& path) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (!zip) Fail("cannot create the big archive");
  DataSource source(777);
  std::string text;
  source.Text(text, kMiB);
  uint32_t block = 0;
  AddEntry(zip, "big.dat", 1, kBigEntry, [&](std::string& out, std::size_t) {
    out = text;
    std::memcpy(&out[block % 1000 * 1000], &block, sizeof(block));  // no two blocks alike
    ++block;
  });
  zipClose(zip, nullptr);
}

struct EntryData {
  uint64_t offset, compressed, uncompressed;
};

std::vector<EntryData> DeflatedEntries(const std::string& path) {
  std::vector<EntryData> entries;
  unzFile zip = unzOpen64(path.c_str());
  if (!zip) Fail("cannot open the mixed archive");
  for (int err = unzGoToFirstFile(zip); err == UNZ_OK; err = unzGoToNextFile(zip)) {
    unz_file_info64 info;
    unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0);
    unzOpenCurrentFile(zip);
    entries.push_back({unzGetCurrentFileZStreamPos64(zip), info.compressed_size, info.uncompressed_size});
    unzCloseCurrentFile(zip);
  }
  unzClose(zip);
  return entries;
}

// Reads each entry's deflated data from the file and inflates it into a
// block of memory that is overwritten again and again: what zlib alone
// costs. Returns the bytes inflated.
uint64_t InflateToMemory(const std::string& path, const std::vector<EntryData>& entries) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot open the archive");
  static unsigned char in[kBlock], out[kBlock];
  uint64_t total = 0;
  for (const EntryData& entry : entries) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(entry.offset);
    SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
    z_stream z{};
    inflateInit2(&z, -MAX_WBITS);
    uint64_t left = entry.compressed;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
      if (z.avail_in == 0) {
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(left < sizeof(in) ? left : sizeof(in));
        if (want == 0 || !ReadFile(file, in, want, &read, nullptr) || read == 0) Fail("short entry");
        left -= read;
        z.next_in = in;
        z.avail_in = read;
      }
      z.next_out = out;
      z.avail_out = sizeof(out);
      status = inflate(&z, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END) Fail("inflate");
      total += sizeof(out) - z.avail_out;
    }
    inflateEnd(&z);
  }
  CloseHandle(file);
  return total;
}

// What the extractor's reading alone costs: minizip inflating each entry
// into memory in 16 KB blocks and checking its CRC-32, no files written.
uint64_t MinizipToMemory(const std::string& path) {
  zlib_filefunc64_def files;
  fill_win32_filefunc64A(&files);
  unzFile zip = unzOpen2_64(path.c_str(), &files);
  if (!zip) Fail("cannot open the mixed archive");
  static char block[kBlock];
  uint64_t total = 0;
  for (int err = unzGoToFirstFile(zip); err == UNZ_OK; err = unzGoToNextFile(zip)) {
    unzOpenCurrentFile(zip);
    int read;
    while ((read = unzReadCurrentFile(zip, block, sizeof(block))) > 0) total += static_cast<unsigned>(read);
    if (unzCloseCurrentFile(zip) != UNZ_OK) Fail("CRC-32 mismatch");
  }
  unzClose(zip);
  return total;
}

// What writing alone costs: the same number of bytes written to new files of
// the entries' sizes in 16 KB blocks.
void WriteFiles(const std::string& folder, const std::vector<EntryData>& entries) {
  CreateDirectoryA(folder.c_str(), nullptr);
  static char block[kBlock];
  int n = 0;
  for (const EntryData& entry : entries) {
    const std::string path = folder + "\\" + std::to_string(n++);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("cannot create a file");
    for (uint64_t left = entry.uncompressed; left > 0;) {
      const DWORD size = static_cast<DWORD>(left < kBlock ? left : kBlock);
      DWORD written;
      if (!WriteFile(file, block, size, &written, nullptr) || written != size) Fail("cannot write");
      left -= size;
    }
    CloseHandle(file);
  }
}

void ReadWhole(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  static char buffer[1 << 20];
  DWORD read;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
  }
  CloseHandle(file);
}

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / kMiB; }

int PeakRun(const char* archive, const char* target) {
  PROCESS_MEMORY_COUNTERS before{}, after{};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof(before));
  payload::ArchiveExtractor extractor;
  const double start = Seconds();
  const int32_t result = extractor.Extract(archive, target);
  const double seconds = Seconds() - start;
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof(after));
  std::printf("one 512 MB entry: result %d, %.1f MB/s\n", static_cast<int>(result), kBigEntry / double(kMiB) / seconds);
  std::printf("  peak working set    %7.1f MB (%.1f MB before Extract, growth %.1f MB)\n",
              MiB(after.PeakWorkingSetSize), MiB(before.PeakWorkingSetSize),
              MiB(after.PeakWorkingSetSize) - MiB(before.PeakWorkingSetSize));
  std::printf("  peak pagefile usage %7.1f MB (%.1f MB before Extract, growth %.1f MB)\n",
              MiB(after.PeakPagefileUsage), MiB(before.PeakPagefileUsage),
              MiB(after.PeakPagefileUsage) - MiB(before.PeakPagefileUsage));
  std::printf("  pagefile usage now  %7.1f MB\n", MiB(after.PagefileUsage));
  return result == 1 ? 0 : 1;
}

// The memory run in a process of its own, so that nothing of the
// generation or the speed runs counts towards its peaks.
void RunPeakChild(const std::string& archive, const std::string& target) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = std::string("\"") + self + "\" --peak \"" + archive + "\" \"" + target + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  std::fflush(stdout);
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    Fail("cannot start the memory run");
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--peak") == 0) return PeakRun(argv[2], argv[3]);
  int rounds = kDefaultRounds;
  bool speed_only = false;
  int arg = 1;
  for (; arg < argc - 1; ++arg) {
    if (std::strcmp(argv[arg], "--rounds") == 0 && arg + 1 < argc - 1) {
      rounds = std::max(1, std::atoi(argv[++arg]));
    } else if (std::strcmp(argv[arg], "--speed-only") == 0) {
      speed_only = true;
    } else {
      break;
    }
  }
  if (arg != argc - 1) {
    std::fputs("usage: extract_bench [--rounds N] [--speed-only] WORKDIR\n", stderr);
    return 2;
  }
  const std::string work = argv[arg];
  CreateDirectoryA(work.c_str(), nullptr);
  const std::string mixed = work + "\\mixed.zip", big = work + "\\big.zip";
  if (!Exists(mixed)) {
    std::printf("generating %s ...\n", mixed.c_str());
    std::fflush(stdout);
    GenerateMixed(mixed);
  }
  if (!speed_only && !Exists(big)) {
    std::printf("generating %s ...\n", big.c_str());
    std::fflush(stdout);
    GenerateBig(big);
  }

  const std::vector<EntryData> entries = DeflatedEntries(mixed);
  uint64_t uncompressed = 0, compressed = 0;
  for (const EntryData& e : entries) {
    uncompressed += e.uncompressed;
    compressed += e.compressed;
  }
  std::printf("archive: %zu entries, %.1f MB, %.1f MB deflated (text and noise)\n", entries.size(),
              MiB(uncompressed), MiB(compressed));
  ReadWhole(mixed);  // every run reads from the file cache

  const std::string out = work + "\\out", written = work + "\\written";
  // Medians of a few rounds, the kinds of run interleaved so that a busy
  // moment of the machine does not favour one of them.
  std::vector<double> extract, inflate, minizip, write;
  const auto time = [](std::vector<double>& times, double start) { times.push_back(Seconds() - start); };
  for (int round = 0; round < rounds; ++round) {
    RemoveTree(out);
    RemoveTree(written);
    payload::ArchiveExtractor extractor;
    double start = Seconds();
    if (extractor.Extract(mixed.c_str(), out.c_str()) != 1) Fail("extraction failed");
    time(extract, start);
    start = Seconds();
    if (InflateToMemory(mixed, entries) != uncompressed) Fail("inflated size differs");
    time(inflate, start);
    start = Seconds();
    if (MinizipToMemory(mixed) != uncompressed) Fail("minizip read size differs");
    time(minizip, start);
    start = Seconds();
    WriteFiles(written, entries);
    time(write, start);
  }
  const double size = MiB(uncompressed);
  const double extract_s = Median(extract), inflate_s = Median(inflate), minizip_s = Median(minizip),
               write_s = Median(write);
  std::printf("medians of %d rounds:\n", rounds);
  std::printf("Extract:                              %7.1f MB/s  %.3f s\n", size / extract_s, extract_s);
  std::printf("zlib inflate only, to memory:         %7.1f MB/s  %.3f s\n", size / inflate_s, inflate_s);
  std::printf("ratio Extract / inflate only:         %7.2f\n", inflate_s / extract_s);
  std::printf("where the time goes:\n");
  std::printf("  minizip to memory (inflate, CRC-32) %7.1f MB/s  %.3f s\n", size / minizip_s, minizip_s);
  std::printf("  writing the files alone             %7.1f MB/s  %.3f s\n", size / write_s, write_s);
  RemoveTree(written);
  RemoveTree(out);
  if (speed_only) return 0;

  const std::string big_out = work + "\\big-out";
  RemoveTree(big_out);
  RunPeakChild(big, big_out);
  RemoveTree(big_out);
  return 0;
}
