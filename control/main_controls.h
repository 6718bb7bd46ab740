#pragma once
// The main window's controls that the control cycle and the selection wizard act on. The state
// of both lives in these controls: the caption of the Start/Stop button is the control
// state, the control timer running is control running, and the caption of the front-display
// option is the status line.
#include <windows.h>

#include "control/cycle_watch.h"
#include "control/unmovable_notice.h"
#include "control/window_programs.h"
#include "platform/controls.h"
#include "platform/input_clock.h"
#include "platform/window_visibility.h"
#include "platform/z_order.h"

namespace lorvane::control {

struct MainControls {
  HWND main;  // the main window: never pushed down, and never taken by the wizard
  platform::ListBox target_list;
  platform::Button start_stop_button;
  platform::CheckBox front_display_option;
  platform::TextBox idle_threshold_box;
  platform::Timer& selection_timer;
  platform::Timer& control_timer;
  const platform::InputClock& clock;
  CycleWatch& watch;
  const platform::WindowMover& mover;
  UnmovableNotice& unmovable;
  const platform::Cloaking& cloaking;
  WindowPrograms& programs;
};

}  // namespace lorvane::control
