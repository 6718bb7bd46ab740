#include "platform/window_lookup.h"

#include "platform/text.h"

namespace lorvane::platform::window_lookup {

HWND find_window(const std::wstring& class_name) {
  return ::FindWindowA(text::to_ansi(class_name).c_str(), nullptr);
}

bool exists(HWND window) { return ::IsWindow(window) != FALSE; }

bool same_class_name(std::wstring_view a, std::wstring_view b) {
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool is_hung(HWND window) { return ::IsHungAppWindow(window) != FALSE; }

}  // namespace lorvane::platform::window_lookup
