#include "platform/shell_windows.h"

#include "platform/window_lookup.h"

namespace lorvane::platform::shell_windows {
namespace {

constexpr const wchar_t* shell_classes[] = {
    L"Shell_TrayWnd",
    L"Shell_SecondaryTrayWnd",
    L"Progman",
    L"WorkerW",
    L"DV2ControlHost",
    L"Windows.UI.Core.CoreWindow",
    L"TaskSwitcherWnd",
    L"MultitaskingViewFrame",
    L"XamlExplorerHostIslandWindow",
    L"NotifyIconOverflowWindow",
    L"TopLevelWindowForOverflowXamlIsland",
};

}  // namespace

bool is_shell_window(HWND window) {
  if (window == nullptr) return false;
  // Without a shell running (or under Wine) GetShellWindow answers null, which must not match.
  if (window == ::GetDesktopWindow() || window == ::GetShellWindow()) return true;
  wchar_t name[64] = {};
  int length = ::GetClassNameW(window, name, 64);
  if (length <= 0) return false;
  for (const wchar_t* shell_class : shell_classes) {
    if (window_lookup::same_class_name({name, static_cast<std::size_t>(length)}, shell_class)) {
      return true;
    }
  }
  return false;
}

}  // namespace lorvane::platform::shell_windows
