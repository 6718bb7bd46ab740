#pragma once
// What the control cycle keeps between its ticks so that it reacts at once: the hook on
// foreground changes, the short poll, and the window that the idle raise put topmost.
#include <windows.h>

#include <optional>

#include "platform/controls.h"
#include "platform/foreground_hook.h"

namespace lorvane::control {

// Posted to the main window by the hook when the foreground window has changed.
inline constexpr UINT foreground_changed_message = WM_APP + 1;
// The short poll while a registered window is in front and the user works: often enough that a
// window clicked to the front goes back within 100 ms.
inline constexpr unsigned watch_interval_ms = 30;
// While a registered window stays in front with nobody at the machine: each poll costs a
// wake-up, but the first click on it must still send it back within 100 ms.
inline constexpr unsigned quiet_watch_interval_ms = 80;
// While only a raised window waits for the user, who is away for minutes or hours: each poll
// costs a wake-up, and half this interval is the typical wait from the user's return.
inline constexpr unsigned raised_watch_interval_ms = 150;
// Polls without input after which the fast poll slows down: the idle threshold's worth.
inline constexpr unsigned quiet_polls_before_slowing = 5000 / watch_interval_ms;

struct CycleWatch {
  explicit CycleWatch(platform::Timer& poll) : poll_timer(poll) {}

  // Runs only while a registered window is the foreground window, or a raised window waits for
  // the user to come back: with neither, nothing runs between ticks.
  platform::Timer& poll_timer;
  // Present exactly while control runs.
  std::optional<platform::ForegroundHook> hook;
  // Put in the topmost band by the idle raise, until the user's first input moves it down.
  HWND raised = nullptr;
  // The last input time at the poll before; input since then is a change of it.
  DWORD input_seen = 0;
  // A click is input before its window comes to the front: the poll after the one that saw the
  // input ticks once more, in case the window rose after the first tick.
  bool tick_again = false;
  // Polls in a row that saw no input.
  unsigned quiet_polls = 0;
};

}  // namespace lorvane::control
