// What Lorvane.exe costs in each state of control, against the tick alone: its wake-ups and CPU
// time, which the caller reads from the host. Two copies run side by side, each from a folder of
// its own, each controlling ten live windows of this process:
//   reference - the front-display option on, none of its windows in front, nobody at the
//               machine: the tick alone (state A), throughout;
//   state     - walked through the states, one stretch each:
//     B  a raised window waits: the option off, nobody at the machine, its first window raised;
//     C  a registered window in front, nobody at the machine, the option on;
//     D  the user types 5 keys a second into another program's window, the option off;
//     E  the user moves the pointer 100 times a second over a registered window in front, the
//        option off.
// Wine 8 reports no per-process CPU time for another process (GetProcessTimes answers with the
// caller's own), and wake-ups are the host's to count: the copies' folders are printed as
// "cpu.folder NAME PATH", and each stretch is bracketed by "cpu.mark X.begin" and "cpu.mark
// X.end". Given a handshake folder, the driver waits at each mark until the file of that name
// exists there, while the caller takes its readings.
//
// lorvane_bench_cpu <Lorvane.exe> [seconds per state] [handshake folder]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/layout.h"
#include "bench_support.h"

using namespace lorvane;
using namespace lorvane::bench;

namespace {

constexpr int target_count = 10;
constexpr double idle_threshold_s = 5.0;

struct Copy : ProgramCopy {
  Copy(const char* copy_name, bool off) : name(copy_name), front_display_off(off) {}

  const char* name;
  std::vector<std::wstring> classes;
  bool front_display_off = false;

  HWND option() const { return ::GetDlgItem(main, app::id_front_display_option); }
  // Ticked or not without a click: a scripted click counts as input under Wine.
  void set_front_display_off(bool off) const {
    ::SendMessageW(option(), BM_SETCHECK, off ? BST_CHECKED : BST_UNCHECKED, 0);
  }
};

void mark(const std::wstring& handshake, const std::string& name) {
  std::printf("cpu.mark %s\n", name.c_str());
  std::fflush(stdout);
  if (handshake.empty()) return;
  std::wstring file = handshake + L"\\" + std::wstring(name.begin(), name.end());
  pump_until([&] { return ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; },
             in_ms(30), poll_step);
}

// Brings a window of this process to the front as its own program would.
bool activate(HWND window) {
  bring_to_front(window);
  return pump_until([&] { return ::GetForegroundWindow() == window; }, in_ms(5), poll_step);
}

// Runs the action every period for the stretch, handling this thread's messages in between.
template <typename Action>
int every(double period_s, double seconds, Action action) {
  double begin = now_seconds();
  int done = 0;
  for (double next = begin; now_seconds() - begin < seconds; next += period_s) {
    while (now_seconds() < next) pump_for(poll_step);
    action(done++);
  }
  return done;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: lorvane_bench_cpu <Lorvane.exe> [seconds per state] [handshake folder]\n");
    return 2;
  }
  std::wstring exe = argv[1];
  double seconds = argc > 2 ? _wtof(argv[2]) : 30;
  std::wstring handshake = argc > 3 ? argv[3] : L"";

  Copy reference("reference", true);
  Copy state("state", false);
  TargetWindows targets;
  for (Copy* copy : {&reference, &state}) {
    for (int i = 0; i < target_count; ++i) {
      std::wstring name = L"LorvaneBench" +
                          std::wstring(copy == &reference ? L"Reference" : L"State") +
                          std::to_wstring(i);
      copy->classes.push_back(name);
      if (targets.add(name) == nullptr) {
        std::printf("error: a target window was not created\n");
        return 1;
      }
    }
  }
  // The state copy's first window apart from the others, where the pointer can pass over it, and
  // the window the user types into, which nobody registered.
  HWND first = ::FindWindowW(state.classes[0].c_str(), nullptr);
  ::SetWindowPos(first, nullptr, 560, 380, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  HWND editor = targets.add(L"LorvaneBenchEditor");
  ::SetWindowPos(editor, nullptr, 560, 60, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  park_pointer();

  for (Copy* copy : {&reference, &state}) {
    if (!start_controlling(*copy, L"cpu", exe, copy->classes, copy->front_display_off)) {
      std::printf("error: the %s copy of Lorvane did not come up\n", copy->name);
      return 1;
    }
    std::printf("cpu.folder %s %s\n", copy->name, utf8(copy->folder()).c_str());
  }
  std::fflush(stdout);
  bool ok = true;
  auto note = [&](const char* what, bool held) {
    std::printf("cpu.%s %s\n", what, held ? "yes" : "no");
    ok = ok && held;
  };

  // B: nobody touches anything until the raise, and after it.
  note("B.raised",
       pump_until([&] { return is_topmost(first); }, in_ms(idle_threshold_s + 5), poll_step));
  pump_for(in_ms(1.5));
  mark(handshake, "B.begin");
  pump_for(in_ms(seconds));
  mark(handshake, "B.end");
  note("B.held", is_topmost(first));

  // C: the option on, the first window in front, pushed down and still the foreground window.
  state.set_front_display_off(true);
  activate(first);
  note("C.in_front", pump_until([&] { return is_last_visible(first) && !is_topmost(first); },
                                in_ms(5), poll_step));
  pump_for(in_ms(1.5));
  mark(handshake, "C.begin");
  pump_for(in_ms(seconds));
  mark(handshake, "C.end");
  note("C.held", ::GetForegroundWindow() == first);

  // D: typing into the other window. The user is back before the option goes off: nobody has
  // touched anything since B, and the next tick would raise.
  press_key('A');
  state.set_front_display_off(false);
  activate(editor);
  pump_for(in_ms(1.5));
  mark(handshake, "D.begin");
  int keys = every(0.2, seconds, [](int) { press_key('A'); });
  mark(handshake, "D.end");
  std::printf("cpu.D.keys %d\n", keys);
  note("D.held", ::GetForegroundWindow() == editor && !is_topmost(first));

  // E: the pointer over the first window, in front.
  activate(first);
  RECT r{};
  ::GetWindowRect(first, &r);
  point_at({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  pump_until([&] { return is_last_visible(first); }, in_ms(5), poll_step);
  pump_for(in_ms(1.5));
  mark(handshake, "E.begin");
  int moves = every(0.01, seconds, [](int i) { move_pointer(i % 2 ? -1 : 1); });
  mark(handshake, "E.end");
  std::printf("cpu.E.moves %d\n", moves);
  note("E.held", ::GetForegroundWindow() == first && !is_topmost(first));
  park_pointer();

  for (Copy* copy : {&reference, &state}) {
    if (!close_copy(*copy)) {
      std::printf("warning: the %s copy did not end after WM_CLOSE\n", copy->name);
      ok = false;
    }
  }
  std::printf("cpu.done %s\n", ok ? "yes" : "no");
  return ok ? 0 : 1;
}
