#pragma once
// Start/Stop and the control tick: registered windows the user brings to the front go back to
// the bottom, and while the user is idle the first registered window that exists is raised.
#include <string_view>

#include "control/main_controls.h"

namespace lorvane::control {

inline constexpr std::wstring_view caption_start = L"開始";
inline constexpr std::wstring_view caption_controlling = L"制御中";
inline constexpr std::wstring_view first_use_hint =
    L"初めて使用する場合、制御を行いたいウィンドウをすぐ選択できる状態にして、選択ボタンを押してく"
    L"ださい。";
inline constexpr unsigned control_interval_ms = 1000;

// The click of the Start/Stop button.
void start_stop(MainControls& c);

// The timer event of the control timer. While control runs it also keeps the watch between
// ticks: it remembers the window it raised, and runs the short poll while a registered window
// is the foreground window or a raised window waits for the user.
void control_tick(MainControls& c);

// The hook's message: the foreground window has changed, and the tick runs at once with the
// timer's rules, so that a registered window that came to the front goes straight back.
void foreground_changed(MainControls& c);

// The timer event of the short poll: on the first input after the idle raise the raised window
// goes to the bottom, whether or not it is the foreground window; input while a registered
// window is the foreground window (a click on it) runs the tick.
void watch_poll(MainControls& c);

// Ends the watch: unhooked, no poll, the raised window forgotten. Whatever stops control.
void stop_watch(MainControls& c);

// Whether the foreground window is full-screen work that the idle raise must not cover.
bool full_screen_work(const MainControls& c, HWND foreground);

}  // namespace lorvane::control
