#pragma once
// Looking a top-level window up by its class name.
#include <windows.h>

#include <string>

namespace lorvane::platform::window_lookup {

// A top-level window of the class, any title, or null.
HWND find_window(const std::wstring& class_name);

// Whether the handle still names a window.
bool exists(HWND window);

}  // namespace lorvane::platform::window_lookup
