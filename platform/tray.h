#pragma once
// The notification-area icon, described to the shell by the first-version (88-byte) record.
#include <windows.h>

#include <shellapi.h>

namespace lorvane::platform::tray {

// The size of NOTIFYICONDATAA as the first shell version knew it.
inline constexpr DWORD record_size = 88;

// The records sent on add and on delete, built afresh with all bytes zero.
NOTIFYICONDATAA add_record(HWND window, HICON icon);
NOTIFYICONDATAA delete_record(HWND window, HICON icon);

// Results are ignored: without a notification area the program runs on without an icon.
void add(HWND window, HICON icon);
void remove(HWND window, HICON icon);

}  // namespace lorvane::platform::tray
