#pragma once
// What tells full-screen work apart: the foreground window's frame and place on its monitor, and
// what the shell says of the user's state.
#include <windows.h>

namespace lorvane::platform::full_screen_facts {

// The window's style: its frame, and whether it is maximised (WS_MAXIMIZE).
DWORD style_of(HWND window);

// Where the window lies and whose it is, each asked once.
struct FrameFacts {
  RECT window{};   // the window rectangle, in screen pixels
  RECT monitor{};  // the whole rectangle of its monitor (rcMonitor), not the work area
  // A window of this program. All of its windows belong to its one thread.
  bool own = false;
};

FrameFacts frame_facts(HWND window);

// SHQueryUserNotificationState, looked up at run time (the exe must load where the shell lacks
// it): a QUERY_USER_NOTIFICATION_STATE value, or 0 when the shell cannot say.
int user_notification_state();

}  // namespace lorvane::platform::full_screen_facts
