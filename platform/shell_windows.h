#pragma once
// The shell's own windows: the taskbars, the desktop and the shell's pop-ups. They are nobody's
// work and never a window to control: the full-screen rule passes over them, the wizard waits on
// while one of them is in front, and the control cycle never moves one, whatever the list holds.
#include <windows.h>

#include <string_view>

namespace lorvane::platform::shell_windows {

// The desktop window, the shell's window, and a window of one of these classes:
//   Shell_TrayWnd, Shell_SecondaryTrayWnd       the taskbar, on the main and on other monitors
//   Progman, WorkerW                            the desktop and the window behind its icons
//   DV2ControlHost                              the Start menu of Windows 7
//   Windows.UI.Core.CoreWindow                  Start, search and the action centre of 10 and 11
//   TaskSwitcherWnd, MultitaskingViewFrame,
//   XamlExplorerHostIslandWindow                the task switcher (Alt+Tab) of 7, 10 and 11
//   NotifyIconOverflowWindow,
//   TopLevelWindowForOverflowXamlIsland         the notification area's overflow
//   ImmersiveLauncher, ImmersiveSwitchList      the Start screen and the switcher of 8.1
// Compared without regard to case, as the system compares class names. And every window of a
// program under the Windows folder's SystemApps, whatever its class: the shell's hosts of 10 and
// 11 live there (Start, Search, the Action Center, the flyouts, TextInputHost, LockApp).
// WorkerW and Windows.UI.Core.CoreWindow are shared with ordinary programs. A WorkerW is the
// shell's only in the process of the shell's window (or, where there is none, of the taskbar). A
// CoreWindow is the shell's also when its program is explorer.exe (File Explorer's own windows
// belong to explorer.exe too, so no other class of it is); where its program cannot be read, when
// it is of the shell's process. The window decides, never a class name alone. Null is none of
// them.
//
// Given the window's class and the full path of its program (empty where it could not be read),
// as the control cycle's record of the window holds them: it is asked once for each window.
bool is_shell_window(HWND window, std::wstring_view class_name, std::wstring_view program_path);

}  // namespace lorvane::platform::shell_windows
