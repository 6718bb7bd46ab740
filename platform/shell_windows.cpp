#include "platform/shell_windows.h"

#include <string>

#include "platform/process_name.h"
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
    L"ImmersiveLauncher",
    L"ImmersiveSwitchList",
};

// Every program's shell view makes WorkerW windows: one is the shell's only in the shell's own
// process.
constexpr std::wstring_view worker_class = L"WorkerW";
// Every Store app draws in a CoreWindow; so do the shell's pop-ups of 10 and 11, from programs of
// their own under the Windows folder's SystemApps, and Explorer's.
constexpr std::wstring_view core_window_class = L"Windows.UI.Core.CoreWindow";

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

// The Windows folder's SystemApps, with its closing backslash: the system's own, not a user's
// copy of Windows (GetWindowsDirectory names a private folder in a terminal server session).
std::wstring system_apps_folder() {
  wchar_t folder[MAX_PATH];
  UINT length = ::GetSystemWindowsDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring path(folder, length);
  if (path.back() != L'\\') path += L'\\';
  return path + L"SystemApps\\";
}

bool under_folder(std::wstring_view path, std::wstring_view folder) {
  return !folder.empty() && path.size() > folder.size() &&
         window_lookup::same_program_name(path.substr(0, folder.size()), folder);
}

// A CoreWindow is the shell's when its program is Explorer; the system's apps are the shell's
// whatever their class.
bool shell_core_window(HWND window, std::wstring_view program_path) {
  if (program_path.empty()) return in_shell_process(window);
  return window_lookup::same_program_name(process_name::file_name_of(program_path),
                                          L"explorer.exe");
}

}  // namespace

bool is_shell_window(HWND window, std::wstring_view class_name, std::wstring_view program_path) {
  if (window == nullptr) return false;
  // Without a shell running (or under Wine) GetShellWindow answers null, which must not match.
  if (window == ::GetDesktopWindow() || window == ::GetShellWindow()) return true;
  if (under_folder(program_path, system_apps_folder())) return true;
  if (window_lookup::same_class_name(class_name, worker_class)) return in_shell_process(window);
  if (window_lookup::same_class_name(class_name, core_window_class)) {
    return shell_core_window(window, program_path);
  }
  for (const wchar_t* shell_class : shell_classes) {
    if (window_lookup::same_class_name(class_name, shell_class)) return true;
  }
  return false;
}

}  // namespace lorvane::platform::shell_windows
