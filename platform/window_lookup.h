#pragma once
// Looking a top-level window up by its class name.
#include <windows.h>

#include <string>
#include <string_view>

namespace lorvane::platform::window_lookup {

// A top-level window of the class, any title, or null.
HWND find_window(const std::wstring& class_name);

// Whether the handle still names a window.
bool exists(HWND window);

// Whether two class names name the same class as the lookup sees it: the whole name, without
// regard to case (the system keeps class names as atoms, which ignore case).
bool same_class_name(std::wstring_view a, std::wstring_view b);

// Whether the window's program has stopped answering (IsHungAppWindow: no message taken for
// several seconds). A move queued for such a window waits in its queue until it answers.
bool is_hung(HWND window);

}  // namespace lorvane::platform::window_lookup
