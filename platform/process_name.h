#pragma once
// Which program owns a window: the file name of its process's executable.
#include <windows.h>

#include <string>

namespace lorvane::platform::process_name {

// The file name of the executable whose process owns the window ("player.exe"), or the empty
// text when it cannot be read: the window is gone, or its process refuses even the limited query.
std::wstring program_of(HWND window);

}  // namespace lorvane::platform::process_name
