#include "control/target_selection.h"

#include "control/control_cycle.h"
#include "control/program_title.h"
#include "control/target_windows.h"
#include "platform/foreground.h"
#include "platform/message_box.h"
#include "platform/process_name.h"
#include "platform/text.h"
#include "platform/window_lookup.h"
#include "platform/window_visibility.h"
#include "platform/z_order.h"

namespace lorvane::control {
namespace {

int ask_box(const ControlContext& c, std::wstring_view text, UINT buttons) {
  return platform::ask(c.main, std::wstring(text), program_title, buttons);
}

// The program the entry is tied to: none where it cannot be read, or where the code page
// cannot hold its name, since the settings file could not give it back.
std::wstring recorded_program(HWND window) {
  std::wstring program = platform::process_name::program_of(window);
  return platform::text::ansi_can_hold(program) ? program : std::wstring();
}

// Tells the user of the other windows of the class that share the entry or that it passes over.
void note_shared_class(const ControlContext& c, HWND caught, const platform::Target& target) {
  // An entry without a program stands for the class in every program, as it always has.
  if (target.program.empty()) return;
  int other_programs = 0;
  int same_program = 0;
  // The windows the idle raise would count as seen, asked through the same cloaking seam.
  platform::window_lookup::ClassWalk walk(target.class_name);
  for (HWND window = walk.next(); window != nullptr; window = walk.next()) {
    if (window == caught || window == c.main) continue;
    if (!platform::window_visibility::on_screen(window) || c.cloaking.cloaked(window)) continue;
    // A window whose program cannot be read matches no entry that names one.
    std::wstring program = platform::process_name::program_of(window);
    if (!program.empty() && platform::window_lookup::same_program_name(program, target.program)) {
      ++same_program;
    } else {
      ++other_programs;
    }
  }
  if (auto note = shared_class_note(other_programs, same_program)) {
    platform::ask(c.main, *note, program_title, MB_OK);
  }
}

void wait_again(ControlContext& c) {
  c.selection_timer.set_enabled(true);
  c.status_line.show(wait_hint);
}

}  // namespace

void select(ControlContext& c) {
  c.start_stop_button.set_caption(std::wstring(caption_start));
  c.control_timer.set_enabled(false);
  c.watch.stop();
  c.unmovable.clear();
  c.status_line.show(wait_hint);
  c.selection_timer.set_interval(selection_interval_ms);
  c.selection_timer.set_enabled(true);
}

Registration registration_for(const std::vector<platform::Target>& entries,
                              const platform::Target& caught) {
  auto same_program = [&](const platform::Target& entry) {
    return platform::window_lookup::same_program_name(entry.program, caught.program);
  };
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].class_name == caught.class_name && same_program(entries[i])) {
      return {Registration::Kind::duplicate, static_cast<int>(i)};
    }
  }
  if (!caught.program.empty()) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].class_name == caught.class_name && entries[i].program.empty()) {
        return {Registration::Kind::narrow, static_cast<int>(i)};
      }
    }
  }
  return {Registration::Kind::append, static_cast<int>(entries.size())};
}

std::optional<std::wstring> shared_class_note(int other_programs, int same_program) {
  std::wstring note;
  if (other_programs > 0) note += shared_with_other_programs;
  if (same_program > 0) {
    if (!note.empty()) note += L"\n";
    note += shared_within_program;
  }
  if (note.empty()) return std::nullopt;
  return note;
}

void selection_tick(ControlContext& c) {
  HWND fg = platform::foreground::foreground_window();
  std::wstring name = platform::foreground::class_name(fg);
  if (fg == c.main) return;  // the user is still on the main window: look again next time
  // The taskbar, the desktop or the Start menu is never the window the user means, and
  // registering it would bury the taskbar at every later click on it: look again next time.
  if (c.programs.record_of(fg).shell) return;

  // Off before the first box: the boxes' modal loops keep dispatching timer messages, and one
  // selection must not start while another waits for an answer.
  c.selection_timer.set_enabled(false);
  c.status_line.show(taken_status);
  // The test move. The window is the foreground window, which Windows never activates again;
  // Wine 8 does, and activating would bring it to the top instead: SWP_NOACTIVATE keeps the
  // move a move to the bottom on both.
  // A window whose owner the user cannot see (a classic framework's application window) would
  // stop just above that owner on Windows: the owner goes first, as the push moves it.
  constexpr UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
  HWND owner = platform::window_visibility::root_owner(fg);
  if (owner != fg && platform::window_visibility::unseen(owner)) {
    c.mover.set_window_pos(owner, HWND_BOTTOM, flags);
  }
  platform::z_order::MoveResult move = c.mover.set_window_pos(fg, HWND_BOTTOM, flags);
  if (move.error == ERROR_ACCESS_DENIED) {
    // Its program runs as administrator: nothing moved, and the question could only be answered
    // No. The status line says why, and the wait goes on.
    c.status_line.show(unmovable_text(name));
    c.selection_timer.set_enabled(true);
    return;
  }

  if (ask_box(c, box_moved, MB_YESNO) == IDYES) {
    // With no window in front there is no name, and nothing to register.
    if (name.empty()) return;
    platform::Target caught{name, recorded_program(fg)};
    Registration registration = registration_for(entries_of(c.target_list), caught);
    if (registration.kind == Registration::Kind::append) c.target_list.append(caught);
    if (registration.kind == Registration::Kind::narrow) {
      c.target_list.replace(registration.position, caught);
    }
    note_shared_class(c, fg, caught);
    if (registration.kind != Registration::Kind::append) return;
    if (ask_box(c, box_start, MB_YESNO) == IDYES) start_stop(c);
    return;
  }
  if (ask_box(c, box_retry, MB_OKCANCEL) == IDOK) wait_again(c);
}

}  // namespace lorvane::control
