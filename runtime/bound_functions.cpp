#include "runtime/bound_functions.h"

#include <atomic>
#include <cstring>
#include <type_traits>

#include "runtime/runtime_error.h"

namespace rt {

// The typed calls keep the system's calling convention.
static_assert(std::is_same_v<decltype(::CoTaskMemFree), void WINAPI(LPVOID)>);
static_assert(std::is_same_v<decltype(::CoUninitialize), void WINAPI()>);

const BoundFunctionName kBoundFunctionNames[kBoundFunctionCount] = {
    {"shell32", "SHGetFolderLocation"},
    {"shell32", "SHBrowseForFolderA"},
    {"shell32", "SHGetPathFromIDListA"},
    {"ole32", "CoTaskMemFree"},
    {"ole32.dll", "CoInitialize"},
    {"ole32.dll", "CoUninitialize"},
    {"kernel32.dll", "GetDiskFreeSpaceExA"},
};

namespace {

// Each entry keeps its own reference to its library, so entries resolved on
// different threads at once never share a handle.
struct Entry {
  std::atomic<void*> address{nullptr};
  std::atomic<HMODULE> library{nullptr};
};
Entry g_entries[kBoundFunctionCount];

bool SystemSearchFlagAvailable() {
  // LOAD_LIBRARY_SEARCH_SYSTEM32 is understood exactly where AddDllDirectory
  // exists (Windows 8, or Windows 7 with its update).
  return GetProcAddress(GetModuleHandleA("kernel32.dll"), "AddDllDirectory") != nullptr;
}

HMODULE LoadFromSystemDirectory(const char* library) {
  if (SystemSearchFlagAvailable()) {
    return LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  char path[MAX_PATH];
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  const std::size_t name_length = std::strlen(library);
  const bool has_extension = std::strchr(library, '.') != nullptr;
  if (length == 0 || length + 1 + name_length + (has_extension ? 0 : 4) >= MAX_PATH) return nullptr;
  path[length] = '\\';
  std::memcpy(path + length + 1, library, name_length + 1);
  if (!has_extension) std::strcat(path, ".dll");
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

Text BoundFunctionErrorText(const char* library, const char* function) {
  return Concat("无法找到指定DLL库文件“", library, "”中的输出命令“", function, "”");
}

void* ResolveFromSystemDirectory(const BoundFunctionName& name, HMODULE* library) {
  HMODULE module = LoadFromSystemDirectory(name.library);
  void* address = module ? reinterpret_cast<void*>(GetProcAddress(module, name.function)) : nullptr;
  if (!address) {
    if (module) FreeLibrary(module);
    ReportRuntimeError(0, BoundFunctionErrorText(name.library, name.function));
  }
  *library = module;
  return address;
}

void* BoundAddress(BoundFunction which) {
  Entry& entry = g_entries[static_cast<std::size_t>(which)];
  if (void* address = entry.address.load()) return address;
  HMODULE library = nullptr;
  void* address = ResolveFromSystemDirectory(kBoundFunctionNames[static_cast<std::size_t>(which)], &library);
  void* earlier = nullptr;
  if (!entry.address.compare_exchange_strong(earlier, address)) {
    FreeLibrary(library);  // another thread resolved it meanwhile
    return earlier;
  }
  if (HMODULE previous = entry.library.exchange(library)) FreeLibrary(previous);
  return address;
}

void ReplaceBoundFunction(BoundFunction which, void* address) {
  g_entries[static_cast<std::size_t>(which)].address = address;
}

void UnloadBoundLibraries() {
  for (Entry& entry : g_entries) {
    entry.address = nullptr;
    if (HMODULE library = entry.library.exchange(nullptr)) FreeLibrary(library);
  }
}

}  // namespace rt
