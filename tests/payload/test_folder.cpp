#include "tests/payload/test_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace testfs {

namespace {

uint64_t Ticks(const FILETIME& t) { return static_cast<uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime; }

void ListInto(const std::string& root, const std::string& relative, std::vector<std::string>& out,
              bool recurse = true) {
  WIN32_FIND_DATAA found;
  const std::string pattern = root + (relative.empty() ? "" : "\\" + relative) + "\\*";
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string child = relative.empty() ? name : relative + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out.push_back(child + "\\");
      if (recurse) ListInto(root, child, out);
    } else {
      out.push_back(child);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

TestFolder::TestFolder(const std::string& suffix) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "test";
  std::replace(name.begin(), name.end(), '/', '_');
  path_ = std::string(temp) + "extract-" + name + suffix;
  RemoveTree(path_);
  if (!CreateDirectoryA(path_.c_str(), nullptr)) throw std::runtime_error("cannot make " + path_);
}

TestFolder::~TestFolder() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileA(path.c_str());
    return;
  }
  std::vector<std::string> children;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") children.push_back(path + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  for (const std::string& child : children) RemoveTree(child);
  RemoveDirectoryA(path.c_str());
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> out;
  ListInto(folder, "", out, false);
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> ListTree(const std::string& root) {
  std::vector<std::string> out;
  ListInto(root, "", out);
  std::sort(out.begin(), out.end());
  return out;
}

DWORD NormalAttributes() {
  static const DWORD normal = [] {
    TestFolder folder("-probe");
    const std::string probe = folder / "probe";
    MakeFile(probe, "x", FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
    return Attributes(probe);
  }();
  return normal;
}

DWORD ProtectionAttributes(const std::string& path) {
  return Attributes(path) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

bool KeepsCreationTimes() {
  static const bool keeps = [] {
    TestFolder folder("-probe");
    const std::string probe = folder / "probe";
    MakeFile(probe, "x");
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const FILETIME creation{0x10000000, 0x01C00000}, write{0x20000000, 0x01D00000};
    SetFileTime(file, &creation, nullptr, &write);
    CloseHandle(file);
    return TimesOf(probe).creation == (static_cast<uint64_t>(creation.dwHighDateTime) << 32 | creation.dwLowDateTime);
  }();
  return keeps;
}

void MakeFile(const std::string& path, const std::string& bytes, DWORD attributes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot make " + path);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  SetFileAttributesA(path.c_str(), attributes);
}

FileTimes TimesOf(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
  FILETIME c, a, w;
  GetFileTime(file, &c, &a, &w);
  CloseHandle(file);
  return {Ticks(c), Ticks(a), Ticks(w)};
}

uint64_t FileTimeOf(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME s{};
  s.wYear = static_cast<WORD>(year);
  s.wMonth = static_cast<WORD>(month);
  s.wDay = static_cast<WORD>(day);
  s.wHour = static_cast<WORD>(hour);
  s.wMinute = static_cast<WORD>(minute);
  s.wSecond = static_cast<WORD>(second);
  FILETIME t;
  if (!SystemTimeToFileTime(&s, &t)) throw std::runtime_error("bad system time");
  return Ticks(t);
}

uint64_t FileTimeOfUnix(int64_t seconds) {
  return FileTimeOf(1970, 1, 1, 0, 0, 0) + static_cast<uint64_t>(seconds * 10'000'000);
}

}  // namespace testfs
