// A stand-in for the application window a user would register (a video player, say): one
// top-level window of the class named on the command line, nothing else.
//
//   e2e_target.exe --class NAME [--title TEXT] [--hang-when-active] [--full-screen] [--hidden]
//                  [--minimised]
//
// --hidden keeps the window hidden, as a program keeps a window for its own use; --minimised shows
// it minimised. Neither takes the foreground.
//
// --full-screen makes the window a popup without a title bar over the whole screen, as a film or
// a game shows itself.
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
    }
  }
  if (class_name.empty()) return 2;

  // Placed where the system puts a new window, as the user's program would be.
  const RECT place{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + 320, CW_USEDEFAULT + 200};
  HWND window = lorvane::harness::show_window_of_class(
      class_name, target_proc, place, nullptr,
      full_screen ? lorvane::harness::Shape::full_screen : lorvane::harness::Shape::normal,
      hidden || minimised ? lorvane::harness::Activation::not_activated
                          : lorvane::harness::Activation::activated);
  if (window == nullptr) return 4;
  ::SetWindowTextW(window, title.c_str());
  if (hidden) ::ShowWindow(window, SW_HIDE);
  if (minimised) ::ShowWindow(window, SW_SHOWMINNOACTIVE);

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
