#pragma once
// The program's name in the title bars of its windows and message boxes: one text, so that a box
// of the wizard, of the start and of the main window read alike.

namespace lorvane::control {

inline constexpr const wchar_t* program_title = L"Lorvane";

}  // namespace lorvane::control
