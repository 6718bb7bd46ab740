#pragma once
// Move up, Move down and Delete worked out from the selection and the count alone.
#include <optional>

namespace lorvane::settings {

// Two neighbouring positions whose entries change places, and the position selected afterwards.
struct Swap {
  int first;
  int second;
  int select;
};

// Nothing happens with no selection (-1), on the first entry, or for a selection outside the list.
std::optional<Swap> plan_move_up(int selected, int count);
// Nothing happens with no selection, on the last entry, or for a selection outside the list.
std::optional<Swap> plan_move_down(int selected, int count);

struct Removal {
  int position;
  int select;  // -1: nothing selected
};

// The entry at the selection goes; the one that followed it is selected, or else the new last
// entry, or nothing once the list is empty. Nothing happens with no selection.
std::optional<Removal> plan_delete(int selected, int count);

}  // namespace lorvane::settings
