// zipx ARCHIVE TARGET
//
// Extracts ARCHIVE into TARGET with the installer's archive component and
// prints every progress value on its own line, then "result N" with the
// extraction's result. The exit code is 0 when the extraction ran, 2 when the
// arguments are wrong. Paths are taken as ANSI bytes, as the installer passes
// them.
#include <cstdio>

#include "payload/archive_extractor.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: zipx ARCHIVE TARGET\n", stderr);
    return 2;
  }
  payload::ArchiveExtractor extractor;
  extractor.SetProgressHandler([](int32_t percent) -> std::optional<bool> {
    std::printf("%d\n", static_cast<int>(percent));
    return std::nullopt;
  });
  const int32_t result = extractor.Extract(argv[1], argv[2]);
  std::printf("result %d\n", static_cast<int>(result));
  return 0;
}
