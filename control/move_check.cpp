#include "control/move_check.h"

#include <algorithm>

namespace lorvane::control {
namespace {

template <class List, class Value>
bool contains(const List& list, const Value& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

void MoveCheck::queued(HWND window, bool to_topmost, HWND below, DWORD at) {
  if (contains(movable_, window) || contains(refused_, window)) return;
  for (Pending& p : pending_) {
    if (p.window == window) {
      p = {window, to_topmost, below, at};
      return;
    }
  }
  pending_.push_back({window, to_topmost, below, at});
}

void MoveCheck::queued_untold(HWND window) {
  std::erase_if(pending_, [window](const Pending& p) { return p.window == window; });
}

void MoveCheck::judge(const Pending& p, bool took) {
  auto missed = std::find_if(misses_.begin(), misses_.end(),
                             [&](const Misses& m) { return m.window == p.window; });
  if (took) {
    movable_.push_back(p.window);
    if (missed != misses_.end()) misses_.erase(missed);
    return;
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

void MoveCheck::look(DWORD now,
                     const std::function<std::optional<bool>(HWND, bool, HWND)>& in_place) {
  // Tick counts wrap after 49.7 days: the difference, taken unsigned, is the time that passed.
  auto due = [now](const Pending& p) { return now - p.at >= look_after_ms; };
  for (const Pending& p : pending_) {
    if (!due(p)) continue;
    std::optional<bool> took = in_place(p.window, p.to_topmost, p.below);
    if (took) judge(p, *took);
  }
  std::erase_if(pending_, due);
}

bool MoveCheck::refused(HWND window) const { return contains(refused_, window); }

void MoveCheck::clear() {
  pending_.clear();
  movable_.clear();
  misses_.clear();
  refused_.clear();
}

}  // namespace lorvane::control
