#pragma once
// Which windows stand for the entries of the target list. A window stands for an entry when its
// class matches as the class lookup compares (the whole name, case aside) and, for an entry that
// names a program, its program's file name is the same, case aside; a window whose program cannot
// be read stands for no such entry. An entry without a program stands for its class in every
// program.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "control/window_programs.h"
#include "platform/controls.h"
#include "platform/window_visibility.h"

namespace lorvane::control {

// The list's entries, in list order.
std::vector<platform::Target> entries_of(const platform::ListBox& list);

// The position of the first entry the window stands for, or none. The window's program is read
// only where an entry of its class names one.
std::optional<std::size_t> entry_of(HWND window, const std::vector<platform::Target>& entries,
                                    WindowPrograms& programs);

// The window of the entry that the idle raise is for, of its windows the user can see (shown, not
// minimised, without an owner the user can see, on a monitor, not cloaked), leaving out the
// shell's own. Classic frameworks give all forms of a program one class and one hidden owner, and
// WinForms owns a form without a taskbar button by a window never shown: so owned tool windows
// (palettes, playlists) are passed over while the program has another. Of the others, the one the
// push last took back down since Start is the player the user works with; where none was pushed,
// the highest in the Z-order; where only tool windows remain, the highest of them. Null when it
// has none.
struct RaiseCandidate {
  HWND window = nullptr;
  // A window of the entry that the user can see is the shell's, and was passed over.
  bool shell_passed_over = false;
};
// `raised` is the window the raise took last and that waits topmost: it passed every question
// then, and of those only whether it still shows and is not cloaked can change while it waits, so
// the others are not asked again every second.
RaiseCandidate raise_candidate(const platform::Target& entry, WindowPrograms& programs,
                               const platform::Cloaking& cloaking, HWND raised = nullptr);

// Whether the window lies where the push would put it already: below it lie only windows the user
// cannot see (hidden, minimised, of no size, cloaked) and the shell's, such as the desktop that
// Windows keeps last. Only the nearest few dozen windows are looked at; past them the answer is no.
bool at_bottom(HWND window, const platform::Cloaking& cloaking, WindowPrograms& programs);
// Whether the window lies where the raise would put it already: in the topmost band, with above it
// only windows the user cannot see (other programs' hidden tooltips, say) and its own owned
// windows, which Windows keeps above it whatever the raise does. Bounded as at_bottom is.
bool at_top(HWND window, const platform::Cloaking& cloaking);

}  // namespace lorvane::control
