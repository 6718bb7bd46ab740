#include "control/target_selection.h"

#include "control/control_cycle.h"
#include "platform/foreground.h"
#include "platform/message_box.h"
#include "platform/shell_windows.h"
#include "platform/z_order.h"

namespace lorvane::control {
namespace {

int ask_box(const MainControls& c, std::wstring_view text, UINT buttons) {
  return platform::ask(c.main, std::wstring(text), std::wstring(box_title), buttons);
}

void wait_again(MainControls& c) {
  c.selection_timer.set_enabled(true);
  c.front_display_option.set_caption(std::wstring(wait_hint));
}

}  // namespace

void select(MainControls& c) {
  c.start_stop_button.set_caption(std::wstring(caption_start));
  c.control_timer.set_enabled(false);
  stop_watch(c);
  c.unmovable.clear();
  c.front_display_option.set_caption(std::wstring(wait_hint));
  c.selection_timer.set_interval(selection_interval_ms);
  c.selection_timer.set_enabled(true);
}

bool is_new_target(const platform::ListBox& target_list, const std::wstring& name) {
  return !name.empty() && !target_list.contains(name);
}

void selection_tick(MainControls& c) {
  HWND fg = platform::foreground::foreground_window();
  std::wstring name = platform::foreground::class_name(fg);
  if (fg == c.main) return;  // the user is still on the main window: look again next time
  // The taskbar, the desktop or the Start menu is never the window the user means, and
  // registering it would bury the taskbar at every later click on it: look again next time.
  if (platform::shell_windows::is_shell_window(fg)) return;

  // Off before the first box: the boxes' modal loops keep dispatching timer messages, and one
  // selection must not start while another waits for an answer.
  c.selection_timer.set_enabled(false);
  c.front_display_option.set_caption(std::wstring(taken_status));
  // The test move. The window is the foreground window, which Windows never activates again;
  // Wine 8 does, and activating would bring it to the top instead: SWP_NOACTIVATE keeps the
  // move a move to the bottom on both.
  platform::z_order::MoveResult move =
      c.mover.set_window_pos(fg, HWND_BOTTOM, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  if (move.error == ERROR_ACCESS_DENIED) {
    // Its program runs as administrator: nothing moved, and the question could only be answered
    // No. The status line says why, and the wait goes on.
    c.front_display_option.set_caption(unmovable_text(name));
    c.selection_timer.set_enabled(true);
    return;
  }

  if (ask_box(c, box_moved, MB_YESNO) == IDYES) {
    if (!is_new_target(c.target_list, name)) return;
    c.target_list.append(name);
    if (ask_box(c, box_start, MB_YESNO) == IDYES) start_stop(c);
    return;
  }
  if (ask_box(c, box_retry, MB_OKCANCEL) == IDOK) wait_again(c);
}

}  // namespace lorvane::control
