#include "platform/z_order.h"

namespace lorvane::platform::z_order {

void set_window_pos(HWND window, HWND insert_after, UINT flags) {
  if (::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId()) {
    flags |= SWP_ASYNCWINDOWPOS;
  }
  ::SetWindowPos(window, insert_after, 0, 0, 0, 0, flags);
}

}  // namespace lorvane::platform::z_order
