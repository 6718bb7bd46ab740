#pragma once
// When the tick after a click comes: late enough that the clicked window's own program has raised
// it, and not a clock tick later than that.
#include <algorithm>
#include <cmath>

namespace lorvane::control {

// The click's tick is aimed this long after the button.
inline constexpr unsigned click_tick_aim_ms = 20;
// The shortest delay a window timer takes (USER_TIMER_MINIMUM).
inline constexpr unsigned shortest_timer_ms = 10;

// The delay to arm the click's timer with, where the system fires timers on a clock tick of this
// period (ms). A timer fires at the first clock tick at or after its delay, so that a 20 ms timer
// on a 15.6 ms clock fires between 20 and 35.6 ms, 28 on average, and about 31 as measured.
// Armed half a period short, it fires between 12.2 and 27.8 ms: on average at the aim, and never
// below the shortest delay. A clock of a millisecond or less is exact enough to aim at directly.
// Windows may also count the delay from the clock's last tick and fire it at the next one, 0 to
// 15.6 ms after the button: the watch arms it once more where its tick came before the clicked
// window was raised (cycle_watch.h).
inline unsigned click_tick_delay_ms(double clock_period_ms) {
  if (!(clock_period_ms > 1.0)) return click_tick_aim_ms;
  double delay = std::round(click_tick_aim_ms - clock_period_ms / 2);
  return std::max(shortest_timer_ms, delay > 0 ? static_cast<unsigned>(delay) : 0u);
}

}  // namespace lorvane::control
