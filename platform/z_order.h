#pragma once
// Z-order moves of other applications' windows: place only, never size or position.
#include <windows.h>

#include <functional>

namespace lorvane::platform::z_order {

// What became of a move: made (or handed to the window's thread), or refused with the system's
// error code. ERROR_ACCESS_DENIED: the window belongs to a program that runs as administrator.
struct MoveResult {
  bool moved = false;
  DWORD error = ERROR_SUCCESS;
  // The window's program could not be read (another user's, or one that denies others access to
  // its process): the move was queued as any other, and only the window's place afterwards tells
  // whether it took. With ERROR_ACCESS_DENIED: such moves never took.
  bool unconfirmed = false;
};

// SetWindowPos with X, Y, cx and cy all 0.
//
// SWP_ASYNCWINDOWPOS is added whenever the window belongs to another thread: a window whose
// thread has stopped pumping messages would otherwise block this call, and with it the whole
// program, for as long as it hangs. The flag changes nothing else about the move.
//
// An unelevated program may not move the windows of a program at a higher integrity level (one
// started as administrator). A queued move would report success and then come to nothing, so
// such a window is recognised before anything is queued, from the integrity levels of the two
// processes, and answered with ERROR_ACCESS_DENIED. A process that cannot be opened at all may
// still be at our level: its windows are moved, and the result says it is unconfirmed.
MoveResult set_window_pos(HWND window, HWND insert_after, UINT flags);

// The top-level window directly below the window in the Z-order, hidden ones included; null for
// the last. On Windows the last is the shell's desktop, which HWND_BOTTOM never passes.
HWND next_below(HWND window);
// The top-level window directly above the window, hidden ones included; null for the first.
HWND next_above(HWND window);
// Whether `window` lies anywhere below `other` in the Z-order.
bool lies_below(HWND window, HWND other);
// Whether the window is in the topmost band at all.
bool is_topmost(HWND window);

// set_window_pos that remembers the integrity check of the last window it moved: the idle raise
// moves the same window every second, and the check costs several calls into the kernel (about
// 0.2 ms under Wine). A window's program keeps its process and its level for the window's life.
class RememberingMover {
 public:
  MoveResult operator()(HWND window, HWND insert_after, UINT flags);

 private:
  HWND checked_window_ = nullptr;
  DWORD checked_process_ = 0;
  int checked_rights_ = 0;
};

}  // namespace lorvane::platform::z_order

namespace lorvane::platform {

// The Z-order moves of the control cycle and the wizard. Like the input clock, a seam that tests
// replace: Wine runs every program at one integrity level, so only a replaced move can refuse.
struct WindowMover {
  std::function<z_order::MoveResult(HWND, HWND, UINT)> set_window_pos = z_order::RememberingMover{};
};

}  // namespace lorvane::platform
