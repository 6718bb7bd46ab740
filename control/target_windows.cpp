#include "control/target_windows.h"

#include "platform/foreground.h"
#include "platform/window_lookup.h"
#include "platform/z_order.h"

namespace lorvane::control {
namespace {

// A bound on the windows of one class that a raise looks through: the walk follows the Z-order,
// which other programs may change under it.
constexpr int most_windows_of_a_class = 1024;
// A bound on the windows the push looks through below the window in front, and the raise above
// the raised window: past this many the window is simply moved, which costs one call.
constexpr int most_windows_nearby = 32;

bool same_program(HWND window, const platform::Target& entry, WindowPrograms& programs) {
  if (entry.program.empty()) return true;
  return platform::window_lookup::same_program_name(programs.program_of(window), entry.program);
}

}  // namespace

std::vector<platform::Target> entries_of(const platform::ListBox& list) {
  std::vector<platform::Target> entries;
  int n = list.count();
  entries.reserve(static_cast<std::size_t>(n > 0 ? n : 0));
  for (int i = 0; i < n; ++i) entries.push_back(list.target(i));
  return entries;
}

std::optional<std::size_t> entry_of(HWND window, const std::vector<platform::Target>& entries,
                                    WindowPrograms& programs) {
  if (window == nullptr || entries.empty()) return std::nullopt;
  std::wstring name = platform::foreground::class_name(window);
  if (name.empty()) return std::nullopt;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (platform::window_lookup::same_class_name(name, entries[i].class_name) &&
        same_program(window, entries[i], programs)) {
      return i;
    }
  }
  return std::nullopt;
}

RaiseCandidate raise_candidate(const platform::Target& entry, WindowPrograms& programs,
                               const platform::Cloaking& cloaking, HWND raised) {
  RaiseCandidate found;
  HWND form = nullptr;  // the best of the windows that are not tool windows, so far
  std::uint32_t form_pushed = 0;
  HWND tool = nullptr;  // the highest tool window
  platform::window_lookup::ClassWalk walk(entry.class_name);
  int looked_at = 0;
  for (HWND w = walk.next(); w != nullptr && looked_at < most_windows_of_a_class;
       w = walk.next(), ++looked_at) {
    if (w == raised && raised != nullptr) {
      if (!platform::window_visibility::shown(w) || cloaking.cloaked(w)) continue;
      found.window = w;
      return found;
    }
    // The cheap questions first; the program is read only for a window that shows and is not
    // cloaked.
    if (!platform::window_visibility::on_screen(w)) continue;
    if (cloaking.cloaked(w)) continue;
    if (!same_program(w, entry, programs)) continue;
    const WindowRecord& record = programs.record_of(w);
    if (record.shell) {
      if (form == nullptr && tool == nullptr) found.shell_passed_over = true;
      continue;
    }
    if (platform::window_visibility::owned_tool_window(w)) {
      if (tool == nullptr) tool = w;
      continue;
    }
    if (form == nullptr || record.pushed > form_pushed) {
      form = w;
      form_pushed = record.pushed;
    }
    // No window can come before the one pushed last; and with none pushed, the highest is it.
    if (form_pushed == programs.last_push()) break;
  }
  found.window = form != nullptr ? form : tool;
  return found;
}

bool at_bottom(HWND window, const platform::Cloaking& cloaking, WindowPrograms& programs) {
  int looked_at = 0;
  for (HWND w = platform::z_order::next_below(window); w != nullptr;
       w = platform::z_order::next_below(w)) {
    if (++looked_at > most_windows_nearby) return false;
    // The cheap question first, and whether it is cloaked before its program is read (many of
    // the shell's hosts are cloaked while they show nothing); the shell's windows are the
    // desktop, kept last on Windows.
    if (platform::window_visibility::unseen(w)) continue;
    if (cloaking.cloaked(w)) continue;
    if (programs.record_of(w).shell) continue;
    return false;
  }
  return true;
}

bool at_top(HWND window, const platform::Cloaking& cloaking) {
  if (!platform::z_order::is_topmost(window)) return false;
  int looked_at = 0;
  for (HWND w = platform::z_order::next_above(window); w != nullptr;
       w = platform::z_order::next_above(w)) {
    if (++looked_at > most_windows_nearby) return false;
    if (platform::window_visibility::unseen(w)) continue;
    if (platform::window_visibility::owned_by(w, window)) continue;
    if (cloaking.cloaked(w)) continue;
    return false;
  }
  return true;
}

}  // namespace lorvane::control
