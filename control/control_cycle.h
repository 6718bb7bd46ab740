#pragma once
// Start/Stop and the control tick: registered windows the user brings to the front go back to
// the bottom, and while the user is idle the first registered window that exists is raised.
#include <string_view>
#include <vector>

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

// The timer event of the control timer. While control runs, the watch hears what it did: the
// window it raised, and the registered window in front that it pushed.
void control_tick(MainControls& c);

// The hook's message: the foreground window has changed, and the tick runs at once with the
// timer's rules, so that a registered window that came to the front goes straight back.
void foreground_changed(MainControls& c);

// A WM_INPUT of the raw input the watch registered: the user's first input after the idle raise
// brings the raised window down, whether or not it is the foreground window; a click on the
// registered window in front runs the tick shortly after.
void raw_input(MainControls& c, LPARAM lparam);

// The timer event of the click's one-shot timer.
void click_timer(MainControls& c);

// The hold on raw input is over: what came meanwhile is read in one go.
void raw_input_hold_over(MainControls& c);

// WM_WTSSESSION_CHANGE and WM_POWERBROADCAST: the session locked or back, the display off or on.
void session_message(MainControls& c, UINT message, WPARAM wparam, LPARAM lparam);

// Ends the watch: nothing armed, the raised window forgotten. Whatever stops control.
void stop_watch(MainControls& c);

// Whether the foreground window is full-screen work that the idle raise must not cover.
bool full_screen_work(const MainControls& c, HWND foreground);
// The same with the list's entries read already, as the tick has them.
bool full_screen_work(const MainControls& c, const std::vector<platform::Target>& entries,
                      HWND foreground);

}  // namespace lorvane::control
