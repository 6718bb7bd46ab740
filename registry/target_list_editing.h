#pragma once
// The buttons that edit the target list: Move up, Move down and Delete act on the selected entry.
#include "platform/controls.h"

namespace lorvane::registry {

void move_up(ListBox& list1);
void move_down(ListBox& list1);
void delete_selected(ListBox& list1);

}  // namespace lorvane::registry
