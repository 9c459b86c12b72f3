// Scoped owners of Win32 resources: each releases its resource exactly once,
// with the function that resource needs, and can be moved but not copied.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shtypes.h>

#include <utility>

namespace rt {

// The common shape: a value, the value meaning "none", and the release call.
template <typename T, typename Traits>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(T value) : value_(value) {}
  Scoped(Scoped&& other) noexcept : value_(std::exchange(other.value_, Traits::None())) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.value_, Traits::None()));
    return *this;
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  ~Scoped() { Reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::None(); }
  // Gives the value up without releasing it.
  T release() { return std::exchange(value_, Traits::None()); }
  void Reset(T value = Traits::None()) {
    if (value_ != Traits::None()) Traits::Release(value_);
    value_ = value;
  }

 private:
  T value_ = Traits::None();
};

struct HandleTraits {  // kernel handles; both null and INVALID_HANDLE_VALUE mean none
  static HANDLE None() { return nullptr; }
  static void Release(HANDLE h) { CloseHandle(h); }
};
class UniqueHandle : public Scoped<HANDLE, HandleTraits> {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : Scoped(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
};

template <typename T>
struct GdiTraits {
  static T None() { return nullptr; }
  static void Release(T object) { DeleteObject(object); }
};
template <typename T>
using GdiObject = Scoped<T, GdiTraits<T>>;
using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;

struct IconTraits {
  static HICON None() { return nullptr; }
  static void Release(HICON icon) { DestroyIcon(icon); }
};
using Icon = Scoped<HICON, IconTraits>;

struct WindowTraits {
  static HWND None() { return nullptr; }
  static void Release(HWND window) { DestroyWindow(window); }
};
using UniqueWindow = Scoped<HWND, WindowTraits>;

struct ModuleTraits {
  static HMODULE None() { return nullptr; }
  static void Release(HMODULE module) { FreeLibrary(module); }
};
using Module = Scoped<HMODULE, ModuleTraits>;

// A memory device context compatible with another DC.
struct MemoryDcTraits {
  static HDC None() { return nullptr; }
  static void Release(HDC dc) { DeleteDC(dc); }
};
using MemoryDc = Scoped<HDC, MemoryDcTraits>;

// The DC of a window's client area (GetDC), or of the whole window with its
// non-client area (GetWindowDC).
class WindowDc {
 public:
  static constexpr bool kWholeWindow = true;
  explicit WindowDc(HWND window, bool whole_window = false)
      : window_(window), dc_(whole_window ? GetWindowDC(window) : GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint ... EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window) { BeginPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(window_, &paint_); }
  HDC get() const { return paint_.hdc; }
  const RECT& Dirty() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
};

// Selects an object into a DC and puts the previous one back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A COM interface pointer, released once.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* p) : p_(p) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For functions that hand out a new reference through T**.
  T** Out() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

 private:
  T* p_ = nullptr;
};

// An item identifier list from the shell, freed with the task allocator. The
// freeing function is given, because the chooser frees through the table of
// functions bound by name.
class ItemIdList {
 public:
  using FreeFunction = void(WINAPI*)(void*);
  explicit ItemIdList(FreeFunction free_function, ITEMIDLIST* list = nullptr)
      : free_(free_function), list_(list) {}
  ItemIdList(const ItemIdList&) = delete;
  ItemIdList& operator=(const ItemIdList&) = delete;
  ~ItemIdList() { free_(list_); }  // CoTaskMemFree accepts null

  ITEMIDLIST* get() const { return list_; }
  ITEMIDLIST** Out() { return &list_; }

 private:
  FreeFunction free_;
  ITEMIDLIST* list_;
};

}  // namespace rt
