#pragma once
// The program that owns a window, by the path of its executable.
#include <windows.h>

#include <string>
#include <string_view>

namespace lorvane::platform::process_name {

// The full path of the executable whose process owns the window ("C:\Players\player.exe"), or
// empty where it cannot be read: the window is gone, or its process refuses even the limited
// query.
std::wstring image_path_of(HWND window);
// The file name at the end of such a path ("player.exe").
std::wstring file_name_of(std::wstring_view path);
// The file name of the window's program alone.
std::wstring program_of(HWND window);

}  // namespace lorvane::platform::process_name
