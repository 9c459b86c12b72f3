// packer: makes the installer's payload archive from a product folder.
//
//   packer --product NAME --source FOLDER [--manifest FILE] [--comment TEXT]
//          [--deflate zopfli|zlib] --output FILE.zip
//
// NAME.exe must lie at the folder's root; it becomes the last entry. The
// entry order comes from the manifest when one is given, otherwise from the
// folder (see product_listing.h). Files are deflated with Zopfli unless
// zlib is asked for (much faster, about 4% larger). Prints a summary; exit code 0 on success,
// 1 when the folder cannot be packed (the reason on stderr), 2 for bad usage.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive_writer.h"
#include "deflater.h"
#include "product_listing.h"

namespace {

struct Options {
  std::string product;
  std::filesystem::path source;
  std::optional<std::filesystem::path> manifest;
  std::optional<std::string> comment;
  packer::Deflater deflater = packer::ZopfliDeflater();
  std::filesystem::path output;
};

constexpr char kUsage[] =
    "usage: packer --product NAME --source FOLDER [--manifest FILE] [--comment TEXT] "
    "[--deflate zopfli|zlib] --output FILE.zip\n";

std::optional<Options> ParseArguments(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view flag = argv[i];
    if (i + 1 >= argc) return std::nullopt;
    const char* value = argv[++i];
    if (flag == "--product") {
      options.product = value;
    } else if (flag == "--source") {
      options.source = value;
    } else if (flag == "--manifest") {
      options.manifest = value;
    } else if (flag == "--comment") {
      options.comment = value;
    } else if (flag == "--deflate") {
      const std::string_view name = value;
      if (name == "zopfli") {
        options.deflater = packer::ZopfliDeflater();
      } else if (name == "zlib") {
        options.deflater = packer::ZlibDeflater();
      } else {
        return std::nullopt;
      }
    } else if (flag == "--output") {
      options.output = value;
    } else {
      return std::nullopt;
    }
  }
  if (options.product.empty() || options.source.empty() || options.output.empty()) {
    return std::nullopt;
  }
  return options;
}

double Percent(std::uint64_t part, std::uint64_t whole) {
  return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}

int Pack(const Options& options) {
  const std::string executable = options.product + ".exe";
  const std::vector<packer::ListedEntry> entries =
      packer::ListProduct(options.source, executable, options.manifest);
  const packer::Deflater& deflater = options.deflater;

  std::printf("packer: %s from %s\n", options.product.c_str(), options.source.c_str());
  if (options.manifest) {
    std::printf("  order: the manifest %s\n", options.manifest->c_str());
  } else {
    std::printf("  order: the folder's, names sorted, %s last\n", executable.c_str());
  }
  std::printf("  deflate: %s\n", deflater.description.c_str());
  std::printf("  %3s  %-7s  %10s  %10s  %6s  %s\n", "#", "method", "bytes", "compressed", "ratio",
              "name");

  packer::ArchiveWriter writer(options.output, deflater);
  std::uint64_t total = 0;
  std::uint64_t total_compressed = 0;
  int files = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const bool last = i + 1 == entries.size();
    const packer::PackedEntry packed = writer.Add(entries[i], last);
    total += packed.size;
    total_compressed += packed.compressed_size;
    if (!packed.directory) ++files;
    char ratio[16] = "";
    if (!packed.directory) {
      std::snprintf(ratio, sizeof ratio, "%.1f%%", Percent(packed.compressed_size, packed.size));
    }
    std::printf("  %3zu  %-7s  %10llu  %10llu  %6s  %s\n", i + 1,
                packed.directory ? "stored" : "deflate",
                static_cast<unsigned long long>(packed.size),
                static_cast<unsigned long long>(packed.compressed_size), ratio,
                entries[i].name.c_str());
  }
  const std::string comment = options.comment.value_or(options.product);
  const std::uint64_t archive_size = writer.Finish(comment);
  const size_t folders = entries.size() - files;
  std::printf("  %zu entries (%d deflated, %zu folder%s stored): %llu bytes, %llu compressed "
              "(%.1f%%)\n",
              entries.size(), files, folders, folders == 1 ? "" : "s",
              static_cast<unsigned long long>(total),
              static_cast<unsigned long long>(total_compressed), Percent(total_compressed, total));
  std::printf("  archive: %s, %llu bytes\n", options.output.c_str(),
              static_cast<unsigned long long>(archive_size));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseArguments(argc, argv);
  if (!options) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    return Pack(*options);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "packer: cannot pack %s: %s\n", options->source.c_str(), error.what());
    return 1;
  }
}
