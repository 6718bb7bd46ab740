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

// The timer event of the control timer.
void control_tick(MainControls& c);

}  // namespace lorvane::control
