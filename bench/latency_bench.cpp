// How fast Lorvane.exe reacts, seen from outside as a user would see it, and what the reaction
// costs it. The windows it controls belong to this program: a thread of their own owns them and
// keeps handling their messages, as another application would.
//
//   push   - a user's click on a registered window (one SendInput batch: move and click) until
//            the window has come up and lies at the bottom again; switched to from another
//            window, and clicked again while it is still the foreground window. The delay before
//            each click steps through a whole tick interval, so the clicks fall at every phase
//            of the tick.
//   return - nobody touches keyboard or mouse until the idle raise puts the registered window in
//            the topmost band, then the first input (a small mouse move), until the window is no
//            longer topmost, with the user's own window in front: the raise never activates the
//            window it raises, so that is the case a user meets (a raised window in front is
//            never set up). Each try waits out the idle time, so there are only a few; the delay
//            before the input steps through the tick interval here too.
//   cpu    - a second copy controlling ten live windows with the front-display option on: a
//            quiet stretch, a storm of foreground changes between two unregistered windows (each
//            window activating itself, as a click would), and two stretches with a registered
//            window as the foreground window, one with nobody at the machine and one with a
//            small mouse move four times a second. Wine reports no per-process CPU time for another
//            process, so the caller reads it from the host: before each stretch begins and after it
//            ends this prints "latency.mark NAME" and, given a handshake folder, waits until the
//            file NAME exists there.
//
// lorvane_bench_latency <Lorvane.exe> [push tries] [return tries] [storm changes]
//                       [cpu seconds] [handshake folder]
#include <windows.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/layout.h"
#include "bench_support.h"

using namespace lorvane;
using namespace lorvane::bench;

namespace {

constexpr double tick_interval_s = 1.0;
constexpr double idle_threshold_s = 5.0;
// A reaction that has not come by then is counted at this value, and as missing.
constexpr double give_up_s = 3.0;
constexpr int live_targets = 10;

// ---- The user's programs: windows owned by a thread of their own ----

struct WindowPlan {
  std::wstring class_name;
  RECT place;
};

// What a window's own thread saw of it.
struct WindowLog {
  // When a move in the Z-order last left the window above some other visible window.
  std::atomic<double> raised_at{0};
  // When a move in the Z-order last left it the last visible window.
  std::atomic<double> pushed_at{0};
  // Set at each move in the Z-order: the driver waits on it instead of looking again and again,
  // which would take a core from the program it measures.
  platform::UniqueKernelHandle moved{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  // Touched by the window's thread only: the click under way has already raised the window.
  bool raised_by_click = false;
  // Moves of the window never activate it, as the foreground lock on Windows keeps a background
  // program from activating another program's window.
  std::atomic<bool> refuses_activation{false};
};

WindowLog* log_of(HWND window) {
  return reinterpret_cast<WindowLog*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Windows brings a clicked window to the top as it activates it, and again when the user clicks
// the active window while it lies behind others. Wine's virtual desktop only activates it, and
// a click on the active window changes nothing there. The windows here raise themselves on the
// click, as Windows would: before the activation when the click activates them, else as the
// button goes down.
void raise_as_clicked(HWND window) {
  ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CALLBACK program_window_proc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam) noexcept {
  WindowLog* log = log_of(window);
  switch (message) {
    case WM_NCCREATE:
      ::SetWindowLongPtrW(
          window, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
      break;
    case WM_WINDOWPOSCHANGING:
      if (log != nullptr && log->refuses_activation) {
        reinterpret_cast<WINDOWPOS*>(lparam)->flags |= SWP_NOACTIVATE;
      }
      break;
    case WM_MOUSEACTIVATE:
      raise_as_clicked(window);
      if (log != nullptr) log->raised_by_click = true;
      break;
    case WM_LBUTTONDOWN:
      if (log != nullptr && !log->raised_by_click) raise_as_clicked(window);
      if (log != nullptr) log->raised_by_click = false;
      break;
    case WM_WINDOWPOSCHANGED:
      // Noted here, on the window's own thread, as the move happens: a raise and the push that
      // follows it can both fall between two looks from outside. The moment comes before the look
      // at where the window lies, which asks about every top-level window and is the bench's own
      // time, not the program's.
      if (log != nullptr && !(reinterpret_cast<const WINDOWPOS*>(lparam)->flags & SWP_NOZORDER)) {
        double at = now_seconds();
        (is_last_visible(window) ? log->pushed_at : log->raised_at) = at;
        ::SetEvent(log->moved.get());
      }
      break;
    default: break;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

// Windows of distinct classes on a thread that does nothing but handle their messages; a window
// activates itself on request, as its own program would.
class UserPrograms {
 public:
  explicit UserPrograms(std::vector<WindowPlan> plans)
      : plans_(std::move(plans)), logs_(plans_.size()), windows_(plans_.size()) {
    thread_ = std::thread([this] { run(); });
    pump_until([this] { return ready_.load(); }, in_ms(10), poll_step);
  }
  ~UserPrograms() {
    ::PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }
  UserPrograms(const UserPrograms&) = delete;
  UserPrograms& operator=(const UserPrograms&) = delete;

  bool created() const {
    for (HWND w : windows_) {
      if (w == nullptr) return false;
    }
    return ready_;
  }
  HWND at(std::size_t i) const { return windows_[i]; }
  WindowLog& log(std::size_t i) { return logs_[i]; }
  // The window's own thread makes it the foreground window.
  void activate(std::size_t i) { ::PostThreadMessageW(thread_id_, activate_message, i, 0); }

 private:
  static constexpr UINT activate_message = WM_APP + 1;

  void run() {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists from here on
    thread_id_ = ::GetCurrentThreadId();
    std::vector<platform::UniqueWindow> owned;
    for (std::size_t i = 0; i < plans_.size(); ++i) {
      HWND w = show_window_of_class(plans_[i].class_name, program_window_proc, plans_[i].place,
                                    &logs_[i]);
      windows_[i] = w;
      owned.emplace_back(w);
    }
    ready_ = true;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (msg.hwnd == nullptr && msg.message == activate_message) {
        ::SetForegroundWindow(windows_[msg.wParam]);
        continue;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }

  std::vector<WindowPlan> plans_;
  std::vector<WindowLog> logs_;
  std::vector<HWND> windows_;
  std::atomic<bool> ready_{false};
  DWORD thread_id_ = 0;
  std::thread thread_;
};

// ---- The user's hand ----

// The pointer, the clicks and the nudges of the user's hand are the support library's, which the
// end-to-end tests use too.
using harness::click_at;
using harness::nudge_pointer;
using harness::park_pointer;
using harness::point_at;

POINT client_centre(HWND window) {
  RECT r{};
  ::GetClientRect(window, &r);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ::ClientToScreen(window, &p);
  return p;
}

void wait_s(double seconds) { ::Sleep(static_cast<DWORD>(std::lround(seconds * 1000))); }

// ---- Lorvane ----

// ---- Figures ----

// How a try ended: the reaction came; it had not come within give_up_s (counted at that
// value); or the try never set up the case it stands for (not counted, tried again).
enum class Outcome { reacted, missing, lost };

struct Series {
  explicit Series(const char* series_name, int wanted) : name(series_name), tries(wanted) {}

  const char* name;
  int tries;
  std::vector<double> ms;
  int missing = 0;
  int lost = 0;

  // Whether another try is due; a case that keeps failing to set up gives up.
  bool more() const { return static_cast<int>(ms.size()) < tries && lost <= tries; }
  // The try's number among those counted, which sets its place in the tick's phase.
  int next() const { return static_cast<int>(ms.size()); }
  void add(Outcome outcome, double seconds) {
    if (outcome == Outcome::lost) {
      ++lost;
      return;
    }
    ms.push_back(seconds * 1000);
    if (outcome == Outcome::missing) ++missing;
  }
  void print() const {
    double worst = 0;
    for (double v : ms) worst = v > worst ? v : worst;
    std::printf(
        "latency.%s.tries %zu\nlatency.%s.median_ms %.1f\nlatency.%s.worst_ms %.1f\n"
        "latency.%s.missing %d\nlatency.%s.lost %d\nlatency.%s.values_ms",
        name, ms.size(), name, median(ms), name, worst, name, missing, name, lost, name);
    for (double v : ms) std::printf(" %.1f", v);
    std::printf("\n");
    std::fflush(stdout);
  }
};

// The delay before try k: spread over the span in steps of the golden ratio, which never line up
// with the tick or with a poll that runs at some fraction of it.
double phase_step(int k, double span = tick_interval_s) {
  double step = k * 0.6180339887498949;
  return span * (step - std::floor(step));
}

// What a look at a try finds: the moment its case was reached, or that the try no longer stands
// for its case (lost), or neither yet.
struct Look {
  std::optional<double> reached_at;
  bool lost = false;
};

// Seconds from t0 until a look finds the case reached, and how the try ended. Between looks the
// driver sleeps until `wake` is set, a tenth of a second at most so that a try is given up on
// time; without one it looks again every poll step.
template <typename Condition>
void measure(Series& series, double t0, Condition look, HANDLE wake = nullptr) {
  for (;;) {
    Look found = look();
    if (found.lost) {
      series.add(Outcome::lost, 0);
      return;
    }
    if (found.reached_at) {
      series.add(Outcome::reacted, *found.reached_at - t0);
      return;
    }
    double waited = now_seconds() - t0;
    if (waited >= give_up_s) {
      series.add(Outcome::missing, waited);
      return;
    }
    if (wake != nullptr) {
      ::MsgWaitForMultipleObjects(1, &wake, FALSE, 100, QS_ALLINPUT);
    } else {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(poll_step.count()),
                                  QS_ALLINPUT);
    }
    pump_until_empty();
  }
}

// ---- Push latency ----

// Clicks the target and waits until it has come up and lies at the bottom again, as its own
// thread saw the moves: the end is the moment of the push, however late the driver wakes. A click
// that never raised it is lost.
void click_until_pushed(Series& series, UserPrograms& programs, std::size_t target) {
  HWND t = programs.at(target);
  WindowLog& log = programs.log(target);
  POINT p = client_centre(t);
  point_at(p);
  ::ResetEvent(log.moved.get());
  double t0 = now_seconds();
  click_at(p);
  measure(
      series, t0,
      [&] {
        // The window's thread noted both moves; the place is read after them, so that a window
        // raised again since its push is not counted as pushed.
        double raised = log.raised_at.load();
        double pushed = log.pushed_at.load();
        if (raised >= t0 && pushed >= raised && is_last_visible(t)) return Look{pushed};
        return Look{std::nullopt, raised < t0 && now_seconds() - t0 >= give_up_s / 2};
      },
      log.moved.get());
}

bool push_latency(const std::wstring& exe, int tries) {
  // Side by side, so that the target can be clicked while it lies at the bottom.
  UserPrograms programs({{L"LorvaneBenchPushTarget", {60, 60, 420, 340}},
                         {L"LorvaneBenchPushOther", {500, 60, 860, 340}}});
  if (!programs.created()) {
    std::printf("error: the windows to click were not created\n");
    return false;
  }
  constexpr std::size_t target = 0, other = 1;
  HWND t = programs.at(target);
  HWND o = programs.at(other);
  ProgramCopy copy;
  if (!start_controlling(copy, L"latency", exe, {L"LorvaneBenchPushTarget"}, false)) {
    std::printf("error: the copy of Lorvane for the push did not come up\n");
    close_copy(copy);
    return false;
  }
  // The first click, before anything is measured: the target goes to the bottom once.
  click_at(client_centre(t));
  pump_until([&] { return ::GetForegroundWindow() == t && is_last_visible(t); }, in_ms(5),
             poll_step);

  Series switched("push.switch", tries);
  while (switched.more()) {
    click_at(client_centre(o));
    if (!pump_until([&] { return ::GetForegroundWindow() == o && is_last_visible(t); }, in_ms(5),
                    poll_step)) {
      switched.add(Outcome::lost, 0);
      continue;
    }
    point_at(client_centre(t));
    wait_s(0.02 + phase_step(switched.next()));
    click_until_pushed(switched, programs, target);
  }
  switched.print();

  Series again("push.again", tries);
  while (again.more()) {
    if (!pump_until([&] { return ::GetForegroundWindow() == t && is_last_visible(t); }, in_ms(5),
                    poll_step)) {
      again.add(Outcome::lost, 0);
      click_at(client_centre(t));
      continue;
    }
    wait_s(0.02 + phase_step(again.next()));
    click_until_pushed(again, programs, target);
  }
  again.print();
  return close_copy(copy);
}

// ---- Return latency ----

bool return_latency(const std::wstring& exe, int tries) {
  UserPrograms programs({{L"LorvaneBenchReturnTarget", {60, 60, 420, 340}},
                         {L"LorvaneBenchReturnOther", {500, 60, 860, 340}}});
  if (!programs.created()) {
    std::printf("error: the windows to raise were not created\n");
    return false;
  }
  HWND t = programs.at(0);
  HWND o = programs.at(1);
  ProgramCopy copy;
  if (!start_controlling(copy, L"latency", exe, {L"LorvaneBenchReturnTarget"}, false)) {
    std::printf("error: the copy of Lorvane for the return did not come up\n");
    close_copy(copy);
    return false;
  }
  park_pointer();

  Series behind("return.other", tries);
  for (Series* series : {&behind}) {
    const bool other_in_front = true;
    while (series->more()) {
      // A window left in the topmost band by an earlier try is put back first: the raise of
      // this try has to be seen happen.
      if (is_topmost(t)) {
        ::SetWindowPos(t, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
      if (other_in_front) {
        // The other window takes the foreground as its own program would, and the raise cannot
        // activate the target. Under Wine the raise always activates, and any later change of
        // the foreground would run a tick whose raise activates the target again.
        programs.activate(1);
        pump_until([&] { return ::GetForegroundWindow() == o; }, in_ms(1), poll_step);
        programs.log(0).refuses_activation = true;
      }
      bool raised = pump_until([&] { return is_topmost(t); },
                               in_ms(idle_threshold_s + 3 * tick_interval_s), poll_step);
      // The window is topmost before its thread has activated it: the raise is over only once
      // it is the foreground window, or has failed to make it that.
      pump_until([&] { return ::GetForegroundWindow() == t; }, in_ms(0.1), poll_step);
      wait_s(phase_step(series->next(), 0.9));
      HWND in_front = other_in_front ? o : t;
      if (!raised || ::GetForegroundWindow() != in_front || !is_topmost(t)) {
        series->add(Outcome::lost, 0);
        nudge_pointer();
      } else {
        double t0 = now_seconds();
        nudge_pointer();
        measure(*series, t0, [&] { return is_topmost(t) ? Look{} : Look{now_seconds()}; });
      }
      programs.log(0).refuses_activation = false;
    }
    series->print();
  }
  return close_copy(copy);
}

// ---- CPU under a storm of foreground changes ----

// Tells the caller that a stretch begins or ends, and waits until it has taken its reading.
void mark(const std::wstring& handshake, const char* name) {
  std::printf("latency.mark %s\n", name);
  std::fflush(stdout);
  if (handshake.empty()) return;
  std::wstring file = handshake + L"\\" + std::wstring(name, name + std::strlen(name));
  pump_until([&] { return ::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; },
             in_ms(30), poll_step);
}

bool storm_cost(const std::wstring& exe, int changes, double seconds,
                const std::wstring& handshake) {
  std::vector<WindowPlan> plans;
  std::vector<std::wstring> classes;
  for (int i = 0; i < live_targets; ++i) {
    classes.push_back(L"LorvaneBenchStormTarget" + std::to_wstring(i));
    plans.push_back({classes.back(), {40 + 12 * i, 380 + 12 * i, 280 + 12 * i, 520 + 12 * i}});
  }
  plans.push_back({L"LorvaneBenchStormA", {60, 60, 420, 340}});
  plans.push_back({L"LorvaneBenchStormB", {500, 60, 860, 340}});
  UserPrograms programs(plans);
  if (!programs.created()) {
    std::printf("error: the storm's windows were not created\n");
    return false;
  }
  const std::size_t a = live_targets, b = live_targets + 1;
  ProgramCopy copy;
  // The front-display option on: no idle raise, so nobody has to touch the mouse throughout.
  if (!start_controlling(copy, L"latency", exe, classes, true)) {
    std::printf("error: the copy of Lorvane for the storm did not come up\n");
    close_copy(copy);
    return false;
  }
  std::printf("latency.storm.folder %s\n", utf8(copy.folder()).c_str());
  programs.activate(a);
  pump_until([&] { return ::GetForegroundWindow() == programs.at(a); }, in_ms(5), poll_step);
  wait_s(1.5);  // the start-up settles; it is not part of any figure
  mark(handshake, "storm.ready");

  mark(handshake, "quiet.begin");
  wait_s(seconds);
  mark(handshake, "quiet.end");

  mark(handshake, "storm.begin");
  double begin = now_seconds();
  int done = 0;
  for (int i = 0; i < changes; ++i) {
    std::size_t next = i % 2 ? a : b;
    programs.activate(next);
    if (pump_until([&] { return ::GetForegroundWindow() == programs.at(next); }, in_ms(2),
                   poll_step))
      ++done;
  }
  double storm_s = now_seconds() - begin;
  wait_s(0.5);  // the events still on their way are handled inside the stretch
  mark(handshake, "storm.end");
  std::printf("latency.storm.changes %d\nlatency.storm.changes_s %.2f\n", done, storm_s);

  // A registered window in front, pushed down and still the foreground window.
  programs.activate(0);
  bool in_front = pump_until(
      [&] { return ::GetForegroundWindow() == programs.at(0) && is_last_visible(programs.at(0)); },
      in_ms(5), poll_step);
  wait_s(0.5);
  mark(handshake, "front.begin");
  wait_s(seconds);
  mark(handshake, "front.end");
  // The same with the user at work: a small mouse move four times a second.
  mark(handshake, "active.begin");
  for (double end = now_seconds() + seconds; now_seconds() < end;) {
    nudge_pointer();
    wait_s(0.25);
  }
  mark(handshake, "active.end");
  in_front = in_front && ::GetForegroundWindow() == programs.at(0);
  std::printf("latency.front.held %s\n", in_front ? "yes" : "no");
  std::fflush(stdout);
  return close_copy(copy) && done == changes && in_front;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf(
        "usage: lorvane_bench_latency <Lorvane.exe> [push tries] [return tries] "
        "[storm changes] [cpu seconds] [handshake folder]\n");
    return 2;
  }
  std::wstring exe = argv[1];
  int push_tries = argc > 2 ? _wtoi(argv[2]) : 24;
  int return_tries = argc > 3 ? _wtoi(argv[3]) : 6;
  int storm_changes = argc > 4 ? _wtoi(argv[4]) : 1000;
  double cpu_seconds = argc > 5 ? _wtof(argv[5]) : 20;
  std::wstring handshake = argc > 6 ? argv[6] : L"";

  // On a freshly started wineserver the last input time stays 0 until the first input.
  nudge_pointer();
  bool ok = push_latency(exe, push_tries);
  ok = storm_cost(exe, storm_changes, cpu_seconds, handshake) && ok;
  ok = return_latency(exe, return_tries) && ok;
  std::printf("latency.done %s\n", ok ? "yes" : "no");
  return ok ? 0 : 1;
}
