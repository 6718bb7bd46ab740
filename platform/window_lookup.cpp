#include "platform/window_lookup.h"

#include "platform/text.h"

namespace lorvane::platform::window_lookup {

HWND find_window(const std::wstring& class_name) {
  return ::FindWindowA(text::to_ansi(class_name).c_str(), nullptr);
}

bool exists(HWND window) { return ::IsWindow(window) != FALSE; }

}  // namespace lorvane::platform::window_lookup
