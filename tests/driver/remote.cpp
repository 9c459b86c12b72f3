#include "tests/driver/driver.h"
#include "tests/driver/failure.h"

namespace driver {
namespace {

// Memory allocated in another process, released there again.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, std::size_t size)
      : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  ~RemoteMemory() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  void* get() const { return address_; }

 private:
  HANDLE process_;
  void* address_;
};

}  // namespace

LRESULT SendWithRemoteString(const Window& window, UINT message, WPARAM wParam, const std::string& text,
                             Timeout timeout) {
  const DWORD processId = window.ProcessId();
  UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE,
                                   processId));
  if (!process) Fail("cannot open process " + std::to_string(processId) + ": " + ErrorText(GetLastError()));
  RemoteMemory copy(process.get(), text.size() + 1);
  if (!copy.get()) Fail("cannot allocate memory in process " + std::to_string(processId) + ": " + ErrorText(GetLastError()));
  SIZE_T written = 0;
  if (!WriteProcessMemory(process.get(), copy.get(), text.c_str(), text.size() + 1, &written) ||
      written != text.size() + 1) {
    Fail("cannot write into process " + std::to_string(processId) + ": " + ErrorText(GetLastError()));
  }
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window.Handle(), message, wParam, reinterpret_cast<LPARAM>(copy.get()), SMTO_NORMAL,
                           timeout.milliseconds, &result)) {
    Fail("window " + window.Describe() + " did not answer message " + std::to_string(message) + ": " +
         ErrorText(GetLastError()));
  }
  return static_cast<LRESULT>(result);
}

}  // namespace driver
