// Owners of the Win32 handles the extractor opens: each is closed on every
// way out of the scope that opened it.
#pragma once

#include <windows.h>

namespace payload {

// A kernel handle from CreateFile and the like (INVALID_HANDLE_VALUE when
// the open failed).
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~ScopedHandle() { Close(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  HANDLE get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

  // Closes now; true when the handle was open and closed without error.
  bool Close() {
    if (!Valid()) return false;
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

}  // namespace payload
