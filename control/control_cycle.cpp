#include "control/control_cycle.h"

#include <optional>

#include "control/full_screen.h"
#include "control/idle.h"
#include "platform/decimal.h"
#include "platform/foreground.h"
#include "platform/full_screen_facts.h"
#include "platform/window_lookup.h"
#include "platform/window_state.h"
#include "platform/z_order.h"

namespace lorvane::control {
namespace {

constexpr UINT place_only = SWP_NOSIZE | SWP_NOMOVE;

// The raise leaves the keyboard with the user's window: activating the player would send the
// first keys after the user's return to an invisible window (space pauses it) and break an IME
// composition. The return watch takes the window down whether or not it is in front.
platform::z_order::MoveResult idle_raise(const MainControls& c, HWND window) {
  return c.mover.set_window_pos(window, HWND_TOPMOST, place_only | SWP_NOACTIVATE);
}

// The pushed window is always the foreground window already, which Windows never activates
// again; Wine 8 does, and activating turns the move to the bottom into a move to the top.
// SWP_NOACTIVATE keeps the push a push on both. The move to the bottom also takes a raised
// window out of the topmost band.
platform::z_order::MoveResult bottom_push(const MainControls& c, HWND window) {
  return c.mover.set_window_pos(window, HWND_BOTTOM, place_only | SWP_NOACTIVATE);
}

// Whether the move was made. A window of a program running as administrator refuses it: the
// status line says so, once for each class until control stops, and the window counts as
// neither pushed nor raised, so that nothing waits or polls for it.
bool moved(MainControls& c, const std::wstring& class_name, platform::z_order::MoveResult move) {
  if (move.error == ERROR_ACCESS_DENIED && c.unmovable.first_time(class_name)) {
    c.front_display_option.set_caption(unmovable_text(class_name));
  }
  return move.moved;
}

struct TickResult {
  HWND raised = nullptr;
  HWND pushed = nullptr;
};

TickResult run_tick(MainControls& c) {
  TickResult result;
  HWND fg = platform::foreground::foreground_window();
  // Zeroed once per tick: a failed query leaves the last good reading of this tick, or 0,
  // which makes the user count as idle.
  LASTINPUTINFO info{};
  // Asked at most once a tick, and only once the user counts as idle.
  std::optional<bool> full_screen;
  int n = c.target_list.count();
  for (int i = 0; i < n; ++i) {
    std::wstring name = c.target_list.item(i);
    HWND w = platform::window_lookup::find_window(name);
    if (w == nullptr) continue;
    bool active = true;
    if (!c.front_display_option.ticked()) {
      std::int32_t threshold = platform::parse_decimal(c.idle_threshold_box.text()).value_or(0);
      info.cbSize = sizeof info;
      DWORD now = c.clock.tick_count();
      c.clock.last_input_info(info);
      active = !is_idle(now, info.dwTime, threshold);
      // Someone watching a film or giving a presentation touches nothing, and is not away.
      if (!active) {
        if (!full_screen) full_screen = full_screen_work(c, fg);
        active = *full_screen;
      }
    }
    if (!active) {
      // A program that does not answer would collect a queued raise on every tick. Nor does the
      // next target take its place: once this one answered again it would take the raise back,
      // and the other would be left topmost over the user's work.
      if (platform::window_lookup::is_hung(w)) return result;
      if (moved(c, name, idle_raise(c, w))) {
        result.raised = w;
        return result;
      }
      // It cannot be moved at all: the next live target is raised instead, as if this one had no
      // window.
      continue;
    }
    if (w != c.main && w == fg && !platform::window_lookup::is_hung(w) &&
        moved(c, name, bottom_push(c, w))) {
      result.pushed = w;
    }
  }
  return result;
}

DWORD last_input(const MainControls& c) {
  LASTINPUTINFO info{};
  info.cbSize = sizeof info;
  c.clock.last_input_info(info);
  return info.dwTime;
}

// The poll runs only while it has something to watch for: a registered window in front (which
// a click raises without a focus change), or a raised window waiting for the user.
void update_poll(MainControls& c, bool target_in_front) {
  CycleWatch& watch = c.watch;
  if (watch.raised != nullptr && !platform::window_lookup::exists(watch.raised)) {
    watch.raised = nullptr;
  }
  bool wanted = watch.hook.has_value() && (watch.raised != nullptr || target_in_front);
  if (!wanted) {
    watch.poll_timer.set_enabled(false);
    return;
  }
  if (!watch.poll_timer.enabled()) {
    // Input from here on is what the poll looks for.
    watch.input_seen = last_input(c);
    watch.tick_again = false;
    watch.quiet_polls = 0;
  }
  bool user_near = watch.quiet_polls < quiet_polls_before_slowing;
  unsigned interval = !target_in_front ? raised_watch_interval_ms
                      : user_near      ? watch_interval_ms
                                       : quiet_watch_interval_ms;
  // A new interval restarts the timer: set only when it changes.
  if (watch.poll_timer.interval() != interval) watch.poll_timer.set_interval(interval);
  watch.poll_timer.set_enabled(true);
}

// As the class lookup finds windows: the whole name, case aside. A player registered as
// "lvplayer" and found through it is the same player when its class reads "LvPlayer".
bool has_registered_class(const MainControls& c, HWND window) {
  std::wstring name = platform::foreground::class_name(window);
  if (name.empty()) return false;
  int n = c.target_list.count();
  for (int i = 0; i < n; ++i) {
    if (platform::window_lookup::same_class_name(name, c.target_list.item(i))) return true;
  }
  return false;
}

ScreenRect screen_rect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void start_watch(MainControls& c) { c.watch.hook.emplace(c.main, foreground_changed_message); }

}  // namespace

void start_stop(MainControls& c) {
  // A program that ran as administrator may have ended meanwhile: each run says it afresh.
  c.unmovable.clear();
  if (c.target_list.count() == 0) {
    c.front_display_option.set_caption(std::wstring(first_use_hint));
    c.control_timer.set_enabled(false);
    stop_watch(c);
    platform::set_window_state(c.main, platform::WindowState::normal);
    return;
  }
  c.control_timer.set_interval(control_interval_ms);
  if (c.start_stop_button.caption() == caption_start) {
    c.start_stop_button.set_caption(std::wstring(caption_controlling));
    c.control_timer.set_enabled(true);
    platform::set_window_state(c.main, platform::WindowState::minimised);
    // Hooked once the main window has gone to the tray: its own leaving is no foreground change.
    start_watch(c);
  } else {
    c.start_stop_button.set_caption(std::wstring(caption_start));
    c.control_timer.set_enabled(false);
    stop_watch(c);
    platform::set_window_state(c.main, platform::WindowState::normal);
  }
}

void control_tick(MainControls& c) {
  TickResult result = run_tick(c);
  CycleWatch& watch = c.watch;
  if (!watch.hook) return;  // control is not running: nothing to watch between ticks
  if (result.raised != nullptr) {
    // The main window is never moved to the bottom, not even when the user comes back.
    watch.raised = result.raised != c.main ? result.raised : nullptr;
  } else if (result.pushed != nullptr && result.pushed == watch.raised) {
    watch.raised = nullptr;  // down already
  }
  update_poll(c, result.pushed != nullptr);
}

void foreground_changed(MainControls& c) {
  // Posted before Stop, handled after it: control no longer runs.
  if (!c.watch.hook) return;
  control_tick(c);
  // The window's activation may still be under way and raise it once more after the push: the
  // poll that now runs, as a target is in front, ticks once more.
  c.watch.tick_again = c.watch.poll_timer.enabled();
}

void watch_poll(MainControls& c) {
  CycleWatch& watch = c.watch;
  if (!watch.hook) return;
  DWORD input = last_input(c);
  bool new_input = input != watch.input_seen;
  watch.input_seen = input;
  if (new_input && watch.raised != nullptr) {
    // The user is back: out of the topmost band at once, in front or not.
    if (platform::window_lookup::exists(watch.raised)) bottom_push(c, watch.raised);
    watch.raised = nullptr;
  }
  watch.quiet_polls = new_input ? 0 : watch.quiet_polls + 1;
  if (new_input || watch.tick_again) {
    watch.tick_again = new_input;
    control_tick(c);
  } else if (watch.raised != nullptr && !platform::window_lookup::exists(watch.raised)) {
    // Gone: nothing left to move down. Whether a registered window is in front, the next tick
    // says, and it stops the poll when none is.
    watch.raised = nullptr;
  } else if (watch.quiet_polls == quiet_polls_before_slowing &&
             watch.poll_timer.interval() == watch_interval_ms) {
    // Nobody has touched anything for a while: the first click may wait for the slower poll.
    watch.poll_timer.set_interval(quiet_watch_interval_ms);
  }
}

void stop_watch(MainControls& c) {
  CycleWatch& watch = c.watch;
  watch.hook.reset();
  watch.poll_timer.set_enabled(false);
  watch.raised = nullptr;
  watch.tick_again = false;
}

bool full_screen_work(const MainControls& c, HWND foreground) {
  ForegroundFacts facts;
  if (foreground != nullptr) {
    platform::full_screen_facts::WindowFacts window =
        platform::full_screen_facts::window_facts(foreground);
    facts.exists = true;
    facts.shell = window.shell;
    facts.own = window.own;
    facts.registered = has_registered_class(c, foreground);
    facts.maximised = window.maximised;
    facts.style = window.style;
    facts.window = screen_rect(window.window);
    facts.monitor = screen_rect(window.monitor);
  }
  return is_full_screen_work(facts, platform::full_screen_facts::user_notification_state());
}

}  // namespace lorvane::control
