#pragma once
// A window is an object: `this` is bound at WM_NCCREATE, so no message reaches the window before
// its object, and every message goes to Derived::handle_message. What every window of the program
// does alike lives here too: its class, its place at the start, and a change of resolution.
#include <windows.h>

#include "platform/dpi.h"

namespace lorvane::app {

template <class Derived>
class WindowBase {
 public:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  ~WindowBase() { destroy_unheard(); }

  HWND hwnd() const { return window_; }

 protected:
  // Registers Derived::class_name with the arrow cursor and the dialog face; a class that a
  // window made earlier in the run registered already is taken as it is.
  static bool register_class(HINSTANCE instance, HICON large = nullptr, HICON small = nullptr) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &window_proc;
    wc.hInstance = instance;
    wc.hIcon = large;
    wc.hIconSm = small;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = Derived::class_name;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }

  // The top-left corner of a window of this outer size centred in the monitor's work area.
  static POINT centred_in_work_area(HMONITOR monitor, SIZE size) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(monitor, &info);
    const RECT& area = info.rcWork;
    return {area.left + (area.right - area.left - size.cx) / 2,
            area.top + (area.bottom - area.top - size.cy) / 2};
  }

  // WM_DPICHANGED: where the window cannot ask for its resolution (Windows 8.1, 10 before 1607),
  // the message's is its own from now on; and the window takes the rectangle the system
  // suggests for it. The window's fonts and layout are its own to follow.
  void take_new_dpi(platform::Dpi& dpi, WPARAM wparam, LPARAM lparam) {
    dpi.moved_to(LOWORD(wparam));
    const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
    ::SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Ends the window without its own handling: from here on its messages reach no object. Each
  // window type calls it first in its destructor, while what the window's messages and painting
  // use (fonts, pictures, timers) still exists; by the time this base ends, the members are gone.
  void destroy_unheard() {
    if (window_ == nullptr) return;
    HWND window = window_;
    window_ = nullptr;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    ::DestroyWindow(window);
  }

  static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam,
                                      LPARAM lparam) noexcept {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
      self = static_cast<Derived*>(create->lpCreateParams);
      self->window_ = window;
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (self == nullptr) return ::DefWindowProcW(window, message, wparam, lparam);
    LRESULT result = self->handle_message(message, wparam, lparam);
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->window_ = nullptr;
    }
    return result;
  }

  HWND window_ = nullptr;
};

}  // namespace lorvane::app
