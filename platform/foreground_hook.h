#pragma once
// Watching for foreground changes: an out-of-context WinEvent hook, so that nothing is loaded
// into other programs, whose events arrive through this thread's message loop.
#include <windows.h>

#include "platform/unique_handles.h"

namespace lorvane::platform {

// While it lives, posts `message` to `window` whenever an event finds a foreground window other
// than the last one it saw, this program's own windows included: a registered window brought
// back to the front after the main window is a change too. One hook at a time: a WinEvent
// callback has no context, so the live hook is the one the callback reaches.
//
// The foreground event is hooked for the hook's whole life. Focus events come from every
// control of every program on Windows, where the foreground event is the one that counts: they
// are hooked only until the first foreground event arrives. Wine never raises that event, so
// there focus events are what it hears.
class ForegroundHook {
 public:
  ForegroundHook(HWND window, UINT message);
  ~ForegroundHook();
  ForegroundHook(const ForegroundHook&) = delete;
  ForegroundHook& operator=(const ForegroundHook&) = delete;

  // What each event does: EVENT_SYSTEM_FOREGROUND or EVENT_OBJECT_FOCUS.
  void on_event(DWORD event);

 private:
  HWND window_;
  UINT message_;
  HWND last_seen_;
  UniqueWinEventHook foreground_;
  UniqueWinEventHook focus_;
};

}  // namespace lorvane::platform
