#pragma once
// Owners for the handles the program creates: each handle is released by its type, never by hand.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace lorvane::platform {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const noexcept { ::DeleteObject(object); }
};
struct IconDeleter {
  void operator()(HICON icon) const noexcept { ::DestroyIcon(icon); }
};
struct WinEventHookDeleter {
  void operator()(HWINEVENTHOOK hook) const noexcept { ::UnhookWinEvent(hook); }
};
struct WindowDeleter {
  void operator()(HWND window) const noexcept {
    if (::IsWindow(window)) ::DestroyWindow(window);
  }
};
struct KernelHandleDeleter {
  void operator()(HANDLE handle) const noexcept { ::CloseHandle(handle); }
};
struct ViewDeleter {
  void operator()(void* view) const noexcept { ::UnmapViewOfFile(view); }
};

using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;
// A kernel object that is null on failure (a mutex, a file mapping; not a file).
using UniqueKernelHandle = std::unique_ptr<void, KernelHandleDeleter>;
using UniqueView = std::unique_ptr<void, ViewDeleter>;
using UniqueWinEventHook =
    std::unique_ptr<std::remove_pointer_t<HWINEVENTHOOK>, WinEventHookDeleter>;

}  // namespace lorvane::platform
