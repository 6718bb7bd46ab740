#include "platform/message_box.h"

namespace lorvane::platform {

int ask(HWND owner, const std::wstring& text, const std::wstring& title, UINT buttons) {
  // A question comes from a program in the background, six seconds after the user turned to
  // another window: without these the foreground lock may leave the box behind that window, with
  // the keys going elsewhere.
  return ::MessageBoxW(owner, text.c_str(), title.c_str(),
                       buttons | MB_DEFBUTTON1 | MB_APPLMODAL | MB_SETFOREGROUND | MB_TOPMOST);
}

namespace {

BOOL CALLBACK cancel_if_owned(HWND window, LPARAM owner) {
  wchar_t class_name[16] = {};
  ::GetClassNameW(window, class_name, 16);
  if (::GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner) &&
      std::wstring(class_name) == L"#32770") {
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
  return TRUE;
}

}  // namespace

void cancel_asks(HWND owner) {
  ::EnumThreadWindows(::GetCurrentThreadId(), cancel_if_owned, reinterpret_cast<LPARAM>(owner));
}

}  // namespace lorvane::platform
