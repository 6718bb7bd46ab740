#include "platform/full_screen_facts.h"

#include "platform/late_bound.h"
#include "platform/shell_windows.h"

namespace lorvane::platform::full_screen_facts {
namespace {

using QueryState = HRESULT(WINAPI*)(int*);

// Looked up as the program starts, before any thread: built without the guard of function-local
// statics (-fno-threadsafe-statics), a lookup at first use would be safe on one thread only.
// shell32 is loaded already: the tray icon imports it.
const QueryState query = look_up<QueryState>(L"shell32.dll", "SHQueryUserNotificationState");

}  // namespace

WindowFacts window_facts(HWND window) {
  WindowFacts facts;
  // Each fact of the window is asked once: the maximised state is in the style, and the monitor
  // follows from the rectangle (the tick asks this every second while the user is away).
  facts.style = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
  ::GetWindowRect(window, &facts.window);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (::GetMonitorInfoW(::MonitorFromRect(&facts.window, MONITOR_DEFAULTTONEAREST), &info)) {
    facts.monitor = info.rcMonitor;
  }
  facts.shell = shell_windows::is_shell_window(window);
  facts.maximised = (facts.style & WS_MAXIMIZE) != 0;
  facts.own = ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
  return facts;
}

int user_notification_state() {
  int state = 0;
  if (query == nullptr || FAILED(query(&state))) return 0;
  return state;
}

}  // namespace lorvane::platform::full_screen_facts
