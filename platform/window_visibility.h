#pragma once
// Whether the user can see a top-level window: the idle raise is for a window that shows, not
// for a hidden or minimised one of the same class, a menu, or one parked off screen.
#include <windows.h>

#include <functional>

namespace lorvane::platform::window_visibility {

// Shown (WS_VISIBLE, which for a top-level window is IsWindowVisible) and not minimised; without an
// owner the user can see (menus, tooltips and a program's dialogs and palettes have a shown one;
// the main window of a program made with a classic framework is owned by an application window
// that is hidden or of no size); and with a rectangle that is not empty and meets a monitor.
bool on_screen(HWND window);
// Only the first part: shown and not minimised.
bool shown(HWND window);
// Whether the user cannot see the window at all: hidden, minimised or of no size. Where it is
// found from does not count.
bool unseen(HWND window);
// The window at the root of the window's chain of owners (GW_OWNER, followed), or the window
// itself when it has no owner. Windows keeps an owned window above its owner.
HWND root_owner(HWND window);
// Whether `owner` is among the window's owners, followed as root_owner follows them.
bool owned_by(HWND window, HWND owner);
// Whether the window has an owner and the tool window style (WS_EX_TOOLWINDOW): a program's
// palette, playlist or other tool form, without a taskbar button of its own.
bool owned_tool_window(HWND window);

// Whether the desktop window manager hides the window (DWMWA_CLOAKED): on another virtual desktop,
// or a Store app that is suspended. DwmGetWindowAttribute is looked up at run time, and dwmapi
// loaded on the first question; where the function is missing or the call fails (Windows 7, DWM
// off) the window is not cloaked.
bool cloaked(HWND window);

}  // namespace lorvane::platform::window_visibility

namespace lorvane::platform {

// Cloaking as the control cycle asks it. Like the input clock, a seam that tests replace: Wine
// cloaks no window, so only a replaced question can answer yes.
struct Cloaking {
  std::function<bool(HWND)> cloaked = window_visibility::cloaked;
};

}  // namespace lorvane::platform
