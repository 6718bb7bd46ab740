#pragma once
// Owners for the handles the program makes or is lent, and for an object selected into a device
// context: each is released by its type, never by hand.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <utility>

namespace lorvane::platform {

// Owns one handle and closes it with `close` as it goes. `empty` is what the function that makes
// such a handle returns when it fails, and an owner holding it closes nothing: null for most,
// INVALID_HANDLE_VALUE for a file.
template <typename Handle, auto close, std::intptr_t empty = 0>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  UniqueHandle(std::nullptr_t) noexcept requires(empty == 0) {}
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != none(); }
  Handle release() noexcept { return std::exchange(handle_, none()); }
  void reset(Handle handle = none()) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (old != none()) close(old);
  }
  // Null stands for empty only where empty is null: a file owner is never compared with null.
  friend bool operator==(const UniqueHandle& owner, std::nullptr_t) noexcept requires(empty == 0) {
    return !owner;
  }

 private:
  static Handle none() noexcept { return reinterpret_cast<Handle>(empty); }
  Handle handle_ = none();
};

// INVALID_HANDLE_VALUE is a cast, which no template argument may hold: its value, as a number.
inline constexpr std::intptr_t invalid_handle_value = -1;

// A window may be gone before its owner: destroyed with its parent, or by the system as its
// thread ended.
inline void destroy_live_window(HWND window) noexcept {
  if (::IsWindow(window)) ::DestroyWindow(window);
}

using UniqueFont = UniqueHandle<HFONT, ::DeleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, ::DeleteObject>;
using UniqueIcon = UniqueHandle<HICON, ::DestroyIcon>;
using UniqueWindow = UniqueHandle<HWND, destroy_live_window>;
// A device context made to draw in memory (CreateCompatibleDC), not one lent by a window.
using UniqueMemoryDc = UniqueHandle<HDC, ::DeleteDC>;
// A kernel object that is null on failure (a mutex, a file mapping, an event; not a file).
using UniqueKernelHandle = UniqueHandle<HANDLE, ::CloseHandle>;
// A file or a folder opened by CreateFile, which fails with INVALID_HANDLE_VALUE.
using UniqueFile = UniqueHandle<HANDLE, ::CloseHandle, invalid_handle_value>;
using UniqueView = UniqueHandle<void*, ::UnmapViewOfFile>;
using UniqueWinEventHook = UniqueHandle<HWINEVENTHOOK, ::UnhookWinEvent>;
using UniqueModule = UniqueHandle<HMODULE, ::FreeLibrary>;
using UniquePowerNotify = UniqueHandle<HPOWERNOTIFY, ::UnregisterPowerSettingNotification>;

// A window's device context, or the screen's for no window, lent for as long as this lives; null
// when the system lends none.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object (a font, a bitmap) selected into a device context for as long as this lives; what was
// selected before comes back as it goes. A null object selects nothing, and the context keeps
// its own.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), old_(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (old_ != nullptr) ::SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace lorvane::platform
