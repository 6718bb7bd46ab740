#include "settings/list_edits.h"

namespace lorvane::settings {
namespace {

bool inside(int position, int count) { return position >= 0 && position < count; }

}  // namespace

std::optional<Swap> plan_move_up(int selected, int count) {
  if (!inside(selected, count) || selected == 0) return std::nullopt;
  return Swap{selected, selected - 1, selected - 1};
}

std::optional<Swap> plan_move_down(int selected, int count) {
  if (!inside(selected, count) || selected + 1 == count) return std::nullopt;
  return Swap{selected, selected + 1, selected + 1};
}

std::optional<Removal> plan_delete(int selected, int count) {
  if (!inside(selected, count)) return std::nullopt;
  int remaining = count - 1;
  int select = -1;
  if (selected < remaining) {
    select = selected;
  } else if (selected == remaining && selected > 0) {
    select = selected - 1;
  }
  return Removal{selected, select};
}

}  // namespace lorvane::settings
