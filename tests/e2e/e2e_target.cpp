// A stand-in for the application window a user would register (a video player, say): one
// top-level window of the class named on the command line, nothing else.
//
//   e2e_target.exe --class NAME [--title TEXT] [--hang-when-active] [--full-screen] [--hidden]
//                  [--minimised] [--owner hidden|sizeless] [--desktop]
//
// --hidden keeps the window hidden, as a program keeps a window for its own use; --minimised shows
// it minimised. Neither takes the foreground.
//
// --full-screen makes the window a popup without a title bar over the whole screen, as a film or
// a game shows itself.
//
// --owner gives the window an owner, as programs made with classic frameworks own their main
// window by an application window: a hidden one (class NAME_Owner), or a shown one of no size.
//
// --desktop stands in for the shell's desktop window as Windows keeps it (see
// harness::DesktopStandIn): a full-screen tool window, never activated, registered with
// SetShellWindow, that goes back to the bottom whenever it finds another window below it.
//
// --hang-when-active makes the GUI thread stop pumping messages for good once the window has
// been activated, as a program that freezes while the user is on it. The process ends when its
// window is closed, or when the test kills it.
#include <windows.h>
// needs the types of windows.h
#include <shellapi.h>

#include <memory>
#include <string>

#include "harness/lorvane_harness.h"
#include "platform/late_bound.h"

namespace {

constexpr UINT hang_now = WM_APP + 1;
bool hang_when_active = false;

LRESULT CALLBACK target_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ACTIVATE:
      // Posted, not done here: the activation itself completes, so the window really is the
      // foreground window when its thread stops answering.
      if (hang_when_active && LOWORD(wparam) != WA_INACTIVE) ::PostMessageW(window, hang_now, 0, 0);
      break;
    case hang_now: ::Sleep(INFINITE); return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: break;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

// How often the desktop looks whether it still lies last: nothing tells a window that another
// went below it.
constexpr UINT keep_last_ms = 10;

LRESULT CALLBACK desktop_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_TIMER:
      if (::GetWindow(window, GW_HWNDLAST) != window) {
        ::SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
      return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: break;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

HWND show_desktop(const std::wstring& class_name) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = desktop_proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_DESKTOP + 1);
  wc.lpszClassName = class_name.c_str();
  if (::RegisterClassExW(&wc) == 0) return nullptr;
  // A tool window has no taskbar button, and one that is never activated never takes the
  // foreground from the user's windows.
  HWND window = ::CreateWindowExW(
      WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, class_name.c_str(), L"", WS_POPUP,
      ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
      ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN), nullptr,
      nullptr, instance, nullptr);
  if (window == nullptr) return nullptr;
  ::SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  // Not declared by every SDK's headers: looked up by name, as the shell itself would.
  using SetShell = BOOL(WINAPI*)(HWND);
  auto set_shell = lorvane::platform::look_up<SetShell>(L"user32.dll", "SetShellWindow");
  if (set_shell == nullptr || !set_shell(window)) return nullptr;
  ::SetTimer(window, 1, keep_last_ms, nullptr);
  return window;
}

// The application window of a classic framework: a popup with a caption, as the framework makes
// it, hidden or shown at no size.
HWND make_owner(const std::wstring& class_name, bool hidden) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = class_name.c_str();
  ::RegisterClassExW(&wc);
  HWND owner = ::CreateWindowExW(0, class_name.c_str(), L"e2e target",
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 200, 200, 0,
                                 0, nullptr, nullptr, instance, nullptr);
  if (owner != nullptr && !hidden) ::ShowWindow(owner, SW_SHOWNOACTIVATE);
  return owner;
}

struct ArgvDeleter {
  void operator()(LPWSTR* argv) const noexcept { ::LocalFree(argv); }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int argc = 0;
  std::unique_ptr<LPWSTR, ArgvDeleter> argv(::CommandLineToArgvW(::GetCommandLineW(), &argc));
  if (!argv) return 2;
  std::wstring class_name;
  std::wstring title = L"e2e target";
  bool full_screen = false;
  bool hidden = false;
  bool minimised = false;
  bool desktop = false;
  std::wstring owner_shape;
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv.get()[i];
    if (arg == L"--class" && i + 1 < argc) {
      class_name = argv.get()[++i];
    } else if (arg == L"--title" && i + 1 < argc) {
      title = argv.get()[++i];
    } else if (arg == L"--hang-when-active") {
      hang_when_active = true;
    } else if (arg == L"--full-screen") {
      full_screen = true;
    } else if (arg == L"--hidden") {
      hidden = true;
    } else if (arg == L"--minimised") {
      minimised = true;
    } else if (arg == L"--owner" && i + 1 < argc) {
      owner_shape = argv.get()[++i];
    } else if (arg == L"--desktop") {
      desktop = true;
    }
  }
  if (class_name.empty()) return 2;
  HWND owner = nullptr;
  if (desktop) {
    if (show_desktop(class_name) == nullptr) return 4;
  } else if (!owner_shape.empty()) {
    owner = make_owner(class_name + L"_Owner", owner_shape == L"hidden");
    if (owner == nullptr) return 4;
  }

  // Placed where the system puts a new window, as the user's program would be.
  const RECT place{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + 320, CW_USEDEFAULT + 200};
  if (!desktop) {
    HWND window = lorvane::harness::show_window_of_class(
        class_name, target_proc, place, nullptr,
        full_screen ? lorvane::harness::Shape::full_screen : lorvane::harness::Shape::normal,
        hidden || minimised ? lorvane::harness::Activation::not_activated
                            : lorvane::harness::Activation::activated,
        owner);
    if (window == nullptr) return 4;
    ::SetWindowTextW(window, title.c_str());
    if (hidden) ::ShowWindow(window, SW_HIDE);
    if (minimised) ::ShowWindow(window, SW_SHOWMINNOACTIVE);
  }

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
