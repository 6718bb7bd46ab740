#pragma once
// The buttons that edit the target list: Move up, Move down and Delete act on the selected entry.
#include "platform/controls.h"

namespace lorvane::registry {

void move_up(ListBox& target_list);
void move_down(ListBox& target_list);
void delete_selected(ListBox& target_list);

}  // namespace lorvane::registry
