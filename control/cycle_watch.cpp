#include "control/cycle_watch.h"

#include "platform/raw_input.h"
#include "platform/window_lookup.h"

namespace lorvane::control {

CycleWatch::CycleWatch(HWND main, UINT_PTR click_timer_id, const platform::SessionSystem& system,
                       RawInputHold& hold)
    : main_(main),
      system_(system),
      raw_input_(main),
      click_timer_(main, click_timer_id),
      click_delay_ms_(click_tick_delay_ms(platform::timer_clock_period_ms())),
      hold_(hold) {}

void CycleWatch::start() {
  if (hooked()) return;
  hook_.emplace(main_, foreground_changed_message);
  // Registering reports the display's present state at once; the lock it does not report.
  session_.emplace(main_, system_);
  remote_ = system_.remote_session();
  // Nothing is raised yet: the answer has nothing to bring down.
  ask_lock_state();
}

WatchAction CycleWatch::before_tick() {
  if (!hooked()) return {};
  // Registered late: a lock may have come meanwhile, unheard.
  if (session_->retry_session() || locked_) return ask_lock_state();
  return {};
}

WatchAction CycleWatch::ask_lock_state() {
  std::optional<bool> locked = system_.locked();
  if (!locked || *locked == locked_) return {};
  return on_session_change(*locked ? platform::SessionChange::locked
                                   : platform::SessionChange::unlocked);
}

void CycleWatch::stop() {
  hook_.reset();
  session_.reset();
  // A program that refused may have ended meanwhile: the next run looks afresh.
  unconfirmed_moves_.clear();
  raised_ = nullptr;
  pushed_ = nullptr;
  // Without the notifications nothing would tell of a change: the next start hears afresh.
  locked_ = disconnected_ = display_off_ = remote_ = false;
  rearm();
  rehook();
}

WatchAction CycleWatch::after_tick(const TickOutcome& outcome) {
  WatchAction action;
  // Kept even while nothing is armed: the next tick's push asks it.
  pushed_ = outcome.pushed;
  if (!hooked()) return action;
  if (raised_ != nullptr && raised_ != outcome.raised && raised_ != outcome.pushed) {
    action = bring_down_raised();
  }
  // The main window is never moved to the bottom, not even when the user comes back.
  raised_ = outcome.raised != main_ ? outcome.raised : nullptr;
  rearm();
  rehook();
  return action;
}

WatchAction CycleWatch::on_input(const platform::RawInputEvent& input) {
  return take_input(input, false);
}

WatchAction CycleWatch::on_held_input(const platform::RawInputEvent& input) {
  return take_input(input, true);
}

WatchAction CycleWatch::take_input(const platform::RawInputEvent& input, bool held) {
  WatchAction action;
  if (!hooked()) return action;  // sent before the registration went
  if (raised_ != nullptr) {
    // The user is back: out of the topmost band at once, in front or not, and the tick says
    // what else to do.
    action = bring_down_raised();
    action.tick = true;
    rearm();
    return action;
  }
  if (!watching_clicks()) return action;
  if (input.button_down) pressed_ = true;
  if (input.button_down && !click_timer_.armed()) {
    click_timer_.arm(click_delay_ms_);
  }
  if (input.button_up) {
    if (click_timer_.armed()) {
      tick_after_up_ = true;
    } else {
      click_timer_.arm(click_delay_ms_);
    }
  }
  if (held && (input.button_down || input.button_up)) action.tick = true;
  hold_.hold();
  return action;
}

bool CycleWatch::on_click_timer() {
  if (!click_timer_.fired()) return false;
  may_come_again_ = pressed_;
  pressed_ = false;
  if (tick_after_up_) {
    tick_after_up_ = false;
    click_timer_.arm(click_delay_ms_);
  }
  return hooked();
}

void CycleWatch::click_tick_came_early() {
  if (!watching_clicks() || click_timer_.armed() || !may_come_again_) return;
  may_come_again_ = false;
  click_timer_.arm(click_delay_ms_);
}

void CycleWatch::recheck_soon() {
  if (watching_clicks() && !click_timer_.armed()) {
    click_timer_.arm(click_delay_ms_);
  }
}

WatchAction CycleWatch::on_session_change(platform::SessionChange change) {
  WatchAction action;
  if (!hooked()) return action;
  switch (change) {
    case platform::SessionChange::locked: locked_ = true; break;
    case platform::SessionChange::unlocked: locked_ = false; break;
    case platform::SessionChange::disconnected:
      disconnected_ = true;
      remote_ = system_.remote_session();
      break;
    case platform::SessionChange::connected:
      disconnected_ = false;
      remote_ = system_.remote_session();
      break;
    case platform::SessionChange::display_off: display_off_ = true; break;
    case platform::SessionChange::display_on: display_off_ = false; break;
    case platform::SessionChange::none: return action;
  }
  if (unseen() && raised_ != nullptr) action = bring_down_raised();
  rearm();
  rehook();
  return action;
}

void CycleWatch::rearm() {
  platform::RawDevices wanted = platform::RawDevices::none;
  if (hooked() && !unseen()) {
    if (raised_ != nullptr) {
      wanted = platform::RawDevices::mouse_and_keyboard;
    } else if (pushed_ != nullptr) {
      wanted = platform::RawDevices::mouse;
    }
  }
  raw_input_.set(wanted);
  if (wanted != platform::RawDevices::mouse) {
    click_timer_.disarm();
    hold_.release();
    tick_after_up_ = false;
    pressed_ = may_come_again_ = false;
  }
}

void CycleWatch::rehook() {
  // Hooked for the window that waits, and only while it does.
  HWND watched =
      hooked() && listening() == platform::RawDevices::mouse_and_keyboard ? raised_ : nullptr;
  if (watched == nullptr) {
    raised_hook_.reset();
  } else if (!raised_hook_ || raised_hook_->window() != watched) {
    raised_hook_.reset();
    raised_hook_.emplace(main_, raised_window_gone_message, watched);
  }
}

WatchAction CycleWatch::bring_down_raised() {
  WatchAction action;
  // A window closed meanwhile has nothing left to move, and its handle may be another's by now.
  if (platform::window_lookup::exists(raised_)) action.bring_down = raised_;
  raised_ = nullptr;
  return action;
}

}  // namespace lorvane::control
