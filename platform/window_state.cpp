#include "platform/window_state.h"

namespace lorvane::platform {

WindowState window_state(HWND window) {
  if (::IsIconic(window)) return WindowState::minimised;
  if (::IsZoomed(window)) return WindowState::maximised;
  return WindowState::normal;
}

void set_window_state(HWND window, WindowState state) {
  if (window_state(window) == state) return;
  switch (state) {
    case WindowState::normal: ::ShowWindow(window, SW_RESTORE); break;
    case WindowState::minimised:
      // Minimising must not pull the focus to another program: it happens at start-up too.
      ::ShowWindow(window, SW_SHOWMINNOACTIVE);
      break;
    case WindowState::maximised: ::ShowWindow(window, SW_MAXIMIZE); break;
  }
}

}  // namespace lorvane::platform
