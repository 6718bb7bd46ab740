#include "platform/message_box.h"

namespace lorvane::platform {

int ask(HWND owner, const std::wstring& text, const std::wstring& title, UINT buttons) {
  // A question comes from a program in the background, six seconds after the user turned to
  // another window: without these the foreground lock may leave the box behind that window, with
  // the keys going elsewhere.
  return ::MessageBoxW(owner, text.c_str(), title.c_str(),
                       buttons | MB_DEFBUTTON1 | MB_APPLMODAL | MB_SETFOREGROUND | MB_TOPMOST);
}

}  // namespace lorvane::platform
