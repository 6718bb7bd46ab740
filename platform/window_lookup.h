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

// The top-level windows of one class, any title, from the top of the Z-order down: FindWindowEx
// from the window found last, so that the system compares the class atoms and nothing is listed
// that is of another class. The name is converted once, for the whole walk.
class ClassWalk {
 public:
  explicit ClassWalk(const std::wstring& class_name);
  // The next window of the class below the one returned last, or null at the end.
  HWND next();

 private:
  std::string class_name_;
  HWND last_ = nullptr;
  bool ended_ = false;
};

// The process that owns the window, or 0 when it is gone.
DWORD process_of(HWND window);

// Whether two class names name the same class as the lookup sees it: the whole name, without
// regard to case (the system keeps class names as atoms, which ignore case).
bool same_class_name(std::wstring_view a, std::wstring_view b);

// Whether two program file names name the same program: without regard to case, as the file
// system compares names.
bool same_program_name(std::wstring_view a, std::wstring_view b);

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
