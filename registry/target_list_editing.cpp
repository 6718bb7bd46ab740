#include "registry/target_list_editing.h"

#include "registry/list_edits.h"

namespace lorvane::registry {
namespace {

void apply(ListBox& list1, const std::optional<Swap>& swap) {
  if (!swap) return;
  std::wstring moved = list1.item(swap->first);
  list1.replace(swap->first, list1.item(swap->second));
  list1.replace(swap->second, moved);
  list1.select(swap->select);
}

}  // namespace

void move_up(ListBox& list1) { apply(list1, plan_move_up(list1.selected(), list1.count())); }

void move_down(ListBox& list1) { apply(list1, plan_move_down(list1.selected(), list1.count())); }

void delete_selected(ListBox& list1) {
  // The list box removes the entry in place: the entries before it stay, those after it close
  // up, for a list of any length.
  if (auto removal = plan_delete(list1.selected(), list1.count())) {
    list1.remove(removal->position);
    list1.select(removal->select);
  }
}

}  // namespace lorvane::registry
