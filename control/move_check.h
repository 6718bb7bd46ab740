#pragma once
// Moves handed to windows whose program could not be read (another user's, or one that guards its
// process): the system queues them without a word, so whether one took shows only in the window's
// place a tick later. A window whose moves never take counts as refused until control stops.
#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

namespace lorvane::control {

class MoveCheck {
 public:
  // Looks in a row that found a window's move not taken before it counts as refused. A window
  // raised by a click of the user between two ticks, or a thread slow to carry the move out, may
  // miss one look.
  static constexpr int misses_before_refused = 3;
  // A move is looked at once this long has passed since it was queued: a busy program carries a
  // move queued by the click's tick out when it gets to it, and a full tick is its time.
  static constexpr DWORD look_after_ms = 1000;

  // A move queued to the window at the tick count `at`: to the topmost band, or to the bottom,
  // where the window that lay directly under it (`below`, null for none) shows whether it went
  // down. It replaces one still unlooked at, which it has overtaken.
  void queued(HWND window, bool to_topmost, HWND below, DWORD at);
  // A move queued to the window whose outcome its place cannot tell (it lay right on the desktop
  // already): it overtakes the one still unlooked at, and nothing is looked at.
  void queued_untold(HWND window);
  // Whether a move waits to be looked at.
  bool pending() const { return !pending_.empty(); }
  // At the tick, at the tick count `now`: whether each move queued at least look_after_ms ago
  // took, as in_place(window, to_topmost, below) tells from the window's place now, or none where
  // the place tells nothing (a move that counts neither way). Younger moves wait for a later look.
  void look(DWORD now, const std::function<std::optional<bool>(HWND, bool, HWND)>& in_place);
  bool refused(HWND window) const;
  void clear();

 private:
  struct Pending {
    HWND window;
    bool to_topmost;
    HWND below;
    DWORD at;
  };
  struct Misses {
    HWND window;
    int count;
  };
  void judge(const Pending& p, bool took);

  std::vector<Pending> pending_;
  std::vector<HWND> movable_;  // a move took once: its program lets us move it
  std::vector<Misses> misses_;
  std::vector<HWND> refused_;
};

}  // namespace lorvane::control
