#include "platform/foreground.h"

#include "platform/text.h"

namespace lorvane::platform::foreground {

HWND foreground_window() { return ::GetForegroundWindow(); }

std::wstring class_name(HWND window) {
  char buffer[128] = {};
  ::GetClassNameA(window, buffer, sizeof buffer);
  return text::from_ansi_buffer(buffer, sizeof buffer);
}

}  // namespace lorvane::platform::foreground
