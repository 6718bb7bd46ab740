#pragma once
// A top-level window's state: normal, minimised or maximised.
#include <windows.h>

namespace lorvane::platform {

enum class WindowState : int { normal = 0, minimised = 1, maximised = 2 };

WindowState window_state(HWND window);

// Changes the state only when it differs, as a window-state property does; a change raises the
// window's size notification, which does whatever follows (a minimised main window hides).
void set_window_state(HWND window, WindowState state);

}  // namespace lorvane::platform
