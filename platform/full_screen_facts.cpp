#include "platform/full_screen_facts.h"

#include "platform/shell_windows.h"

namespace lorvane::platform::full_screen_facts {
namespace {

using QueryState = HRESULT(WINAPI*)(int*);

QueryState query_state() {
  // shell32 is loaded already: the tray icon imports it.
  HMODULE shell32 = ::GetModuleHandleW(L"shell32.dll");
  if (shell32 == nullptr) return nullptr;
  return reinterpret_cast<QueryState>(
      reinterpret_cast<void*>(::GetProcAddress(shell32, "SHQueryUserNotificationState")));
}

// Looked up as the program starts, as a plain constant: a function-local static would bring the
// C++ runtime's thread-safe guard, and with it a threads library, into the exe.
const QueryState query = query_state();

}  // namespace

WindowFacts window_facts(HWND window) {
  WindowFacts facts;
  facts.style = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
  ::GetWindowRect(window, &facts.window);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
    facts.monitor = info.rcMonitor;
  }
  facts.shell = shell_windows::is_shell_window(window);
  facts.maximised = ::IsZoomed(window) != FALSE;
  facts.own = ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
  return facts;
}

int user_notification_state() {
  int state = 0;
  if (query == nullptr || FAILED(query(&state))) return 0;
  return state;
}

}  // namespace lorvane::platform::full_screen_facts
