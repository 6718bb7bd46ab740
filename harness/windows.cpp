// Windows of a class made for a test or a bench, the Z-order, and the notification area.
#include "harness/lorvane_harness.h"

#include <shellapi.h>

#include <algorithm>
#include <string_view>

namespace lorvane::harness {

HWND show_window_of_class(const std::wstring& class_name, WNDPROC proc, const RECT& place,
                          void* param, Shape shape, Activation activation, HWND owner) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = class_name.c_str();
  ::RegisterClassExW(&wc);  // a class registered for an earlier window stays registered
  RECT at = place;
  DWORD style = WS_OVERLAPPEDWINDOW;
  if (shape == Shape::full_screen) {
    style = WS_POPUP;
    at.left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    at.top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    at.right = at.left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    at.bottom = at.top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  }
  // Created shown, a window activates as a program's new window does.
  if (activation == Activation::activated) style |= WS_VISIBLE;
  HWND window =
      ::CreateWindowExW(0, class_name.c_str(), class_name.c_str(), style, at.left, at.top,
                        at.right - at.left, at.bottom - at.top, owner, nullptr, instance, param);
  if (window == nullptr) return nullptr;
  if (shape == Shape::maximised) {
    ::ShowWindow(window, SW_SHOWMAXIMIZED);
  } else if (activation == Activation::not_activated) {
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
  }
  return window;
}

std::vector<HWND> top_level_windows() {
  std::vector<HWND> windows;
  for (HWND w = ::GetTopWindow(nullptr); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
    windows.push_back(w);
  }
  return windows;
}

std::vector<HWND> visible_top_level_windows() {
  std::vector<HWND> windows = top_level_windows();
  std::erase_if(windows, [](HWND w) { return !::IsWindowVisible(w); });
  return windows;
}

bool is_topmost(HWND window) {
  return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

int z_position(HWND window) {
  std::vector<HWND> windows = top_level_windows();
  auto at = std::find(windows.begin(), windows.end(), window);
  return at == windows.end() ? -1 : static_cast<int>(at - windows.begin());
}

bool is_below(HWND lower, HWND upper) {
  int l = z_position(lower);
  int u = z_position(upper);
  return l >= 0 && u >= 0 && u < l;
}

std::vector<HWND> windows_as_seen() {
  std::vector<HWND> windows = visible_top_level_windows();
  // As the user's eye finds it: the desktop and the taskbar are no windows over it (Wine keeps its
  // taskbar out of the topmost band, low in the Z-order), and neither is a minimised window or one
  // of no size.
  HWND desktop = ::GetShellWindow();
  std::erase_if(windows, [desktop](HWND w) {
    wchar_t name[32] = {};
    ::GetClassNameW(w, name, 32);
    RECT r{};
    return w == desktop || std::wstring_view(name) == L"Shell_TrayWnd" ||
           std::wstring_view(name) == L"Shell_SecondaryTrayWnd" || ::IsIconic(w) ||
           !::GetWindowRect(w, &r) || ::IsRectEmpty(&r);
  });
  return windows;
}

HWND last_visible_window() {
  std::vector<HWND> windows = windows_as_seen();
  return windows.empty() ? nullptr : windows.back();
}

bool is_last_visible(HWND window) { return window != nullptr && last_visible_window() == window; }

void bring_to_front(HWND window) {
  UINT flags = SWP_NOMOVE | SWP_NOSIZE;
  // A window that does not answer is raised by its own thread once it answers again, never
  // waited for; one that answers is on top when this returns.
  if (!send(window, WM_NULL, 0, 0, nullptr, 100)) flags |= SWP_ASYNCWINDOWPOS;
  ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, flags);
  ::SetForegroundWindow(window);
}

bool tray_icon_present(HWND window) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = window;
  record.uID = 0;
  record.uFlags = 0;  // change nothing
  return ::Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

bool delete_tray_icon(HWND window) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = window;
  record.uID = 0;
  return ::Shell_NotifyIconW(NIM_DELETE, &record) != FALSE;
}

std::wstring message_box_text(HWND box) {
  // The message is the static control with id 0xFFFF.
  HWND text = ::GetDlgItem(box, 0xFFFF);
  if (text == nullptr) return {};
  wchar_t buffer[1024] = {};
  ::GetWindowTextW(text, buffer, 1024);
  return buffer;
}

}  // namespace lorvane::harness
