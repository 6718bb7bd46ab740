#pragma once
// The selection wizard: the user brings a window to the front, and six seconds later its class
// name is registered once the user confirms that it was the right window.
#include <string_view>

#include "control/main_controls.h"

namespace lorvane::control {

inline constexpr std::wstring_view wait_hint =
    L"制御するウィンドウを前面表示にしてそのままお待ちください。";
inline constexpr std::wstring_view taken_status = L"前面表示しない";
inline constexpr std::wstring_view box_title = L"Lorvane";
inline constexpr std::wstring_view box_moved = L"制御したいウィンドウが後ろに移動したでしょうか？";
inline constexpr std::wstring_view box_start = L"制御を開始しますか？";
inline constexpr std::wstring_view box_retry = L"再度ウィンドウを選択してお待ちください。";
inline constexpr unsigned selection_interval_ms = 6000;

// The click of the Select button: control stops and the wait begins.
void select(MainControls& c);

// The timer event of the selection timer.
void selection_tick(MainControls& c);

// Whether the name may be appended: not empty and not already in the list, compared exactly.
bool is_new_target(const platform::ListBox& target_list, const std::wstring& name);

}  // namespace lorvane::control
