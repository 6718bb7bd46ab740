#include "platform/shell_windows.h"

#include "platform/window_lookup.h"

namespace lorvane::platform::shell_windows {
namespace {

constexpr const wchar_t* shell_classes[] = {
    L"Shell_TrayWnd",
    L"Shell_SecondaryTrayWnd",
    L"Progman",
    L"DV2ControlHost",
    L"TaskSwitcherWnd",
    L"MultitaskingViewFrame",
    L"XamlExplorerHostIslandWindow",
    L"NotifyIconOverflowWindow",
    L"TopLevelWindowForOverflowXamlIsland",
};

// Classes that ordinary programs use too: a window of one of them is the shell's only in the
// shell's own process. Every program's shell view makes WorkerW windows, and every Store app draws
// in a Windows.UI.Core.CoreWindow.
constexpr const wchar_t* shared_classes[] = {
    L"WorkerW",
    L"Windows.UI.Core.CoreWindow",
};

// The shell's process: that of the shell's window, or, where the shell names none (a shell other
// than Explorer, or Wine), that of the taskbar. 0 when neither exists.
DWORD shell_process() {
  HWND shell = ::GetShellWindow();
  if (shell == nullptr) shell = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  if (shell == nullptr) return 0;
  return window_lookup::process_of(shell);
}

bool in_shell_process(HWND window) {
  DWORD shell = shell_process();
  return shell != 0 && window_lookup::process_of(window) == shell;
}

}  // namespace

bool is_shell_window(HWND window) {
  if (window == nullptr) return false;
  // Without a shell running (or under Wine) GetShellWindow answers null, which must not match.
  if (window == ::GetDesktopWindow() || window == ::GetShellWindow()) return true;
  wchar_t name[64] = {};
  int length = ::GetClassNameW(window, name, 64);
  if (length <= 0) return false;
  return is_shell_window(window, {name, static_cast<std::size_t>(length)});
}

bool is_shell_window(HWND window, std::wstring_view class_name) {
  if (window == nullptr) return false;
  if (window == ::GetDesktopWindow() || window == ::GetShellWindow()) return true;
  for (const wchar_t* shared : shared_classes) {
    if (window_lookup::same_class_name(class_name, shared)) return in_shell_process(window);
  }
  for (const wchar_t* shell_class : shell_classes) {
    if (window_lookup::same_class_name(class_name, shell_class)) return true;
  }
  return false;
}

}  // namespace lorvane::platform::shell_windows
