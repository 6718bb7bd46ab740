// Lorvane: keeps registered application windows at the bottom of the Z-order like a wallpaper,
// and raises the first of them while the user is away.
#include <windows.h>

#include "app/main_window.h"

namespace {

// Tab, Enter and Esc move between and press the controls of whichever of our windows has them.
bool dialog_navigation(MSG& msg) {
  HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
  if (root == nullptr) return false;
  wchar_t name[32] = {};
  ::GetClassNameW(root, name, 32);
  if (::lstrcmpW(name, lorvane::app::メイン::class_name) != 0 &&
      ::lstrcmpW(name, lorvane::app::バージョン情報::class_name) != 0) {
    return false;
  }
  return ::IsDialogMessageW(root, &msg) != FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  lorvane::app::メイン main_window;
  if (!main_window.create(instance)) return 1;
  main_window.show_at_start();

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (dialog_navigation(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
