#pragma once
// Looking a top-level window up by its class name.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace lorvane::platform::window_lookup {

// A top-level window of the class, any title, or null.
HWND find_window(const std::wstring& class_name);

// Whether the handle still names a window.
bool exists(HWND window);

// Whether two class names name the same class as the lookup sees it: the whole name, without
// regard to case (the system keeps class names as atoms, which ignore case).
bool same_class_name(std::wstring_view a, std::wstring_view b);

// The top-level windows of the class, shown or not, from the top of the Z-order down.
std::vector<HWND> windows_of_class(const std::wstring& class_name);

// Whether the user can see the window: shown and not minimised, owned by no other window (menus,
// tooltips), its rectangle not empty and on a monitor (not parked off screen), and not cloaked
// (on another virtual desktop, or a suspended Store app).
bool seen_by_user(HWND window);

// Whether the window's program has stopped answering (IsHungAppWindow: no message taken for
// several seconds). A move queued for such a window waits in its queue until it answers.
bool is_hung(HWND window);

}  // namespace lorvane::platform::window_lookup
