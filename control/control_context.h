#pragma once
// Everything the control cycle and the selection wizard act on: the main window's controls, the
// timers, the input clock, the watch between ticks, the Z-order mover, the notice of refused
// moves, the cloaking query and the programs of the windows compared with entries. The state of
// both lives in the controls: the caption of the Start/Stop button is the control state
// (control_running), and the caption of the front-display option is the status line
// (status_line).
#include <windows.h>

#include "control/cycle_watch.h"
#include "control/raw_input_hold.h"
#include "control/unmovable_notice.h"
#include "control/window_programs.h"
#include "platform/controls.h"
#include "platform/input_clock.h"
#include "platform/window_visibility.h"
#include "platform/z_order.h"

namespace lorvane::control {

struct ControlContext {
  HWND main;  // the main window: never pushed down, and never taken by the wizard
  platform::ListBox target_list;
  platform::Button start_stop_button;
  platform::CheckBox front_display_option;
  platform::StatusLine status_line;  // the front-display option's caption
  platform::TextBox idle_threshold_box;
  platform::Timer& selection_timer;
  platform::Timer& control_timer;
  const platform::InputClock& clock;
  CycleWatch& watch;
  // Raw input left in the queue while clicks are watched; the message loop ends each hold.
  RawInputHold& raw_input_hold;
  const platform::WindowMover& mover;
  UnmovableNotice& unmovable;
  const platform::Cloaking& cloaking;
  WindowPrograms& programs;
};

}  // namespace lorvane::control
