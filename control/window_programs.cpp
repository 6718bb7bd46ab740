#include "control/window_programs.h"

#include <algorithm>

#include "platform/foreground.h"
#include "platform/shell_windows.h"
#include "platform/window_lookup.h"

namespace lorvane::control {

WindowRecord WindowPrograms::find_out(HWND window) const {
  WindowRecord record;
  record.path = reader_(window);
  record.program = platform::process_name::file_name_of(record.path);
  record.shell = platform::shell_windows::is_shell_window(
      window, platform::foreground::class_name(window), record.path);
  return record;
}

WindowPrograms::Known& WindowPrograms::known_of(HWND window) {
  DWORD process = platform::window_lookup::process_of(window);
  for (Known& known : known_) {
    if (known.window != window) continue;
    // The same handle in another process is another window.
    if (known.process != process) known = {window, process, find_out(window)};
    return known;
  }
  // A new window: those that have closed meanwhile make room first.
  forget_gone();
  known_.push_back({window, process, find_out(window)});
  return known_.back();
}

const WindowRecord& WindowPrograms::record_of(HWND window) { return known_of(window).record; }

void WindowPrograms::mark_pushed(HWND window) { known_of(window).record.pushed = ++pushes_; }

void WindowPrograms::forget_gone() {
  std::erase_if(known_,
                [](const Known& known) { return !platform::window_lookup::exists(known.window); });
}

}  // namespace lorvane::control
