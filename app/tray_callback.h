#pragma once
// The icon's events arrive as the main window's own mouse-move message, the mouse message that
// happened over the icon standing where the x coordinate would be.
#include <windows.h>

namespace lorvane::app {

// The event code: the x coordinate of the mouse-move message, the low 16 bits of lParam.
constexpr unsigned tray_event_code(LPARAM lparam) {
  return static_cast<unsigned>(static_cast<unsigned long>(lparam) & 0xFFFFu);
}

// Releasing the left or the right button over the icon brings the window back; nothing else does.
constexpr bool is_tray_restore(unsigned code) {
  return code == WM_LBUTTONUP || code == WM_RBUTTONUP;
}

}  // namespace lorvane::app
