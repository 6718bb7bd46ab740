#include "app/layout.h"

namespace lorvane::app {

Layout layout_for(int w, int h) {
  Layout layout{};
  for (int id = id_list_label; id <= id_idle_threshold_box; ++id) {
    layout.rects[static_cast<std::size_t>(id - id_list_label)] =
        designed_rect(static_cast<ControlId>(id));
  }
  auto at = [&](ControlId id) -> TwipsRect& {
    return layout.rects[static_cast<std::size_t>(id - id_list_label)];
  };
  // The button column and the About button follow the right edge, the check box follows the
  // bottom edge, and the list grows with the window.
  at(id_front_display_option).top = h - 1140;
  at(id_start_stop_button).left = w - 870;
  at(id_select_button).left = w - 870;
  at(id_target_list).width = w - 960;
  at(id_target_list).height = h - 1770;
  at(id_about_button).left = w - 1470;
  at(id_save_button).left = w - 870;
  at(id_delete_button).left = w - 870;
  at(id_move_up_button).left = w - 870;
  at(id_move_down_button).left = w - 870;
  return layout;
}

}  // namespace lorvane::app
