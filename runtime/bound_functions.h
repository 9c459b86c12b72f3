// Windows functions called through a table of library and function names,
// each resolved at its first call.
//
// The libraries are system libraries, so they are loaded from the system
// directory only: never from the program's own folder or the current
// directory, where a planted copy could wait. An entry that cannot be resolved
// ends the program through the run-time error report.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstddef>

#include "runtime/text.h"

namespace rt {

enum class BoundFunction : std::size_t {
  SHGetFolderLocation,   // "shell32"
  SHBrowseForFolderA,    // "shell32"
  SHGetPathFromIDListA,  // "shell32"
  CoTaskMemFree,         // "ole32"
  CoInitialize,          // "ole32.dll"
  CoUninitialize,        // "ole32.dll"
  GetDiskFreeSpaceExA,   // "kernel32.dll"
};
inline constexpr std::size_t kBoundFunctionCount = 7;

struct BoundFunctionName {
  const char* library;
  const char* function;
};
// The table, in the order of BoundFunction.
extern const BoundFunctionName kBoundFunctionNames[kBoundFunctionCount];

// The address of an entry, resolved (and its library loaded) at the first call.
void* BoundAddress(BoundFunction entry);

// Puts another address into an entry, or with nullptr lets it be resolved
// again at its next call. For unit tests that need a fault the system cannot
// produce (the chooser's shell functions); the product never calls it.
void ReplaceBoundFunction(BoundFunction entry, void* address);

// Unloads every library loaded for the table; entries resolve again if called.
void UnloadBoundLibraries();

// Loads the library from the system directory and finds the function; reports
// the run-time error when either fails. Used by the table; open to tests so
// they can ask for names the table does not hold.
void* ResolveFromSystemDirectory(const BoundFunctionName& name, HMODULE* library);

// "无法找到指定DLL库文件“<library>”中的输出命令“<function>”".
Text BoundFunctionErrorText(const char* library, const char* function);

// Typed calls through the table.
namespace bound {
template <BoundFunction entry, typename Signature>
Signature* Typed() {
  return reinterpret_cast<Signature*>(BoundAddress(entry));
}
inline HRESULT SHGetFolderLocation(HWND owner, int folder, HANDLE token, DWORD reserved,
                                   PIDLIST_ABSOLUTE* list) {
  return Typed<BoundFunction::SHGetFolderLocation, decltype(::SHGetFolderLocation)>()(
      owner, folder, token, reserved, list);
}
inline PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info) {
  return Typed<BoundFunction::SHBrowseForFolderA, decltype(::SHBrowseForFolderA)>()(info);
}
inline BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, char* path) {
  return Typed<BoundFunction::SHGetPathFromIDListA, decltype(::SHGetPathFromIDListA)>()(list, path);
}
inline void CoTaskMemFree(void* memory) {
  Typed<BoundFunction::CoTaskMemFree, decltype(::CoTaskMemFree)>()(memory);
}
inline HRESULT CoInitialize(void* reserved) {
  return Typed<BoundFunction::CoInitialize, decltype(::CoInitialize)>()(reserved);
}
inline void CoUninitialize() {
  Typed<BoundFunction::CoUninitialize, decltype(::CoUninitialize)>()();
}
inline BOOL GetDiskFreeSpaceExA(const char* directory, ULARGE_INTEGER* free_to_caller,
                                ULARGE_INTEGER* total, ULARGE_INTEGER* total_free) {
  return Typed<BoundFunction::GetDiskFreeSpaceExA, decltype(::GetDiskFreeSpaceExA)>()(
      directory, free_to_caller, total, total_free);
}
}  // namespace bound

}  // namespace rt
