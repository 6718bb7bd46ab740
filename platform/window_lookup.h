#pragma once
// Looking a top-level window up by its class name.
#include <windows.h>

#include <string>
#include <string_view>

namespace lorvane::platform::window_lookup {

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

// Whether the window's program has stopped answering (IsHungAppWindow: no message taken for
// several seconds). A move queued for such a window waits in its queue until it answers.
bool is_hung(HWND window);

}  // namespace lorvane::platform::window_lookup
