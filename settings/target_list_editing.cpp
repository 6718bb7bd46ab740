#include "settings/target_list_editing.h"

#include "settings/list_edits.h"

namespace lorvane::settings {
namespace {

void apply(platform::ListBox& target_list, const std::optional<Swap>& swap) {
  if (!swap) return;
  // Whole entries change places: the class and the program go together.
  platform::Target moved = target_list.target(swap->first);
  target_list.replace(swap->first, target_list.target(swap->second));
  target_list.replace(swap->second, moved);
  target_list.select(swap->select);
}

}  // namespace

void move_up(platform::ListBox& target_list) {
  apply(target_list, plan_move_up(target_list.selected(), target_list.count()));
}

void move_down(platform::ListBox& target_list) {
  apply(target_list, plan_move_down(target_list.selected(), target_list.count()));
}

void delete_selected(platform::ListBox& target_list) {
  // The list box removes the entry in place: the entries before it stay, those after it close
  // up, for a list of any length.
  if (auto removal = plan_delete(target_list.selected(), target_list.count())) {
    target_list.remove(removal->position);
    target_list.select(removal->select);
  }
}

}  // namespace lorvane::settings
