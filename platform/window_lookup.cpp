#include "platform/window_lookup.h"

#include "platform/text.h"

namespace lorvane::platform::window_lookup {

HWND find_window(const std::wstring& class_name) {
  return ::FindWindowA(text::to_ansi(class_name).c_str(), nullptr);
}

bool exists(HWND window) { return ::IsWindow(window) != FALSE; }

bool same_class_name(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool is_hung(HWND window) { return ::IsHungAppWindow(window) != FALSE; }

}  // namespace lorvane::platform::window_lookup
