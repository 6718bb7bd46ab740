#pragma once
// The program's message loop.
#include <windows.h>

#include "app/main_window.h"

namespace lorvane::app {

// What wakes the wait while raw input is held back: every kind of queue content that Windows 7
// knows, raw input included, since a mouse button in it may not wait. The headers of Windows 8
// and later put QS_TOUCH and QS_POINTER into QS_ALLINPUT, and Windows 7 fails the whole wait on
// a bit it does not know.
inline constexpr UINT held_wake_mask = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE |
                                       QS_TIMER | QS_PAINT | QS_SENDMESSAGE | QS_HOTKEY |
                                       QS_RAWINPUT;
// The bits Windows 7 accepts: QS_ALLINPUT as its headers have it, raw input included.
inline constexpr UINT windows_7_queue_bits = 0x04FF;
static_assert((held_wake_mask & ~windows_7_queue_bits) == 0, "a bit Windows 7 refuses");

// Runs until WM_QUIT and returns its exit code. Tab, Enter and Esc move between and press the
// controls of whichever of our windows has them. While the main window holds raw input back,
// WM_INPUT is not dispatched: what wakes the wait is read in one go and only a mouse button in it
// is acted on at once; once the hold has lasted its time, the main window reads what is left.
int run_message_loop(MainWindow& main_window);

// What the wait of a hold found.
enum class HeldNext {
  message,    // a message but WM_INPUT, to be handled
  raw_input,  // raw input waits, and nothing else: to be read in one go
  quit,       // WM_QUIT
  over,       // the hold's time is up, or the wait woke twice in a row with nothing to take
  failed      // the wait itself failed: the hold ends, and the wait is not to be tried again
};

// The next message but WM_INPUT before the tick count reaches hold_ends; raw input that wakes
// the wait is handed back as such, never taken as a message.
HeldNext next_while_held(MSG& msg, DWORD hold_ends);

}  // namespace lorvane::app
