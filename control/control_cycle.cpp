#include "control/control_cycle.h"

#include "control/idle.h"
#include "platform/decimal.h"
#include "platform/window_state.h"
#include "platform/ウィンドウの表示位置設定.h"
#include "platform/ウィンドウハンドル取得.h"
#include "platform/直接選択.h"

namespace lorvane::control {
namespace {

constexpr UINT place_only = SWP_NOSIZE | SWP_NOMOVE;

// The raise activates the window on purpose: it becomes the foreground window, so the first
// tick after the user is back pushes it down again.
void idle_raise(HWND window) {
  ウィンドウの表示位置設定::set_window_pos(window, HWND_TOPMOST, place_only);
}

// The pushed window is always the foreground window already, which Windows never activates
// again; Wine 8 does, and activating turns the move to the bottom into a move to the top.
// SWP_NOACTIVATE keeps the push a push on both.
void bottom_push(HWND window) {
  ウィンドウの表示位置設定::set_window_pos(window, HWND_BOTTOM, place_only | SWP_NOACTIVATE);
}

}  // namespace

void start_stop(MainControls& c) {
  if (c.target_list.count() == 0) {
    c.front_display_option.set_caption(std::wstring(first_use_hint));
    c.control_timer.set_enabled(false);
    set_window_state(c.main, WindowState::normal);
    return;
  }
  c.control_timer.set_interval(control_interval_ms);
  if (c.start_stop_button.caption() == caption_start) {
    c.start_stop_button.set_caption(std::wstring(caption_controlling));
    c.control_timer.set_enabled(true);
    set_window_state(c.main, WindowState::minimised);
  } else {
    c.start_stop_button.set_caption(std::wstring(caption_start));
    c.control_timer.set_enabled(false);
    set_window_state(c.main, WindowState::normal);
  }
}

void control_tick(MainControls& c) {
  HWND fg = 直接選択::foreground_window();
  // Zeroed once per tick: a failed query leaves the last good reading of this tick, or 0,
  // which makes the user count as idle.
  LASTINPUTINFO info{};
  int n = c.target_list.count();
  for (int i = 0; i < n; ++i) {
    HWND w = ウィンドウハンドル取得::find_window(c.target_list.item(i));
    if (w == nullptr) continue;
    bool active = true;
    if (!c.front_display_option.ticked()) {
      std::int32_t threshold = parse_decimal(c.idle_threshold_box.text()).value_or(0);
      info.cbSize = sizeof info;
      DWORD now = c.clock.tick_count();
      c.clock.last_input_info(info);
      active = !is_idle(now, info.dwTime, threshold);
    }
    if (!active) {
      idle_raise(w);
      return;
    }
    if (w != c.main && w == fg) bottom_push(w);
  }
}

}  // namespace lorvane::control
