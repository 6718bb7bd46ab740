#pragma once
// Watching for foreground changes: an out-of-context WinEvent hook, so that nothing is loaded
// into other programs, whose events arrive through this thread's message loop.
#include <windows.h>

#include "platform/unique_handles.h"

namespace lorvane::platform {

// While it lives, posts `message` to `window` whenever a foreground or focus event finds a
// foreground window other than the last one it saw. One hook at a time: a WinEvent callback has
// no context, so the live hook is the one the callback reaches.
class ForegroundHook {
 public:
  ForegroundHook(HWND window, UINT message);
  ~ForegroundHook();
  ForegroundHook(const ForegroundHook&) = delete;
  ForegroundHook& operator=(const ForegroundHook&) = delete;

  // What each event does. Focus events come far more often than foreground changes on Windows,
  // and Wine raises only those: the one that finds the foreground window unchanged is dropped.
  void on_event();

 private:
  HWND window_;
  UINT message_;
  HWND last_seen_;
  UniqueWinEventHook foreground_;
  UniqueWinEventHook focus_;
};

}  // namespace lorvane::platform
