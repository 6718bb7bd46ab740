#pragma once
// The buttons that edit the target list: Move up, Move down and Delete act on the selected entry.
#include "platform/controls.h"

namespace lorvane::settings {

void move_up(platform::ListBox& target_list);
void move_down(platform::ListBox& target_list);
void delete_selected(platform::ListBox& target_list);

}  // namespace lorvane::settings
