#pragma once
// The program's only questions to the user: modal boxes with no icon and the first button as
// default, brought to the front and kept above other windows.
#include <windows.h>

#include <string>

namespace lorvane::platform {

// buttons is MB_YESNO, MB_OKCANCEL or MB_RETRYCANCEL; returns the button pressed (IDYES, IDOK,
// ...).
int ask(HWND owner, const std::wstring& text, const std::wstring& title, UINT buttons);

// Ends the boxes of this thread that the owner asked, as their Cancel button would: their ask()
// then returns IDCANCEL.
void cancel_asks(HWND owner);

}  // namespace lorvane::platform
