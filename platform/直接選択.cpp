#include "platform/直接選択.h"

#include "platform/text.h"

namespace 直接選択 {

HWND foreground_window() { return ::GetForegroundWindow(); }

std::wstring class_name(HWND window) {
  char buffer[128] = {};
  ::GetClassNameA(window, buffer, sizeof buffer);
  return lorvane::text::from_ansi_buffer(buffer, sizeof buffer);
}

}  // namespace 直接選択
