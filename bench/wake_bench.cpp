// The wake-ups of Lorvane in states A to D as Windows would count them: the returns of the waits of
// the program's own message loop. Under Wine every question about another program's window is a
// call into the Wine server, and the host counts each as a wake-up of the process; on Windows such
// a question is answered from shared memory or by a system call, and wakes nothing. What wakes the
// program on Windows is what ends the wait of its message loop, and that is counted here: this
// process runs the real main window and the real loop (app/message_loop), which tells of each
// return of its wait. The count is an upper bound: a wait that finds its message already there has
// not slept.
//
// The windows the main window controls belong to a child process, as other programs' windows do:
// ten live windows of the registered classes, and an editor that nobody registered. A thread of
// this process walks the states while the main thread runs the loop, as cpu_bench walks a copy of
// Lorvane.exe through them:
//   A  control runs, the front-display option ticked, the editor in front, nobody at the machine;
//   B  a raised window waits: the option off, nobody at the machine, the first window raised;
//   C  a registered window in front, nobody at the machine, the option ticked;
//   D  the user types 5 keys a second into the editor, the option off;
// and, not judged, E: the user moves the pointer 100 times a second over the first window in front,
// the option off, where raw input wakes the program as the hold allows.
// Each stretch prints "wakes.X.returns N", "wakes.X.seconds S" and "wakes.X.per_second R".
//
// lorvane_bench_wakes [seconds per state]
// (lorvane_bench_wakes windows READY DONE is the child that keeps the windows)
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/layout.h"
#include "app/main_window.h"
#include "app/message_loop.h"
#include "bench_support.h"
#include "settings/settings_choice.h"

using namespace lorvane;
using namespace lorvane::bench;

namespace {

constexpr int target_count = 10;
constexpr double idle_threshold_s = 5.0;
const std::wstring editor_class = L"LorvaneBenchWakeEditor";

std::wstring target_class(int i) { return L"LorvaneBenchWake" + std::to_wstring(i); }

// The child's windows: the targets, the first apart from the others, and the editor beside it.
void make_windows(TargetWindows& windows) {
  for (int i = 0; i < target_count; ++i) windows.add(target_class(i));
  windows.add(editor_class);
  ::SetWindowPos(windows.at(0), nullptr, 560, 380, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowPos(windows.at(target_count), nullptr, 560, 60, 300, 200,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Walks the states from a thread of its own while the main thread runs the loop; false where a
// state was not reached or did not hold. Closes the main window at the end, whatever happened.
class Walk {
 public:
  Walk(HWND main, const std::atomic<long long>& returns, double seconds)
      : main_(main), returns_(returns), seconds_(seconds) {}

  bool run(HWND first, HWND editor) {
    bool ok = walk(first, editor);
    std::printf("wakes.done %s\n", ok ? "yes" : "no");
    std::fflush(stdout);
    ::PostMessageW(main_, WM_CLOSE, 0, 0);
    return ok;
  }

 private:
  bool walk(HWND first, HWND editor) {
    if (!note("controlling", pump_until(
                                 [&] {
                                   return text_of(::GetDlgItem(main_, app::id_start_stop_button)) ==
                                              L"制御中" &&
                                          !::IsWindowVisible(main_);
                                 },
                                 in_ms(30), poll_step))) {
      return false;
    }
    // A: the option ticked as the settings have it, someone else's window in front.
    bool ok = note("A.in_front", activate(editor));
    stretch("A", [] {});
    ok = note("A.held", ::GetForegroundWindow() == editor && !is_topmost(first)) && ok;

    // B: nobody has touched anything since A began, and the next tick raises.
    set_front_display_off(false);
    ok = note("B.raised", pump_until([&] { return is_topmost(first); }, in_ms(idle_threshold_s + 5),
                                     poll_step)) &&
         ok;
    stretch("B", [] {});
    ok = note("B.held", is_topmost(first)) && ok;

    // C: the option ticked, the first window in front, pushed down and still the foreground
    // window.
    set_front_display_off(true);
    activate(first);
    ok = note("C.in_front", pump_until([&] { return is_last_visible(first) && !is_topmost(first); },
                                       in_ms(5), poll_step)) &&
         ok;
    stretch("C", [] {});
    ok = note("C.held", ::GetForegroundWindow() == first) && ok;

    // D: the user is back before the option goes off, and types into the editor.
    press_key('A');
    set_front_display_off(false);
    ok = note("D.in_front", activate(editor)) && ok;
    int keys = 0;
    stretch("D", [&] { keys = every(0.2, [] { press_key('A'); }); });
    std::printf("wakes.D.keys %d\n", keys);
    ok = note("D.held", ::GetForegroundWindow() == editor && !is_topmost(first)) && ok;

    // E, shown beside the others: the pointer moved 100 times a second over the first window in
    // front, the option off.
    activate(first);
    RECT r{};
    ::GetWindowRect(first, &r);
    point_at({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    pump_until([&] { return is_last_visible(first); }, in_ms(5), poll_step);
    int moves = 0;
    stretch("E", [&] {
      int k = 0;
      moves = every(0.01, [&k] { move_pointer(k++ % 2 ? -1 : 1); });
    });
    std::printf("wakes.E.moves %d\n", moves);
    ok = note("E.held", ::GetForegroundWindow() == first && !is_topmost(first)) && ok;
    park_pointer();
    return ok;
  }

  // Does the action every period until the stretch is over; how many times it did.
  template <typename Action>
  int every(double period_s, Action action) {
    double begin = now_seconds();
    int done = 0;
    for (double at = begin; at - begin < seconds_; at = begin + done * period_s) {
      double wait = at - now_seconds();
      if (wait > 0) ::Sleep(static_cast<DWORD>(wait * 1000));
      action();
      ++done;
    }
    return done;
  }

  // The stretch of a state: the loop's returns over `seconds_`, or over what `act` does when it
  // takes the time itself.
  template <typename Act>
  void stretch(const char* state, Act act) {
    pump_for(in_ms(1.5));  // what the change of state set off settles first
    long long begin_returns = returns_.load();
    double begin = now_seconds();
    act();
    double left = seconds_ - (now_seconds() - begin);
    if (left > 0) ::Sleep(static_cast<DWORD>(left * 1000));
    long long returns = returns_.load() - begin_returns;
    double seconds = now_seconds() - begin;
    std::printf("wakes.%s.returns %lld\nwakes.%s.seconds %.2f\nwakes.%s.per_second %.2f\n", state,
                returns, state, seconds, state, returns / seconds);
    std::fflush(stdout);
  }

  bool note(const char* what, bool held) {
    std::printf("wakes.%s %s\n", what, held ? "yes" : "no");
    std::fflush(stdout);
    return held;
  }

  // Ticked or not without a click: a scripted click counts as input under Wine.
  void set_front_display_off(bool off) {
    ::SendMessageW(::GetDlgItem(main_, app::id_front_display_option), BM_SETCHECK,
                   off ? BST_CHECKED : BST_UNCHECKED, 0);
  }

  // Brings another program's window to the front, as a click would.
  static bool activate(HWND window) {
    bring_to_front(window);
    return pump_until([&] { return ::GetForegroundWindow() == window; }, in_ms(5), poll_step);
  }

  HWND main_;
  const std::atomic<long long>& returns_;
  double seconds_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 3 && std::wstring(argv[1]) == L"windows")
    return keep_windows(argv[2], argv[3], make_windows);
  double seconds = argc > 1 ? _wtof(argv[1]) : 30;

  // The windows first, then the pointer out of their way: under Wine a window that appears under
  // the pointer counts as input.
  // Told to go, whatever happens below, and given the time to go on its own.
  WindowsChild child;
  if (!child.start(L"Wake", L"windows")) {
    std::printf("error: the child's windows were not set up\n");
    return 1;
  }
  HWND first = find_window_of(child.id(), target_class(0).c_str());
  HWND editor = find_window_of(child.id(), editor_class.c_str());
  if (first == nullptr || editor == nullptr) {
    std::printf("error: the child's windows were not found\n");
    return 1;
  }
  // On a freshly started wineserver the last input time stays 0 until the first input.
  nudge_pointer();
  park_pointer();

  // The main window as the program starts it, beside a settings file that registers the classes
  // with the option ticked: control starts with the start-up, and the window goes to the tray.
  TempFolder folder(L"wakes");
  std::vector<std::wstring> classes;
  for (int i = 0; i < target_count; ++i) classes.push_back(target_class(i));
  app::MainWindowOptions options;
  options.settings_path = settings::settings_path(folder.path());
  if (!write_bytes(options.settings_path, settings_text(classes, true))) {
    std::printf("error: the settings file was not written\n");
    return 1;
  }
  app::MainWindow window(std::move(options));
  if (!window.create(::GetModuleHandleW(nullptr))) {
    std::printf("error: the main window was not created\n");
    return 1;
  }
  window.show_at_start();

  std::atomic<long long> returns{0};
  Walk walk(window.hwnd(), returns, seconds);
  bool ok = false;
  std::thread walker([&] { ok = walk.run(first, editor); });
  app::run_message_loop(window.raw_input_hold(), [&] { ++returns; });
  walker.join();
  return ok ? 0 : 1;
}
