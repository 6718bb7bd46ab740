#pragma once
// The program's message loop.
#include "app/main_window.h"

namespace lorvane::app {

// Runs until WM_QUIT and returns its exit code. Tab, Enter and Esc move between and press the
// controls of whichever of our windows has them. While the main window holds raw input back,
// WM_INPUT stays in the queue and does not wake the program; once the hold has lasted its time,
// the main window reads it all in one go.
int run_message_loop(MainWindow& main_window);

}  // namespace lorvane::app
