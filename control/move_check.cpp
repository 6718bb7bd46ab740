#include "control/move_check.h"

#include <algorithm>

namespace lorvane::control {
namespace {

template <class List, class Value>
bool contains(const List& list, const Value& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

void MoveCheck::queued(HWND window, bool to_topmost) {
  if (contains(movable_, window) || contains(refused_, window)) return;
  for (Pending& p : pending_) {
    if (p.window == window) {
      p.to_topmost = to_topmost;
      return;
    }
  }
  pending_.push_back({window, to_topmost});
}

void MoveCheck::look(const std::function<bool(HWND, bool)>& in_place) {
  for (const Pending& p : pending_) {
    auto missed = std::find_if(misses_.begin(), misses_.end(),
                               [&](const Misses& m) { return m.window == p.window; });
    if (in_place(p.window, p.to_topmost)) {
      movable_.push_back(p.window);
      if (missed != misses_.end()) misses_.erase(missed);
      continue;
    }
    if (missed == misses_.end()) {
      misses_.push_back({p.window, 1});
      missed = misses_.end() - 1;
    } else {
      ++missed->count;
    }
    if (missed->count >= misses_before_refused) {
      refused_.push_back(p.window);
      misses_.erase(missed);
    }
  }
  pending_.clear();
}

bool MoveCheck::refused(HWND window) const { return contains(refused_, window); }

void MoveCheck::clear() {
  pending_.clear();
  movable_.clear();
  misses_.clear();
  refused_.clear();
}

}  // namespace lorvane::control
