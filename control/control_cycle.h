#pragma once
// Start/Stop and the control tick: registered windows the user brings to the front go back to
// the bottom, and while the user is idle the first registered window that exists is raised.
#include <string_view>
#include <vector>

#include "control/control_context.h"
#include "platform/raw_input.h"

namespace lorvane::control {

inline constexpr std::wstring_view caption_start = L"開始";
inline constexpr std::wstring_view caption_controlling = L"制御中";
inline constexpr std::wstring_view first_use_hint =
    L"初めて使用する場合、制御を行いたいウィンドウをすぐ選択できる状態にして、選択ボタンを押してく"
    L"ださい。";
inline constexpr unsigned control_interval_ms = 1000;

// Whether control runs: the one answer for every reader, the button's own toggle included.
// Three things carry it. The caption of the Start/Stop button is the state: anything but "開始"
// is running. Start sets it to "制御中" and starts the control timer and the watch; Stop and
// Select set it back to "開始" and stop both; the close stops both and leaves it. They part in
// one case, which is kept: Start/Stop pressed on an emptied list stops the timer and the watch
// but leaves the caption, so "制御中" stands with nothing armed until Select resets it. What can
// arrive meanwhile (a hook's message posted before the stop) finds an empty list and does
// nothing. The timer and the watch answer narrower questions: whether a WM_TIMER is a live one,
// and what is armed between ticks.
bool control_running(const ControlContext& c);

// The click of the Start/Stop button.
void start_stop(ControlContext& c);

// The timer event of the control timer. While control runs, the watch hears what it did: the
// window it raised, and the registered window in front that it pushed.
void control_tick(ControlContext& c);

// The hook's message: the foreground window has changed, and the tick runs at once with the
// timer's rules, so that a registered window that came to the front goes straight back.
void foreground_changed(ControlContext& c);

// The hook's message: the raised window was hidden, minimised or destroyed. The tick runs at once,
// and the next window the user can see is raised in its place, or none.
void raised_window_gone(ControlContext& c);

// A WM_INPUT of the raw input the watch registered: the user's first input after the idle raise
// brings the raised window down, whether or not it is the foreground window; a click on the
// registered window in front runs the tick shortly after.
void raw_input(ControlContext& c, LPARAM lparam);

// What the raw-input hold kept, read in one go as the hold ended.
void held_input(ControlContext& c, const platform::RawInputEvent& input);

// The timer event of the click's one-shot timer.
void click_timer(ControlContext& c);

// WM_WTSSESSION_CHANGE and WM_POWERBROADCAST: the session locked or back, the display off or on.
void session_message(ControlContext& c, UINT message, WPARAM wparam, LPARAM lparam);

// Whether the foreground window is full-screen work that the idle raise must not cover. The tick
// bench and the tests ask the rule on its own through this one.
bool full_screen_work(const ControlContext& c, HWND foreground);
// The same with the list's entries read already, as the tick has them.
bool full_screen_work(const ControlContext& c, const std::vector<platform::Target>& entries,
                      HWND foreground);

}  // namespace lorvane::control
