#pragma once
// The main window's controls that the control cycle and the selection wizard act on. The state
// of both lives in these controls: the caption of Command1 is the control state, Timer2 running
// is control running, and the caption of Check1 is the status line.
#include <windows.h>

#include "platform/controls.h"
#include "platform/キーボード入力監視.h"

namespace lorvane::control {

struct MainControls {
  HWND main;  // the main window: never pushed down, and never taken by the wizard
  ListBox list1;
  Button command1;
  CheckBox check1;
  TextBox text1;
  Timer& timer1;
  Timer& timer2;
  const キーボード入力監視::InputClock& clock;
};

}  // namespace lorvane::control
