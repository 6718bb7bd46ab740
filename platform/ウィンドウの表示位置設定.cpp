#include "platform/ウィンドウの表示位置設定.h"

namespace ウィンドウの表示位置設定 {

void set_window_pos(HWND window, HWND insert_after, UINT flags) {
  if (::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId()) {
    flags |= SWP_ASYNCWINDOWPOS;
  }
  ::SetWindowPos(window, insert_after, 0, 0, 0, 0, flags);
}

}  // namespace ウィンドウの表示位置設定
