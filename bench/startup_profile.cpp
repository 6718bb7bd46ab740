// Lorvane's start-up, as wWinMain runs it, with the moments in between written down: this
// program builds the real main window from the real code, so nothing in the program itself
// changes. A window-creation hook notes each window as it is made and subclasses the main window
// and the status line, whose own messages then mark the steps; a hook on every sent message is
// avoided, as it would run on each message of the start-up and slow what it measures. It writes
// "profile.txt" beside itself, performance-counter readings of each moment, and then runs until
// its window is closed.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/layout.h"
#include "app/main_window.h"
#include "platform/tray.h"
#include "registry/settings_file.h"

using namespace lorvane;

namespace {

LONGLONG counter() {
  LARGE_INTEGER c;
  ::QueryPerformanceCounter(&c);
  return c.QuadPart;
}

struct Moments {
  LONGLONG entry = 0;
  LONGLONG main_creating = 0;  // CreateWindowEx of the main window begins
  LONGLONG wm_create = 0;      // the main window's WM_CREATE: its frame exists
  LONGLONG first_control = 0;  // its first control is being created
  LONGLONG last_control = 0;   // its last control is being created
  LONGLONG icon_set = 0;       // the first WM_SETICON: CreateWindowEx has returned
  LONGLONG status_line = 0;    // Start/Stop writes the status line: tray and settings done
  LONGLONG show = 0;           // WM_SHOWWINDOW of the main window
  LONGLONG visible = 0;        // WM_WINDOWPOSCHANGED that shows it
  LONGLONG activate = 0;       // its first WM_ACTIVATE
  LONGLONG shown = 0;          // show_at_start has returned
};

Moments moments;
HHOOK cbt = nullptr;
HWND main_window = nullptr;
WNDPROC main_proc = nullptr;
WNDPROC front_display_option_proc = nullptr;

LRESULT CALLBACK watch_main(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LONGLONG now = counter();
  if (message == WM_CREATE) moments.wm_create = now;
  if (message == WM_SETICON && moments.icon_set == 0) moments.icon_set = now;
  if (message == WM_SHOWWINDOW && wparam && moments.show == 0) moments.show = now;
  if (message == WM_ACTIVATE && LOWORD(wparam) != WA_INACTIVE && moments.activate == 0) {
    moments.activate = now;
  }
  if (message == WM_WINDOWPOSCHANGED && moments.visible == 0 &&
      (reinterpret_cast<const WINDOWPOS*>(lparam)->flags & SWP_SHOWWINDOW)) {
    moments.visible = now;
  }
  return ::CallWindowProcW(main_proc, window, message, wparam, lparam);
}

LRESULT CALLBACK watch_front_display_option(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  if (message == WM_SETTEXT && moments.status_line == 0) moments.status_line = counter();
  return ::CallWindowProcW(front_display_option_proc, window, message, wparam, lparam);
}

WNDPROC subclass(HWND window, WNDPROC proc) {
  return reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

LRESULT CALLBACK cbt_hook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) {
    HWND window = reinterpret_cast<HWND>(wparam);
    const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lparam)->lpcs;
    wchar_t name[32] = {};
    ::GetClassNameW(window, name, 32);
    if (main_window == nullptr && ::lstrcmpW(name, app::MainWindow::class_name) == 0) {
      moments.main_creating = counter();
      main_window = window;
      main_proc = subclass(window, watch_main);
    } else if (main_window != nullptr && create->hwndParent == main_window) {
      auto id = static_cast<int>(reinterpret_cast<INT_PTR>(create->hMenu));
      if (id == app::id_front_display_option)
        front_display_option_proc = subclass(window, watch_front_display_option);
      moments.last_control = counter();
      if (moments.first_control == 0) moments.first_control = moments.last_control;
    }
  }
  return ::CallNextHookEx(cbt, code, wparam, lparam);
}

std::wstring own_folder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\'));
}

// The two steps of the start-up that no message marks, timed again now that everything is
// loaded: adding and deleting a tray icon, and the start-up load of a missing settings file.
void time_warm_steps(HWND main, HICON icon, FILE* out) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  auto us = [&](LONGLONG ticks) { return static_cast<double>(ticks) * 1e6 / frequency.QuadPart; };

  HWND spare = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
  LONGLONG begin = counter();
  lorvane::platform::tray::add(spare, icon);
  LONGLONG added = counter();
  lorvane::platform::tray::remove(spare, icon);
  std::fprintf(out, "warm_tray_add_us %.1f\n", us(added - begin));
  ::DestroyWindow(spare);

  platform::ListBox list(::GetDlgItem(main, app::id_target_list));
  platform::CheckBox check(::GetDlgItem(main, app::id_front_display_option));
  std::wstring missing = own_folder() + L"\\missing";
  begin = counter();
  registry::start_up_load(check, list, registry::settings_path(missing));
  std::fprintf(out, "warm_settings_load_us %.1f\n", us(counter() - begin));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  moments.entry = counter();
  cbt = ::SetWindowsHookExW(WH_CBT, cbt_hook, nullptr, ::GetCurrentThreadId());

  app::MainWindow window;
  if (!window.create(instance)) return 1;
  ::UnhookWindowsHookEx(cbt);
  window.show_at_start();
  moments.shown = counter();

  std::wstring report = own_folder() + L"\\profile.txt";
  FILE* out = _wfopen(report.c_str(), L"w");
  if (out != nullptr) {
    std::fprintf(out, "entry %lld\nmain_creating %lld\nwm_create %lld\nfirst_control %lld\n",
                 moments.entry, moments.main_creating, moments.wm_create, moments.first_control);
    std::fprintf(out, "last_control %lld\nicon_set %lld\nstatus_line %lld\n", moments.last_control,
                 moments.icon_set, moments.status_line);
    std::fprintf(out, "show %lld\nvisible %lld\nactivate %lld\nshown %lld\n", moments.show,
                 moments.visible, moments.activate, moments.shown);
    time_warm_steps(window.hwnd(), window.icon(), out);
    std::fclose(out);
  }

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
