#pragma once
// The selection wizard: the user brings a window to the front, and six seconds later its class
// name is registered once the user confirms that it was the right window.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "control/control_context.h"

namespace lorvane::control {

inline constexpr std::wstring_view wait_hint =
    L"制御するウィンドウを前面表示にしてそのままお待ちください。";
inline constexpr std::wstring_view taken_status = L"前面表示しない";
inline constexpr std::wstring_view box_moved = L"制御したいウィンドウが後ろに移動したでしょうか？";
inline constexpr std::wstring_view box_start = L"制御を開始しますか？";
inline constexpr std::wstring_view box_retry = L"再度ウィンドウを選択してお待ちください。";
inline constexpr unsigned selection_interval_ms = 6000;
// The note after Yes to the first box when the user can see other windows of the class: those of
// other programs are left alone, those of the same program are controlled too.
inline constexpr std::wstring_view shared_with_other_programs =
    L"ほかのプログラムにも同じクラスのウィンドウがあります。制御するのは、このプログラムの"
    L"ウィンドウだけです。";
inline constexpr std::wstring_view shared_within_program =
    L"このプログラムには同じクラスのウィンドウがほかにもあります。それらも制御します。";

// The click of the Select button: control stops and the wait begins.
void select(ControlContext& c);

// The timer event of the selection timer.
void selection_tick(ControlContext& c);

// What Yes to the first box does with the caught window's target.
struct Registration {
  enum class Kind {
    append,     // a new entry at the end, then the question of starting control
    narrow,     // the entry at the position, which names no program, gets the caught one
    duplicate,  // already registered: nothing changes and nothing more is asked
  } kind;
  int position = -1;
};

// A target with the same class name (exactly, case and all) and the same program (case aside)
// is a duplicate; else the first entry of the class without a program is narrowed to the
// program; else the target is new. A caught target without a program only ever matches an
// entry without one.
Registration registration_for(const std::vector<platform::Target>& entries,
                              const platform::Target& caught);

// The note on other windows of the class that the user can see, or none: of windows of other
// programs (or whose program cannot be read), and of other windows of the caught program.
std::optional<std::wstring> shared_class_note(int other_programs, int same_program);

}  // namespace lorvane::control
