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
  id_label1 = 100,
  id_command5,
  id_list1,
  id_command3,
  id_command10,
  id_command11,
  id_command9,
  id_command8,
  id_command1,
  id_check1,
  id_text1,
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
    case id_label1: return {120, 120, 885, 180};
    case id_command5: return {2040, 0, 1335, 375};
    case id_list1: return {0, 480, 2535, 2760};
    case id_command3: return {2640, 480, 735, 375};
    case id_command10: return {2640, 960, 735, 375};
    case id_command11: return {2640, 1440, 735, 375};
    case id_command9: return {2640, 1920, 735, 375};
    case id_command8: return {2640, 2400, 735, 375};
    case id_command1: return {2640, 2880, 735, 375};
    case id_check1: return {120, 3360, 3135, 615};
    case id_text1: return {1800, 1080, 615, 270};
  }
  return {0, 0, 0, 0};
}

// The ten layout steps for an outer size of W × H twips (the minimum already applied): every
// control's rectangle, the designed values where no step moves it.
struct Layout {
  std::array<TwipsRect, id_text1 - id_label1 + 1> rects;
  const TwipsRect& operator[](ControlId id) const {
    return rects[static_cast<std::size_t>(id - id_label1)];
  }
};

Layout layout_for(int outer_width, int outer_height);

}  // namespace lorvane::app
