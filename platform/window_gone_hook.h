#pragma once
// Hearing that one window of another program stops showing: hidden, minimised or destroyed. The
// hooks are out of context and hear only that window's process (idProcess), so that nothing is
// loaded into other programs and no other program's events (a caret shown and hidden in an editor)
// wake this one. Its events arrive through this thread's message loop.
#include <windows.h>

#include "platform/unique_handles.h"

namespace lorvane::platform {

// While it lives, posts `message` to `main` when `window` is hidden, minimised or destroyed.
// One at a time: a WinEvent callback has no context, so the live one is the one it reaches.
// Windows raises these events for every program. Wine 8 raised none at a hook filtered by process,
// not even for the hooking process's own windows: there the tick asks instead.
class WindowGoneHook {
 public:
  WindowGoneHook(HWND main, UINT message, HWND window);
  ~WindowGoneHook();
  WindowGoneHook(const WindowGoneHook&) = delete;
  WindowGoneHook& operator=(const WindowGoneHook&) = delete;

  HWND window() const { return window_; }
  // An event of the hooks, as the system delivers it: the window, the object and the child.
  void on_event(HWND window, LONG object, LONG child);

 private:
  HWND main_;
  UINT message_;
  HWND window_;
  UniqueWinEventHook hidden_;
  UniqueWinEventHook minimised_;
  UniqueWinEventHook destroyed_;
};

}  // namespace lorvane::platform
