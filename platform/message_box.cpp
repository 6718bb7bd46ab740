#include "platform/message_box.h"

namespace lorvane::platform {

int ask(HWND owner, const std::wstring& text, const std::wstring& title, UINT buttons) {
  return ::MessageBoxW(owner, text.c_str(), title.c_str(), buttons | MB_DEFBUTTON1 | MB_APPLMODAL);
}

}  // namespace lorvane::platform
