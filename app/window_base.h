#pragma once
// A window is an object: `this` is bound at WM_NCCREATE, so no message reaches the window before
// its object, and every message goes to Derived::handle_message.
#include <windows.h>

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
