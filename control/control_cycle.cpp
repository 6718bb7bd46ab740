#include "control/control_cycle.h"

#include <optional>

#include "control/full_screen.h"
#include "control/idle.h"
#include "control/target_windows.h"
#include "platform/decimal.h"
#include "platform/foreground.h"
#include "platform/full_screen_facts.h"
#include "platform/raw_input.h"
#include "platform/session_state.h"
#include "platform/window_lookup.h"
#include "platform/window_state.h"
#include "platform/window_visibility.h"
#include "platform/z_order.h"

namespace lorvane::control {
namespace {

constexpr UINT place_only = SWP_NOSIZE | SWP_NOMOVE;

// The control timer's own tick, or one that answers a foreground change or input, or the click's
// timer.
enum class TickKind { regular, reaction, click };
struct TickResult;
TickResult tick(ControlContext& c, TickKind kind);

// A move to a window whose program could not be read is queued as any other and looked at a tick
// later; one whose moves never took is refused from then on, without a move. `below` is the
// window that lay directly under it before a push: the push took when the window went below it.
// Where that was the shell's (the desktop, which Windows keeps last), nothing could put the window
// lower, and its place tells nothing: no look is queued.
platform::z_order::MoveResult checked_move(const ControlContext& c, HWND window, HWND insert_after,
                                           UINT flags, HWND below = nullptr) {
  MoveCheck& check = c.watch.unconfirmed_moves();
  if (check.refused(window)) return {false, ERROR_ACCESS_DENIED, true};
  platform::z_order::MoveResult move = c.mover.set_window_pos(window, insert_after, flags);
  if (move.moved && move.unconfirmed) {
    bool to_topmost = insert_after == HWND_TOPMOST;
    if (!to_topmost && below != nullptr && c.programs.record_of(below).shell) {
      check.queued_untold(window);
    } else {
      check.queued(window, to_topmost, below, c.clock.tick_count());
    }
  }
  return move;
}

// Whether the moves queued a tick or more ago took: a raise by the topmost style, a push by the
// window's place below the one that lay under it (on Windows the desktop stays last, so the last
// place of all is never where a push ends). A window that is gone has nothing to refuse, and one
// whose neighbour has gone cannot tell. Nor can one that lies at the bottom as the user sees it
// (only hidden windows, say, between it and the desktop): it lies where the push would put it,
// refused or not, and is judged at a later push from a place that tells.
void look_at_unconfirmed_moves(const ControlContext& c) {
  MoveCheck& check = c.watch.unconfirmed_moves();
  if (!check.pending()) return;
  check.look(c.clock.tick_count(),
             [&c](HWND window, bool to_topmost, HWND below) -> std::optional<bool> {
               if (!platform::window_lookup::exists(window)) return true;
               if (to_topmost) return platform::z_order::is_topmost(window);
               if (below == nullptr || !platform::window_lookup::exists(below) ||
                   platform::z_order::lies_below(window, below)) {
                 return true;
               }
               if (at_bottom(window, c.cloaking, c.programs)) return std::nullopt;
               return false;
             });
}

// The raise leaves the keyboard with the user's window: activating the player would send the
// first keys after the user's return to an invisible window (space pauses it) and break an IME
// composition. The return watch takes the window down whether or not it is in front.
platform::z_order::MoveResult idle_raise(const ControlContext& c, HWND window) {
  return checked_move(c, window, HWND_TOPMOST, place_only | SWP_NOACTIVATE);
}

// The window that lies directly under the window now, passing over the owner that moves with it.
HWND neighbour_below(HWND window, HWND owner) {
  HWND below = platform::z_order::next_below(window);
  return below == owner && owner != nullptr ? platform::z_order::next_below(owner) : below;
}

// The pushed window is always the foreground window already, which Windows never activates
// again; Wine 8 does, and activating turns the move to the bottom into a move to the top.
// SWP_NOACTIVATE keeps the push a push on both. The move to the bottom also takes a raised
// window out of the topmost band.
//
// Windows keeps an owned window above its owner. A player whose owner the user cannot see (the
// hidden or sizeless application window of a classic framework) would stop just above that owner,
// wherever it lies: the owner goes to the bottom first, and the player after it. The owner is
// read at each push: a program may give the window another one while it lives.
platform::z_order::MoveResult bottom_push(const ControlContext& c, HWND window) {
  constexpr UINT flags = place_only | SWP_NOACTIVATE;
  HWND owner = platform::window_visibility::root_owner(window);
  if (owner == window || !platform::window_visibility::unseen(owner)) owner = nullptr;
  HWND below = neighbour_below(window, owner);
  if (owner != nullptr) checked_move(c, owner, HWND_BOTTOM, flags, neighbour_below(owner, nullptr));
  return checked_move(c, window, HWND_BOTTOM, flags, below);
}

// Whether the move was made. A window of a program running as administrator refuses it, and so
// does one whose queued moves never took: the status line says so, once for each class until
// control stops, naming the reason only where it is known, and the window counts as neither
// pushed nor raised, so that nothing waits or polls for it.
bool moved(ControlContext& c, const std::wstring& class_name, platform::z_order::MoveResult move) {
  if (move.error == ERROR_ACCESS_DENIED && c.unmovable.first_time(class_name)) {
    c.status_line.show(move.unconfirmed ? cannot_move_text(class_name)
                                        : unmovable_text(class_name));
  }
  return move.moved;
}

struct TickResult {
  HWND raised = nullptr;
  HWND pushed = nullptr;
  DWORD last_input = 0;  // the last input time the raise was decided on
  // The click's tick found the registered window in front at the bottom still: its program had
  // not raised it yet.
  bool unraised = false;
};

// The time of the user's last input, from a zeroed record: a failed query leaves 0, which makes
// the user count as idle.
DWORD last_input(const ControlContext& c) {
  LASTINPUTINFO info{};
  info.cbSize = sizeof info;
  c.clock.last_input_info(info);
  return info.dwTime;
}

// Whether the user counts as idle in this tick. The clock is read once a tick, and only where a
// raise could follow: the option unticked and someone able to see the desktop.
struct IdleReading {
  std::optional<bool> idle;
  DWORD last_input = 0;
};

bool user_idle(const ControlContext& c, IdleReading& reading) {
  if (!reading.idle) {
    std::int32_t threshold = platform::parse_decimal(c.idle_threshold_box.text()).value_or(0);
    DWORD now = c.clock.tick_count();
    reading.last_input = last_input(c);
    reading.idle = is_idle(now, reading.last_input, threshold);
  }
  return *reading.idle;
}

// The shell's own windows are never moved, whatever the list holds: pushing the taskbar to the
// bottom takes it out of the topmost band for good. The entry stays in the list; the status line
// says once why nothing happens to it.
void tell_shell_passed_over(ControlContext& c, const std::wstring& class_name) {
  if (c.unmovable.first_time(class_name, UnmovableNotice::Reason::shell)) {
    c.status_line.show(shell_entry_text(class_name));
  }
}

// The entry's window the idle raise is for, with the shell's passed over.
HWND raise_candidate(ControlContext& c, const platform::Target& entry) {
  RaiseCandidate found = control::raise_candidate(entry, c.programs, c.cloaking, c.watch.raised());
  if (found.shell_passed_over) tell_shell_passed_over(c, entry.class_name);
  return found.window;
}

// The idle raise, from the entry at `first` whose window is `w`: the first entry in list order
// that has a window the user can see.
TickResult raise_first(ControlContext& c, const std::vector<platform::Target>& entries,
                       std::size_t first, HWND w, DWORD input_time) {
  TickResult result;
  result.last_input = input_time;
  for (std::size_t i = first; i < entries.size(); ++i) {
    if (i != first) w = raise_candidate(c, entries[i]);
    if (w == nullptr) continue;
    // Raised already and nothing the user sees above it: the move would change nothing.
    if (at_top(w, c.cloaking)) {
      result.raised = w;
      return result;
    }
    // A program that does not answer would collect a queued raise on every tick. Nor does the
    // next target take its place: once this one answered again it would take the raise back,
    // and the other would be left topmost over the user's work.
    if (platform::window_lookup::is_hung(w)) return result;
    if (moved(c, entries[i].class_name, idle_raise(c, w))) {
      result.raised = w;
      return result;
    }
    // It cannot be moved at all: the next entry's window is raised instead, as if this one had
    // none.
  }
  return result;
}

// The push needs the foreground window alone: when it stands for an entry, it goes to the bottom.
// Other windows of the entry's class, of its program or another, are left where they are.
TickResult push_front(ControlContext& c, const std::vector<platform::Target>& entries, HWND fg,
                      TickKind kind) {
  TickResult result;
  if (fg == nullptr || fg == c.main) return result;
  std::optional<std::size_t> entry = entry_of(fg, entries, c.programs);
  if (!entry) return result;
  const std::wstring& name = entries[*entry].class_name;
  if (c.programs.record_of(fg).shell) {
    tell_shell_passed_over(c, name);
    return result;
  }
  // Pushed by an earlier tick and left in front, with nothing the user can see below it: the
  // timer's tick would change nothing by the move. A tick that answers a foreground change or a
  // click moves the window whatever its place: Wine names a clicked window the foreground window
  // a moment before it raises it, and such a tick may come in between.
  bool left_at_bottom =
      kind == TickKind::regular && fg == c.watch.pushed() && at_bottom(fg, c.cloaking, c.programs);
  result.unraised = kind == TickKind::click && at_bottom(fg, c.cloaking, c.programs);
  if (left_at_bottom ||
      (!platform::window_lookup::is_hung(fg) && moved(c, name, bottom_push(c, fg)))) {
    result.pushed = fg;
    // The window the user brings to the front is the one of its program the raise is for. One
    // left in front since the last tick bears the latest mark already.
    if (fg != c.watch.pushed()) c.programs.mark_pushed(fg);
  }
  return result;
}

TickResult run_tick(ControlContext& c, TickKind kind) {
  HWND fg = platform::foreground::foreground_window();
  std::vector<platform::Target> entries = entries_of(c.target_list);
  // While nobody can see the desktop, and with the option ticked, no raise is due: the tick
  // needs the foreground window alone.
  if (c.front_display_option.ticked() || c.watch.unseen()) {
    return push_front(c, entries, fg, kind);
  }
  IdleReading reading;
  if (!user_idle(c, reading)) return push_front(c, entries, fg, kind);
  // A raise is due: only now are the entries' windows looked for. The records of windows that
  // have gone are dropped as a new window's record is made, not here: asking whether each one
  // still exists is a call into the server for each, every second while the user is away.
  for (std::size_t i = 0; i < entries.size(); ++i) {
    HWND w = raise_candidate(c, entries[i]);
    if (w == nullptr) continue;
    // Someone watching a film or giving a presentation touches nothing, and is not away.
    if (full_screen_work(c, entries, fg)) return push_front(c, entries, fg, kind);
    return raise_first(c, entries, i, w, reading.last_input);
  }
  return {};
}

// What the watch asks for: the raised window down at once, and the tick.
void carry_out(ControlContext& c, const WatchAction& action) {
  if (action.bring_down != nullptr) bottom_push(c, action.bring_down);
  if (action.tick) tick(c, TickKind::reaction);
}

// As the push finds windows: the class as the lookup compares it (a player registered as
// "lvplayer" is the same player when its class reads "LvPlayer"), and the program where the entry
// names one.
bool has_registered_class(const ControlContext& c, const std::vector<platform::Target>& entries,
                          HWND window) {
  return entry_of(window, entries, c.programs).has_value();
}

ScreenRect screen_rect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

bool control_running(const ControlContext& c) {
  return c.start_stop_button.caption() != caption_start;
}

void start_stop(ControlContext& c) {
  // A program that ran as administrator may have ended meanwhile: each run says it afresh.
  c.unmovable.clear();
  c.programs.clear();
  if (c.target_list.count() == 0) {
    c.status_line.show(first_use_hint);
    c.control_timer.set_enabled(false);
    c.watch.stop();
    platform::set_window_state(c.main, platform::WindowState::normal);
    return;
  }
  c.control_timer.set_interval(control_interval_ms);
  if (!control_running(c)) {
    c.start_stop_button.set_caption(std::wstring(caption_controlling));
    c.control_timer.set_enabled(true);
    platform::set_window_state(c.main, platform::WindowState::minimised);
    // Hooked once the main window has gone to the tray: its own leaving is no foreground change.
    c.watch.start();
  } else {
    c.start_stop_button.set_caption(std::wstring(caption_start));
    c.control_timer.set_enabled(false);
    c.watch.stop();
    platform::set_window_state(c.main, platform::WindowState::normal);
  }
}

namespace {

// The tick itself; see control_tick.
TickResult tick(ControlContext& c, TickKind kind) {
  carry_out(c, c.watch.before_tick());
  look_at_unconfirmed_moves(c);
  TickResult result = run_tick(c, kind);
  bool was_waiting = c.watch.waiting_for_return();
  carry_out(c, c.watch.after_tick({result.raised, result.pushed}));
  // Input between the tick's reading and the raw input's registration reaches no wait: the user
  // came back as the window went up.
  if (!was_waiting && c.watch.waiting_for_return() && last_input(c) != result.last_input) {
    carry_out(c, c.watch.on_input({}));
  }
  return result;
}

}  // namespace

void control_tick(ControlContext& c) { tick(c, TickKind::regular); }

void foreground_changed(ControlContext& c) {
  // Posted before Stop, handled after it: control no longer runs.
  if (!control_running(c)) return;
  tick(c, TickKind::reaction);
  c.watch.recheck_soon();
}

void raised_window_gone(ControlContext& c) {
  // Posted before Stop, or before the user came back: nothing waits any more.
  if (!control_running(c) || c.watch.raised() == nullptr) return;
  control_tick(c);
}

void raw_input(ControlContext& c, LPARAM lparam) {
  if (!control_running(c)) return;
  platform::RawInputEvent input = platform::raw_input::read(lparam);
  if (c.watch.watching_clicks()) input = c.raw_input_hold.with_what_came(input);
  carry_out(c, c.watch.on_input(input));
}

void held_input(ControlContext& c, const platform::RawInputEvent& input) {
  carry_out(c, c.watch.on_held_input(input));
}

void click_timer(ControlContext& c) {
  if (!c.watch.on_click_timer()) return;
  if (tick(c, TickKind::click).unraised) c.watch.click_tick_came_early();
}

void session_message(ControlContext& c, UINT message, WPARAM wparam, LPARAM lparam) {
  carry_out(c,
            c.watch.on_session_change(platform::session_state::change_of(message, wparam, lparam)));
}

bool full_screen_work(const ControlContext& c, HWND foreground) {
  return full_screen_work(c, entries_of(c.target_list), foreground);
}

bool full_screen_work(const ControlContext& c, const std::vector<platform::Target>& entries,
                      HWND foreground) {
  // The shell's report first: it says which of the window's facts are needed.
  int shell_state = platform::full_screen_facts::user_notification_state();
  ForegroundFacts facts;
  if (foreground != nullptr) {
    facts.exists = true;
    facts.style = platform::full_screen_facts::style_of(foreground);
    facts.maximised = (facts.style & WS_MAXIMIZE) != 0;
    // A window with a title bar is never full-screen work by its frame: its place and whose it
    // is are asked only of one without, and whether it is the shell's besides only where the
    // shell's report needs it.
    if (frame_decides(facts.style)) {
      platform::full_screen_facts::FrameFacts frame =
          platform::full_screen_facts::frame_facts(foreground);
      facts.own = frame.own;
      facts.window = screen_rect(frame.window);
      facts.monitor = screen_rect(frame.monitor);
    }
    if (frame_decides(facts.style) || shell_decides(shell_state)) {
      facts.shell = c.programs.record_of(foreground).shell;
    }
  }
  // A registered window is never full-screen work: its class is read only where the answer
  // would otherwise be yes.
  if (!is_full_screen_work(facts, shell_state)) return false;
  facts.registered = foreground != nullptr && has_registered_class(c, entries, foreground);
  return is_full_screen_work(facts, shell_state);
}

}  // namespace lorvane::control
