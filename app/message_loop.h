#pragma once
// The program's message loop.
#include <windows.h>

#include <functional>

#include "control/raw_input_hold.h"

namespace lorvane::app {

// What wakes the wait while raw input is held back: every kind of queue content that Windows 7
// knows but raw input. The headers of Windows 8 and later put QS_TOUCH and QS_POINTER into
// QS_ALLINPUT, and Windows 7 fails the whole wait on a bit it does not know.
inline constexpr UINT held_wake_mask = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE |
                                       QS_TIMER | QS_PAINT | QS_SENDMESSAGE | QS_HOTKEY;
// The bits Windows 7 accepts: QS_ALLINPUT as its headers have it, raw input included.
inline constexpr UINT windows_7_queue_bits = 0x04FF;
static_assert((held_wake_mask & ~windows_7_queue_bits) == 0, "a bit Windows 7 refuses");
static_assert((held_wake_mask & QS_RAWINPUT) == 0, "raw input would end the hold");

// Called each time a wait of the loop returns, whatever it brought: the program's wake-ups as
// Windows counts them, at most (a wait that finds its message already there has not slept). The
// program passes none; the bench, which runs this loop with the real main window, counts them.
using WaitReturned = std::function<void()>;

// Runs until WM_QUIT and returns its exit code. Tab, Enter and Esc move between and press the
// controls of whichever of our windows has them. While the hold keeps raw input back, WM_INPUT
// stays in the queue and does not wake the program; once the hold is over, the hold reads it all
// in one go. Without a hold (no main window), every message comes as it arrives.
int run_message_loop(control::RawInputHold* hold, const WaitReturned& returned = nullptr);

// What the wait of a hold found.
enum class HeldNext {
  message,  // a message but WM_INPUT, to be handled
  quit,     // WM_QUIT
  over,     // the hold's time is up, or the wait woke twice in a row with nothing to take
  failed    // the wait itself failed: the hold ends, and the wait is not to be tried again
};

// The next message but WM_INPUT before the hold's time is up, without waking for raw input.
HeldNext next_while_held(MSG& msg, control::RawInputHold& hold,
                         const WaitReturned& returned = nullptr);

}  // namespace lorvane::app
