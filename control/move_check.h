#pragma once
// Moves handed to windows whose program could not be read (another user's, or one that guards its
// process): the system queues them without a word, so whether one took shows only in the window's
// place at the next tick. A window whose moves never take counts as refused until control stops.
#include <windows.h>

#include <functional>
#include <vector>

namespace lorvane::control {

class MoveCheck {
 public:
  // Looks in a row that found a window's move not taken before it counts as refused. A window
  // raised by a click of the user between two ticks, or a thread slow to carry the move out, may
  // miss one look.
  static constexpr int misses_before_refused = 3;

  // A move was queued to the window: to the topmost band, or to the bottom. It replaces one still
  // unlooked at, which it has overtaken.
  void queued(HWND window, bool to_topmost);
  // At the tick: whether each move queued since the last look took, as in_place(window,
  // to_topmost) tells from the window's place now.
  void look(const std::function<bool(HWND, bool)>& in_place);
  bool refused(HWND window) const;
  void clear();

 private:
  struct Pending {
    HWND window;
    bool to_topmost;
  };
  struct Misses {
    HWND window;
    int count;
  };
  std::vector<Pending> pending_;
  std::vector<HWND> movable_;  // a move took once: its program lets us move it
  std::vector<Misses> misses_;
  std::vector<HWND> refused_;
};

}  // namespace lorvane::control
