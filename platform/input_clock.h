#pragma once
// The input clock: the tick count and the time of the user's last keyboard or mouse input.
// The clock is the one seam that tests replace, to stand at any point of the 32-bit tick cycle.
#include <windows.h>

#include <functional>

namespace lorvane::platform {

struct InputClock {
  std::function<DWORD()> tick_count = [] { return ::GetTickCount(); };
  // Fills dwTime; the result is ignored, as the caller relies only on the record.
  std::function<void(LASTINPUTINFO&)> last_input_info = [](LASTINPUTINFO& info) {
    ::GetLastInputInfo(&info);
  };
};

}  // namespace lorvane::platform
