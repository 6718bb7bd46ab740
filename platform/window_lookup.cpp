#include "platform/window_lookup.h"

#include "platform/text.h"

namespace lorvane::platform::window_lookup {

bool exists(HWND window) { return ::IsWindow(window) != FALSE; }

ClassWalk::ClassWalk(const std::wstring& class_name) : class_name_(text::to_ansi(class_name)) {}

HWND ClassWalk::next() {
  if (ended_) return nullptr;
  last_ = ::FindWindowExA(nullptr, last_, class_name_.c_str(), nullptr);
  // Null at the end, and when the window found last has closed meanwhile: the walk ends there.
  ended_ = last_ == nullptr;
  return last_;
}

DWORD process_of(HWND window) {
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(window, &process_id);
  return process_id;
}

bool same_class_name(std::wstring_view a, std::wstring_view b) {
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool same_program_name(std::wstring_view a, std::wstring_view b) { return same_class_name(a, b); }

bool is_hung(HWND window) { return ::IsHungAppWindow(window) != FALSE; }

}  // namespace lorvane::platform::window_lookup
