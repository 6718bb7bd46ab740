#include "app/layout.h"

namespace lorvane::app {

Layout layout_for(int w, int h) {
  Layout layout{};
  for (int id = id_label1; id <= id_text1; ++id) {
    layout.rects[static_cast<std::size_t>(id - id_label1)] =
        designed_rect(static_cast<ControlId>(id));
  }
  auto at = [&](ControlId id) -> TwipsRect& {
    return layout.rects[static_cast<std::size_t>(id - id_label1)];
  };
  // The button column and the About button follow the right edge, the check box follows the
  // bottom edge, and the list grows with the window.
  at(id_check1).top = h - 1140;
  at(id_command1).left = w - 870;
  at(id_command3).left = w - 870;
  at(id_list1).width = w - 960;
  at(id_list1).height = h - 1770;
  at(id_command5).left = w - 1470;
  at(id_command8).left = w - 870;
  at(id_command9).left = w - 870;
  at(id_command10).left = w - 870;
  at(id_command11).left = w - 870;
  return layout;
}

}  // namespace lorvane::app
