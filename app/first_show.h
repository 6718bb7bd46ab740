#pragma once
// How the main window is first shown, from the show command the program was started with (a
// shortcut's "Run: minimised" or "maximised", or a program that starts it in the background).
#include <windows.h>

#include "platform/window_state.h"

namespace lorvane::app {

struct FirstShow {
  platform::WindowState state;
  // Whether the window takes the foreground and the keyboard.
  bool activate;
};

constexpr FirstShow first_show(int show_command) {
  using platform::WindowState;
  switch (show_command) {
    // Started hidden, the program is reachable through its icon all the same: minimised, the
    // window lives there.
    case SW_HIDE:
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE: return {WindowState::minimised, false};
    case SW_SHOWMAXIMIZED: return {WindowState::maximised, true};
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA: return {WindowState::normal, false};
    default: return {WindowState::normal, true};
  }
}

}  // namespace lorvane::app
