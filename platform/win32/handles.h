#pragma once

#include <utility>

#include "platform/win32/windows_shim.h"

namespace platform::win32 {

// Owns one Windows object and frees it with Free when it goes out of scope.
template <typename T, typename Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(T value) : value_(value) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : value_(std::exchange(other.value_, Traits::Invalid())) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(std::exchange(other.value_, Traits::Invalid()));
    return *this;
  }
  ~Unique() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::Invalid(); }
  T* receive() {
    reset();
    return &value_;
  }
  void reset(T value = Traits::Invalid()) {
    if (value_ != Traits::Invalid()) Traits::Free(value_);
    value_ = value;
  }
  T release() { return std::exchange(value_, Traits::Invalid()); }

 private:
  T value_ = Traits::Invalid();
};

struct HandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Free(HANDLE h) { CloseHandle(h); }
};
struct FileHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE h) { CloseHandle(h); }
};
struct KeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Free(HKEY k) { RegCloseKey(k); }
};
struct GdiTraits {
  static HGDIOBJ Invalid() { return nullptr; }
  static void Free(HGDIOBJ o) { DeleteObject(o); }
};
struct IconTraits {
  static HICON Invalid() { return nullptr; }
  static void Free(HICON icon) { DestroyIcon(icon); }
};
struct DcTraits {
  static HDC Invalid() { return nullptr; }
  static void Free(HDC dc) { DeleteDC(dc); }
};
struct MenuTraits {
  static HMENU Invalid() { return nullptr; }
  static void Free(HMENU menu) { DestroyMenu(menu); }
};
struct ModuleTraits {
  static HMODULE Invalid() { return nullptr; }
  static void Free(HMODULE m) { FreeLibrary(m); }
};

struct ImageListTraits {
  static HIMAGELIST Invalid() { return nullptr; }
  static void Free(HIMAGELIST list) { ImageList_Destroy(list); }
};

using UniqueHandle = Unique<HANDLE, HandleTraits>;
using UniqueFile = Unique<HANDLE, FileHandleTraits>;
using UniqueKey = Unique<HKEY, KeyTraits>;
using UniqueGdiObject = Unique<HGDIOBJ, GdiTraits>;
using UniqueDc = Unique<HDC, DcTraits>;
using UniqueModule = Unique<HMODULE, ModuleTraits>;
// An icon the program loaded itself (not LR_SHARED).
using UniqueIcon = Unique<HICON, IconTraits>;
// A menu that no window holds as its menu bar; its submenus go with it.
using UniqueMenu = Unique<HMENU, MenuTraits>;
using UniqueImageList = Unique<HIMAGELIST, ImageListTraits>;

// Selects a GDI object into a DC for one scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace platform::win32
