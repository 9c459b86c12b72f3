// A fresh folder per test under the Wine prefix's temporary folder, removed
// with everything in it at the end, and the file system queries the tests use.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testfs {

class TestFolder {
 public:
  // Named after the running test, and the suffix when one is given.
  explicit TestFolder(const std::string& suffix = "");
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::string& path() const { return path_; }
  // path + "\\" + relative
  std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

 private:
  std::string path_;
};

void RemoveTree(const std::string& path);
bool Exists(const std::string& path);
bool IsDirectory(const std::string& path);
DWORD Attributes(const std::string& path);
// The names in folder, sorted; folders end in "\".
std::vector<std::string> ListFolder(const std::string& folder);
// Every file and folder below root, relative, sorted; folders end in "\".
std::vector<std::string> ListTree(const std::string& root);
// What the system reports for a file whose attributes were set to normal
// (Windows says FILE_ATTRIBUTE_NORMAL, Wine FILE_ATTRIBUTE_ARCHIVE).
DWORD NormalAttributes();
// The read-only, hidden and system attributes of path.
DWORD ProtectionAttributes(const std::string& path);
// True when the file system keeps a file's creation time apart from its
// last-write time (Wine on Linux reports the last-write time for both).
bool KeepsCreationTimes();

void MakeFile(const std::string& path, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL);

struct FileTimes {
  uint64_t creation, last_access, last_write;
};
FileTimes TimesOf(const std::string& path);
// A UTC moment as a file time, by the system's own conversion.
uint64_t FileTimeOf(int year, int month, int day, int hour, int minute, int second);
uint64_t FileTimeOfUnix(int64_t seconds);

}  // namespace testfs
