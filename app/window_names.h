#pragma once
// The names of the program's own windows. Another copy of Lorvane, perhaps of another version,
// finds the running one by the main window's class, and so do the tests, the bench and the tools
// that start the program: the names live here, in a header that includes only the title.
#include "control/program_title.h"

namespace lorvane::app {

inline constexpr const wchar_t* main_window_class = L"LorvaneMain";
inline constexpr const wchar_t* about_box_class = L"LorvaneAbout";
inline constexpr const wchar_t* window_caption = control::program_title;

}  // namespace lorvane::app
