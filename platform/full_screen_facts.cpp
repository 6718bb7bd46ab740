#include "platform/full_screen_facts.h"

#include "platform/late_bound.h"

namespace lorvane::platform::full_screen_facts {
namespace {

using QueryState = HRESULT(WINAPI*)(int*);

// Looked up as the program starts, before any thread: built without the guard of function-local
// statics (-fno-threadsafe-statics), a lookup at first use would be safe on one thread only.
// shell32 is loaded already: the tray icon imports it.
const QueryState query = look_up<QueryState>(L"shell32.dll", "SHQueryUserNotificationState");

}  // namespace

DWORD style_of(HWND window) { return static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)); }

FrameFacts frame_facts(HWND window) {
  FrameFacts facts;
  // The monitor follows from the rectangle: one question of the window fewer.
  ::GetWindowRect(window, &facts.window);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (::GetMonitorInfoW(::MonitorFromRect(&facts.window, MONITOR_DEFAULTTONEAREST), &info)) {
    facts.monitor = info.rcMonitor;
  }
  facts.own = ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
  return facts;
}

int user_notification_state() {
  int state = 0;
  if (query == nullptr || FAILED(query(&state))) return 0;
  return state;
}

}  // namespace lorvane::platform::full_screen_facts
