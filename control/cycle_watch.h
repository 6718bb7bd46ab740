#pragma once
// What the control cycle keeps between its ticks so that it reacts at once without polling: the
// hook on foreground changes, the window the idle raise put topmost, raw input while something
// waits for the user's hand, the one-shot timer of a click, and whether anyone can see the
// desktop at all.
#include <windows.h>

#include <optional>

#include "control/click_delay.h"
#include "control/move_check.h"
#include "control/raw_input_hold.h"
#include "platform/foreground_hook.h"
#include "platform/one_shot_timer.h"
#include "platform/raw_input.h"
#include "platform/session_state.h"
#include "platform/window_gone_hook.h"

namespace lorvane::control {

// Posted to the main window by the hook when the foreground window has changed.
inline constexpr UINT foreground_changed_message = WM_APP + 1;
// Posted to the main window when the raised window is hidden, minimised or destroyed, where the
// system tells of it.
inline constexpr UINT raised_window_gone_message = WM_APP + 2;

// What a tick did, as far as the watch is concerned.
struct TickOutcome {
  HWND raised = nullptr;  // put in the topmost band by the idle raise
  HWND pushed = nullptr;  // the registered window in front, pushed to the bottom
};

// What the cycle does once the watch has heard something.
struct WatchAction {
  HWND bring_down = nullptr;  // the raised window, to the bottom at once
  bool tick = false;          // the tick, now
};

// The watch between ticks. Its rules: nothing is armed while control is stopped; raw input and
// the click's timer run only while a raised window waits for the user or a registered window is
// in front, and raw input is held back only while the latter is and input keeps coming; and while
// nobody can see the desktop (the session locked or disconnected, the display off) nothing waits at
// all, no idle raise happens, and a raised window comes down. The one-second tick goes on
// throughout: it is also the backstop for input that raw input does not see (touch, pen).
class CycleWatch {
 public:
  CycleWatch(HWND main, UINT_PTR click_timer_id, const platform::SessionSystem& system,
             RawInputHold& hold);

  // Control starts: the foreground hook and the session's notifications, and the session's
  // present state.
  void start();
  // Control stops: nothing stays armed, and the raised window is forgotten where it lies.
  void stop();
  // What the tick found. The raised window comes down when the tick no longer raises it: the
  // user came back in a way raw input did not report, or the raise no longer applies.
  WatchAction after_tick(const TickOutcome& outcome);
  // At each tick, before it runs: the session's notifications, should they have been refused,
  // are asked for again; and while the session counts as locked, its real state is asked, as
  // an unlock may have gone unheard.
  WatchAction before_tick();
  // A WM_INPUT. The first input while a raised window waits brings it down; a mouse button of
  // the user on the registered window in front arms the click's tick. Pointer moves do nothing.
  WatchAction on_input(const platform::RawInputEvent& input);
  // What the raw-input hold kept, read in one go as it ended: as on_input reads it, but a button in
  // it runs the tick at once, since the click may be a hold old.
  WatchAction on_held_input(const platform::RawInputEvent& input);
  // A WM_TIMER of the click's timer: whether the tick runs.
  bool on_click_timer();
  // The click's tick found the clicked window at the bottom still: Windows may fire the timer as
  // early as the next tick of its clock, before the clicked window's own program has raised it.
  // The timer once more, unless it is armed again already; only for the first tick after a
  // press, so that a press that raises nothing does not keep it firing.
  void click_tick_came_early();
  // The tick after a foreground change pushed a registered window: its activation may still be
  // raising it, so the tick comes once more.
  void recheck_soon();
  WatchAction on_session_change(platform::SessionChange change);
  // The foreground hook exists: control has started and not stopped.
  bool hooked() const { return hook_.has_value(); }
  // The window waiting topmost for the user, or null.
  HWND raised() const { return raised_; }
  // The registered window in front that the last tick pushed, or null.
  HWND pushed() const { return pushed_; }
  // Nobody can see the desktop: the session locked or disconnected, or the display off. The
  // console's display says nothing about a remote session.
  bool unseen() const {
    return locked_ || disconnected_ || (display_off_ && !(remote_ && console_display()));
  }
  // The devices whose raw input reaches the main window now.
  platform::RawDevices listening() const { return raw_input_.devices(); }
  // A raised window waits for the user's return: raw input of both devices.
  bool waiting_for_return() const {
    return listening() == platform::RawDevices::mouse_and_keyboard;
  }
  // The registered window in front is watched for a click: raw input of the mouse alone.
  bool watching_clicks() const { return listening() == platform::RawDevices::mouse; }
  // The moves whose outcome the next tick looks at, and the windows found refusing them, since
  // control started.
  MoveCheck& unconfirmed_moves() { return unconfirmed_moves_; }

 private:
  // Raw input and the click's timer as the rules above want them now.
  void rearm();
  // The raised window's hooks as the rules want them now. Not on the user's return: the window
  // goes down first, and the tick that follows at once lets the hooks go.
  void rehook();
  WatchAction bring_down_raised();
  WatchAction take_input(const platform::RawInputEvent& input, bool held);
  WatchAction ask_lock_state();
  bool console_display() const { return session_ && session_->display_is_console(); }

  HWND main_;
  const platform::SessionSystem& system_;
  std::optional<platform::ForegroundHook> hook_;
  // The raised window's hide, minimise and destroy, heard from its own process only. Wine 8
  // raises none of them at a hook filtered by process: the tick asks as well.
  std::optional<platform::WindowGoneHook> raised_hook_;
  std::optional<platform::SessionNotifications> session_;
  platform::RawInputRegistration raw_input_;
  // A click raises its window while the window's own thread handles the button, after this
  // program has heard of it: the click's tick comes about click_tick_aim_ms after the button goes
  // down, and as long after it comes up (click_delay.h).
  platform::OneShotTimer click_timer_;
  // What the click's timer is armed with, for the clock the system fires timers on.
  UINT click_delay_ms_;
  MoveCheck unconfirmed_moves_;
  HWND raised_ = nullptr;
  // The registered window in front that the last tick pushed, or found pushed already.
  HWND pushed_ = nullptr;
  // The button came up while the click's tick was still to come: one more after it.
  bool tick_after_up_ = false;
  // A button went down, and no tick of the click's timer has come since.
  bool pressed_ = false;
  // The click's tick now running is the first since a press: it may come once more.
  bool may_come_again_ = false;
  RawInputHold& hold_;
  bool locked_ = false;
  bool disconnected_ = false;
  bool display_off_ = false;
  // A Remote Desktop session, read again whenever a session connects or disconnects.
  bool remote_ = false;
};

}  // namespace lorvane::control
