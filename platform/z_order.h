#pragma once
// Z-order moves of other applications' windows: place only, never size or position.
#include <windows.h>

namespace lorvane::platform::z_order {

// SetWindowPos with X, Y, cx and cy all 0; the result is ignored.
//
// SWP_ASYNCWINDOWPOS is added whenever the window belongs to another thread: a window whose
// thread has stopped pumping messages would otherwise block this call, and with it the whole
// program, for as long as it hangs. The flag changes nothing else about the move.
void set_window_pos(HWND window, HWND insert_after, UINT flags);

}  // namespace lorvane::platform::z_order
