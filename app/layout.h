#pragma once
// The main window's geometry: the designed place of every control, and where the controls go
// when the window changes size. All in twips.
#include <array>

namespace lorvane::app {

struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

// Control identifiers of the main window.
enum ControlId : int {
  id_list_label = 100,
  id_about_button,
  id_target_list,
  id_select_button,
  id_move_up_button,
  id_move_down_button,
  id_delete_button,
  id_save_button,
  id_start_stop_button,
  id_front_display_option,
  id_idle_threshold_box,
};

// The frame the window was designed with: the outer size W × H that the layout formulas use is
// the client area plus this frame, whatever the real frame of the running system measures, so
// that the controls keep their place in the client area under any theme.
inline constexpr int design_frame_width = 60 + 60;
inline constexpr int design_frame_height = 345 + 60;
inline constexpr int designed_client_width = 3375;
inline constexpr int designed_client_height = 4125;
inline constexpr int minimum_outer_width = 3540;
inline constexpr int minimum_outer_height = 4530;

constexpr TwipsRect designed_rect(ControlId id) {
  switch (id) {
    case id_list_label: return {120, 120, 885, 180};
    case id_about_button: return {2040, 0, 1335, 375};
    case id_target_list: return {0, 480, 2535, 2760};
    case id_select_button: return {2640, 480, 735, 375};
    case id_move_up_button: return {2640, 960, 735, 375};
    case id_move_down_button: return {2640, 1440, 735, 375};
    case id_delete_button: return {2640, 1920, 735, 375};
    case id_save_button: return {2640, 2400, 735, 375};
    case id_start_stop_button: return {2640, 2880, 735, 375};
    case id_front_display_option: return {120, 3360, 3135, 615};
    case id_idle_threshold_box: return {1800, 1080, 615, 270};
  }
  return {0, 0, 0, 0};
}

// The ten layout steps for an outer size of W × H twips (the minimum already applied): every
// control's rectangle, the designed values where no step moves it.
struct Layout {
  std::array<TwipsRect, id_idle_threshold_box - id_list_label + 1> rects;
  const TwipsRect& operator[](ControlId id) const {
    return rects[static_cast<std::size_t>(id - id_list_label)];
  }
};

Layout layout_for(int outer_width, int outer_height);

}  // namespace lorvane::app
