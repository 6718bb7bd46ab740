#include "control/window_programs.h"

#include <algorithm>

#include "platform/window_lookup.h"

namespace lorvane::control {

const std::wstring& WindowPrograms::program_of(HWND window) {
  DWORD process = platform::window_lookup::process_of(window);
  for (Known& known : known_) {
    if (known.window != window) continue;
    // The same handle in another process is another window.
    if (known.process != process) known = {window, process, reader_(window)};
    return known.program;
  }
  // A new window: those that have closed meanwhile make room first.
  forget_gone();
  known_.push_back({window, process, reader_(window)});
  return known_.back().program;
}

void WindowPrograms::forget_gone() {
  std::erase_if(known_,
                [](const Known& known) { return !platform::window_lookup::exists(known.window); });
}

}  // namespace lorvane::control
