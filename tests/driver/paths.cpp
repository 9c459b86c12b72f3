#include <cstdlib>
#include <vector>

#include "tests/driver/driver.h"
#include "tests/driver/failure.h"

namespace driver {
namespace {

std::string AnsiFromWide(const wchar_t* wide) {
  int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string ansi(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi.data(), size, nullptr, nullptr);
  ansi.resize(static_cast<std::size_t>(size - 1));
  return ansi;
}

}  // namespace

std::string FromHostPath(const std::string& hostPath) {
  // Wine's own mapping knows every drive of the prefix; without Wine (a real
  // Windows) the path is taken as it is.
  using DosName = wchar_t*(CDECL*)(const char*);
  auto dosName = reinterpret_cast<DosName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
  if (!dosName) return hostPath;
  wchar_t* wide = dosName(hostPath.c_str());
  if (!wide) Fail("Wine has no Windows path for the host path " + hostPath);
  std::string path = AnsiFromWide(wide);
  HeapFree(GetProcessHeap(), 0, wide);
  return path;
}

std::string ArtifactPath(const std::string& fileName) {
  const char* folder = std::getenv("TEST_ARTIFACTS_DIR");
  std::string path = folder && *folder ? folder : ".";
  if (path[0] == '/') path = FromHostPath(path);  // wine-run.sh gives the host's path
  CreateDirectoryA(path.c_str(), nullptr);         // an existing folder is fine
  if (path.back() != '\\' && path.back() != '/') path += '\\';
  return path + fileName;
}

std::string ToUtf8(const std::string& ansi) {
  if (ansi.empty()) return {};
  int wideSize = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::vector<wchar_t> wide(static_cast<std::size_t>(wideSize));
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), wideSize);
  int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

}  // namespace driver
