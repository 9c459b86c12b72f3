// Looks at a drive from inside Wine, for the tests of the host-side hooks
// (tests/host-hooks.sh) that map drive letters.
//
//   drive_probe free X: MIB       the free space of X: is exactly MIB MiB
//   drive_probe absent X:         there is no drive X:
//   drive_probe readonly X:       X: can be read but not written
//   drive_probe read PATH TEXT    the file PATH holds exactly TEXT
//
// Exit code 0 when the drive is as described, 1 (with the reason) when not.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Fails(const std::string& reason) {
  std::printf("drive_probe: %s\n", reason.c_str());
  return 1;
}

std::string Root(const char* drive) { return std::string(drive) + "\\"; }

int ExpectFree(const char* drive, long long mebibytes) {
  ULARGE_INTEGER available{}, total{}, free{};
  if (!GetDiskFreeSpaceExA(Root(drive).c_str(), &available, &total, &free)) {
    return Fails(std::string("cannot read the free space of ") + drive + ": error " + std::to_string(GetLastError()));
  }
  const unsigned long long expected = static_cast<unsigned long long>(mebibytes) * 1024 * 1024;
  std::printf("drive_probe: %s has %llu bytes free of %llu\n", drive, available.QuadPart, total.QuadPart);
  if (available.QuadPart != expected) {
    return Fails(std::string(drive) + " should have exactly " + std::to_string(expected) + " bytes free");
  }
  return 0;
}

int ExpectAbsent(const char* drive) {
  const int index = std::toupper(static_cast<unsigned char>(drive[0])) - 'A';
  if (GetLogicalDrives() & (1u << index)) return Fails(std::string(drive) + " is among the logical drives");
  UINT type = GetDriveTypeA(Root(drive).c_str());
  if (type != DRIVE_NO_ROOT_DIR) return Fails(std::string(drive) + " has drive type " + std::to_string(type));
  return 0;
}

int ExpectReadOnly(const char* drive) {
  const std::string root = Root(drive);
  ULARGE_INTEGER available{}, total{}, free{};
  if (!GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free)) {
    return Fails(std::string(drive) + " is not there: error " + std::to_string(GetLastError()));
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((root + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  else if (GetLastError() != ERROR_FILE_NOT_FOUND) return Fails("cannot list " + root);

  HANDLE file = CreateFileA((root + "probe.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    DeleteFileA((root + "probe.txt").c_str());
    return Fails("a file could be created on " + root);
  }
  std::printf("drive_probe: creating a file on %s failed with error %lu, as it should\n", root.c_str(), GetLastError());
  if (CreateDirectoryA((root + "probe").c_str(), nullptr)) {
    RemoveDirectoryA((root + "probe").c_str());
    return Fails("a folder could be created on " + root);
  }
  return 0;
}

int ExpectContent(const char* path, const char* expected) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Fails(std::string("cannot open ") + path + ": error " + std::to_string(GetLastError()));
  char buffer[4096];
  DWORD read = 0;
  BOOL ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr);
  CloseHandle(file);
  if (!ok) return Fails(std::string("cannot read ") + path);
  if (std::string(buffer, read) != expected) {
    return Fails(std::string(path) + " holds \"" + std::string(buffer, read) + "\", not \"" + expected + "\"");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "free" && argc == 4) return ExpectFree(argv[2], std::atoll(argv[3]));
  if (command == "absent" && argc == 3) return ExpectAbsent(argv[2]);
  if (command == "readonly" && argc == 3) return ExpectReadOnly(argv[2]);
  if (command == "read" && argc == 4) return ExpectContent(argv[2], argv[3]);
  std::printf("usage: drive_probe free X: MIB | absent X: | readonly X: | read PATH TEXT\n");
  return 2;
}
