#pragma once
// The program that owns a window, by the file name of its executable.
#include <windows.h>

#include <string>

namespace lorvane::platform::process_name {

// The file name of the executable whose process owns the window ("player.exe"), or empty where
// it cannot be read: the window is gone, or its process refuses even the limited query.
std::wstring program_of(HWND window);

}  // namespace lorvane::platform::process_name
