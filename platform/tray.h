#pragma once
// The notification-area icon, described to the shell by the first-version (88-byte) record.
#include <windows.h>

#include <shellapi.h>

#include <functional>

namespace lorvane::platform::tray {

// The icon's events arrive as the window's own mouse-move message.
inline constexpr UINT callback_message = WM_MOUSEMOVE;

// The size of NOTIFYICONDATAA as the first shell version knew it.
inline constexpr DWORD record_size = 88;

// The records sent on add and on delete, built afresh with all bytes zero.
NOTIFYICONDATAA add_record(HWND window, HICON icon);
NOTIFYICONDATAA delete_record(HWND window, HICON icon);

// The shell's answer to one message about the icon: true when it took it. A shell that is still
// starting at a slow logon refuses, which Wine's notification area never does: tests put a shell
// that refuses in place of this one.
using Shell = std::function<bool(DWORD message, NOTIFYICONDATAA& record)>;
bool shell_notify(DWORD message, NOTIFYICONDATAA& record);

// True when the shell now holds the icon.
bool add(HWND window, HICON icon, const Shell& shell = shell_notify);
// After a refused add, the icon may have arrived all the same (an add that timed out on a busy
// shell): a modification first, and an add only when there is nothing to modify.
bool add_again(HWND window, HICON icon, const Shell& shell = shell_notify);
void remove(HWND window, HICON icon, const Shell& shell = shell_notify);

}  // namespace lorvane::platform::tray
