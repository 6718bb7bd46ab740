#include "platform/full_screen_facts.h"

namespace lorvane::platform::full_screen_facts {
namespace {

bool has_class(HWND window, const char* name) {
  char buffer[32] = {};
  return ::GetClassNameA(window, buffer, sizeof buffer) > 0 && lstrcmpA(buffer, name) == 0;
}

bool is_shell(HWND window) {
  // The window behind the desktop icons (WorkerW) takes the foreground on some systems when the
  // user clicks the desktop.
  return window == ::GetDesktopWindow() || window == ::GetShellWindow() ||
         has_class(window, "Shell_TrayWnd") || has_class(window, "Progman") ||
         has_class(window, "WorkerW");
}

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
  facts.shell = is_shell(window);
  facts.own = ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
  return facts;
}

int user_notification_state() {
  int state = 0;
  if (query == nullptr || FAILED(query(&state))) return 0;
  return state;
}

}  // namespace lorvane::platform::full_screen_facts
