#pragma once
// Which window is in front, and its class name.
#include <windows.h>

#include <string>

namespace lorvane::platform::foreground {

// The foreground window, or null.
HWND foreground_window();

// The window's class name through a 128-byte buffer that starts all zero: at most 127 bytes of
// the ANSI code page; the empty text when it cannot be read.
std::wstring class_name(HWND window);

}  // namespace lorvane::platform::foreground
