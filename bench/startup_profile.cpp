// Lorvane's start-up, as wWinMain in app/main.cpp runs it and in its order, with the moments in
// between written down: this program runs the real steps from the real code, so nothing in the
// program itself changes. The steps before the window are timed here between the calls; inside
// the main window's creation, a window-creation hook notes each window as it is made and
// subclasses the main window and the controls whose messages mark the steps, and the shell and
// session seams of the window's options are wrapped so that the tray add and the session calls
// mark theirs. A hook on every sent message is avoided, as it would run on each message of the
// start-up and slow what it measures. It writes "profile.txt" beside itself, one moment a line in
// the order they came (its name and a performance-counter reading), and then runs until its
// window is closed. Started beside a settings file that holds targets, it goes to the tray.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/layout.h"
#include "app/main_window.h"
#include "app/settings_home.h"
#include "platform/file_probe.h"
#include "platform/profile.h"
#include "platform/tray.h"
#include "settings/settings_file.h"

using namespace lorvane;

namespace {

LONGLONG counter() {
  LARGE_INTEGER c;
  ::QueryPerformanceCounter(&c);
  return c.QuadPart;
}

// The moments in the order they came; each name once, at its first time.
struct Moment {
  const char* name;
  LONGLONG at;
};
Moment moments[64];
int moment_count = 0;

void mark(const char* name, LONGLONG at = counter()) {
  for (int i = 0; i < moment_count; ++i) {
    if (std::strcmp(moments[i].name, name) == 0) return;
  }
  if (moment_count < 64) moments[moment_count++] = {name, at};
}

HHOOK cbt = nullptr;
HWND main_window = nullptr;
WNDPROC main_proc = nullptr;
WNDPROC front_display_option_proc = nullptr;
WNDPROC start_stop_proc = nullptr;
bool first_control_seen = false;
LONGLONG last_control = 0;

LRESULT CALLBACK watch_main(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LONGLONG now = counter();
  if (message == WM_CREATE) mark("frame", now);
  // A first WM_SETICON, where create() sends one: CreateWindowEx has returned.
  if (message == WM_SETICON) {
    if (last_control != 0) mark("other_controls", last_control);
    mark("fonts_and_rest_of_create", now);
  }
  if (message == WM_SHOWWINDOW && wparam) mark("until_show", now);
  if (message == WM_ACTIVATE && LOWORD(wparam) != WA_INACTIVE) mark("activation", now);
  if (message == WM_WINDOWPOSCHANGED) {
    UINT flags = reinterpret_cast<const WINDOWPOS*>(lparam)->flags;
    if (flags & SWP_SHOWWINDOW) mark("until_visible", now);
    if (flags & SWP_HIDEWINDOW) mark("minimise_and_hide", now);
    // The move that centres it: CreateWindowEx has returned, the message filters are set.
    if (!(flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) {
      if (last_control != 0) mark("other_controls", last_control);
      mark("rest_of_create_and_filters", now);
    }
  }
  return ::CallWindowProcW(main_proc, window, message, wparam, lparam);
}

// The status line: the load has run and Start/Stop has written the first-use hint.
LRESULT CALLBACK watch_front_display_option(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  if (message == WM_SETTEXT) mark("load_and_start_stop");
  return ::CallWindowProcW(front_display_option_proc, window, message, wparam, lparam);
}

// The Start/Stop button's caption: the load has run and control starts.
LRESULT CALLBACK watch_start_stop(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SETTEXT) mark("load_and_start_control");
  return ::CallWindowProcW(start_stop_proc, window, message, wparam, lparam);
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
      mark("icons_class_and_keys");
      main_window = window;
      main_proc = subclass(window, watch_main);
    } else if (main_window != nullptr && create->hwndParent == main_window) {
      auto id = static_cast<int>(reinterpret_cast<INT_PTR>(create->hMenu));
      if (id == app::id_front_display_option)
        front_display_option_proc = subclass(window, watch_front_display_option);
      if (id == app::id_start_stop_button) start_stop_proc = subclass(window, watch_start_stop);
      last_control = counter();
      if (!first_control_seen) {
        first_control_seen = true;
        mark("first_control", last_control);
      }
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

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  mark("to_entry");
  cbt = ::SetWindowsHookExW(WH_CBT, cbt_hook, nullptr, ::GetCurrentThreadId());
  mark("profile_hook");

  // The steps of app::CopyClaims::take, one by one, as app/main.cpp takes them.
  const std::wstring exe_folder = platform::profile::executable_folder();
  mark("exe_folder");
  app::RunningCopyClaim folder_claim(app::folder_claim_path(exe_folder));
  mark("folder_claim_made");
  if (!folder_claim.take()) return 0;
  mark("folder_claim_taken");
  settings::SettingsChoice settings =
      app::find_settings_file(exe_folder, platform::file_probe::application_data_folder);
  mark("settings_file_probe_and_choice");
  app::make_settings_folder(settings);
  app::RunningCopyClaim claim(settings.path);
  mark("settings_claim_made");
  if (!claim.take()) return 0;
  mark("settings_claim_taken");

  app::MainWindowOptions options;
  options.settings_path = settings.path;
  options.copy_from = settings.copy_from;
  options.exe_folder = exe_folder;
  options.settings_key = claim.key();
  options.folder_key = folder_claim.key();
  options.tray_shell = [](DWORD message, NOTIFYICONDATAA& record) {
    if (message == NIM_ADD) mark("centring");
    bool done = platform::tray::shell_notify(message, record);
    if (message == NIM_ADD) mark("tray_add");
    return done;
  };
  platform::SessionSystem& session = options.session_system;
  session.register_session = [](HWND window) {
    mark("hook_and_wtsapi_load");
    bool held = platform::session_state::register_session(window);
    mark("session_registration");
    return held;
  };
  session.remote_session = [] {
    mark("display_registration");
    bool remote = platform::session_state::remote_session();
    mark("remote_session");
    return remote;
  };
  session.locked = [] {
    auto locked = platform::session_state::locked();
    mark("lock_state");
    return locked;
  };
  app::MainWindow window(std::move(options));
  if (!window.create(instance)) return 1;
  ::UnhookWindowsHookEx(cbt);
  window.show_at_start(show_command);
  mark("until_shown");
  folder_claim.publish(window.hwnd());
  claim.publish(window.hwnd());
  mark("publish");

  std::wstring report = own_folder() + L"\\profile.txt";
  FILE* out = _wfopen(report.c_str(), L"w");
  if (out != nullptr) {
    for (int i = 0; i < moment_count; ++i)
      std::fprintf(out, "%s %lld\n", moments[i].name, moments[i].at);
    std::fclose(out);
  }

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
