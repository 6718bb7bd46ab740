// Cost of one control tick of the real main window against the bare platform calls a tick has to
// make: the foreground window once, a class lookup per entry, and the tick count and last input
// once, at the first live entry. Half of the registered classes have a window (created here, never
// the foreground window), and the user counts as active, so every entry is visited and nothing is
// moved: the tick's own overhead is all that separates the two loops. A second pass does the same
// with the front-display option on, where a tick asks no clock at all. Last, each call a tick makes
// is timed on its own, to show where the time goes, and so is a move of another program's window.
// Then the tick among many windows (ten entries, 300 top-level windows of a child process) in each
// of its modes, with its calls into the Wine server (the waits that end), and the two ways of
// finding an entry's windows among them: walking its class with FindWindowEx, or
// enumerating every top-level window and reading its class.
//
// lorvane_bench_tick [batch pairs] [class lookups per batch] [many: the many-windows part alone]
// (lorvane_bench_tick 0 0 windows READY DONE is the child that keeps the many windows)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "bench_support.h"
#include "control/control_cycle.h"
#include "platform/decimal.h"
#include "platform/process_name.h"
#include "platform/text.h"
#include "platform/z_order.h"
#include "settings/settings_choice.h"

using namespace lorvane;
using namespace lorvane::bench;

namespace {

volatile DWORD sink = 0;

// The user's last input is always "just now", read through the real calls, so the tick makes the
// same platform calls as the bare loop and always finds the user active.
struct RecentInput {
  DWORD now = 0;
  unsigned long long tick_queries = 0;
  // The last input ten minutes ago instead: the user is away, and a raise is due.
  bool away = false;

  lorvane::platform::InputClock clock() {
    return {[this] {
              ++tick_queries;
              return now = ::GetTickCount();
            },
            [this](LASTINPUTINFO& info) {
              ::GetLastInputInfo(&info);
              info.dwTime = away ? now - 600000 : now;
            }};
  }
};

// What a tick cannot do without: the calls themselves, with the names already in ANSI.
void bare_tick(const std::vector<std::string>& names, bool query_input) {
  HWND fg = ::GetForegroundWindow();
  LASTINPUTINFO info{};
  for (const std::string& name : names) {
    HWND w = ::FindWindowA(name.c_str(), nullptr);
    if (w == nullptr) continue;
    if (query_input && info.cbSize == 0) {
      info.cbSize = sizeof info;
      DWORD now = ::GetTickCount();
      ::GetLastInputInfo(&info);
      sink = sink ^ now ^ info.dwTime;
    }
    sink = sink ^ (w == fg);
  }
}

// Microseconds per call of f, over `count` calls.
template <class F>
double per_call_us(int count, F&& f) {
  double begin = now_seconds();
  for (int i = 0; i < count; ++i) f();
  return (now_seconds() - begin) * 1e6 / count;
}

// The median over batches of `count` calls each: one burst of load elsewhere spoils one batch.
template <class F>
double typical_call_us(int count, F&& f) {
  std::vector<double> batches;
  for (int b = 0; b < 25; ++b) batches.push_back(per_call_us(count / 25, f));
  return median(batches);
}

struct Pair {
  double product_us;
  double baseline_us;
  double ratio;       // of the two medians: the figure reported
  double pair_ratio;  // median of the ratios of neighbouring batches: a check on the first
};

// Short batches of real ticks and of bare loops, taking turns, so that a burst of load from
// elsewhere on the machine lands on both alike; medians of the per-tick times of the batches.
Pair compare(int pairs, int ticks, control::ControlContext& c,
             const std::vector<std::string>& names, bool query_input) {
  std::vector<double> product, baseline, ratios;
  for (int pair = 0; pair < pairs; ++pair) {
    auto run_product = [&] {
      product.push_back(per_call_us(ticks, [&] { control::control_tick(c); }));
    };
    auto run_baseline = [&] {
      baseline.push_back(per_call_us(ticks, [&] { bare_tick(names, query_input); }));
    };
    if (pair % 2) {
      run_baseline();
      run_product();
    } else {
      run_product();
      run_baseline();
    }
    ratios.push_back(product.back() / baseline.back());
  }
  pump_for(in_ms(0));
  double p = median(product), b = median(baseline);
  return {p, b, p / b, median(ratios)};
}

void print_pair(const char* key, const char* mode, const Pair& pair) {
  std::printf("%s.%sproduct_us %.2f\n", key, mode, pair.product_us);
  std::printf("%s.%sbaseline_us %.2f\n", key, mode, pair.baseline_us);
  std::printf("%s.%sratio %.3f\n", key, mode, pair.ratio);
  std::printf("%s.%spair_ratio %.3f\n", key, mode, pair.pair_ratio);
}

std::wstring target_name(int i) {
  std::wstring digits = std::to_wstring(i);
  return L"LorvaneBenchTarget" + std::wstring(3 - digits.size(), L'0') + digits;
}

bool any_topmost(const TargetWindows& windows) {
  for (std::size_t i = 0; i < windows.size(); ++i) {
    if (is_topmost(windows.at(i))) return true;
  }
  return false;
}

// The waits of this thread that ended, from the host's accounting (Z: is the host's root): under
// Wine, each call into the server is one. The main thread's figures are the process's own line.
long long voluntary_switches() {
  HANDLE file = ::CreateFileW(L"Z:\\proc\\self\\status", GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  char buffer[4096];
  DWORD read = 0;
  ::ReadFile(file, buffer, sizeof buffer - 1, &read, nullptr);
  ::CloseHandle(file);
  buffer[read] = 0;
  const char* at = std::strstr(buffer, "\nvoluntary_ctxt_switches:");
  return at == nullptr ? -1 : std::atoll(at + 26);
}

// Server calls per tick: the waits that ended over many ticks, less those of reading the count.
template <class F>
double switches_per_call(int count, F&& f) {
  long long empty = voluntary_switches();
  empty = voluntary_switches() - empty;
  long long begin = voluntary_switches();
  for (int i = 0; i < count; ++i) f();
  return static_cast<double>(voluntary_switches() - begin - empty) / count;
}

BOOL CALLBACK list_window(HWND w, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
  return TRUE;
}

BOOL CALLBACK read_class(HWND w, LPARAM) {
  char name[128];
  sink = sink + static_cast<DWORD>(::GetClassNameA(w, name, sizeof name));
  return TRUE;
}

// Ten entries among 300 top-level windows, as on a busy desktop. Entries 0, 2, 4 and 6 have no
// window; 1, 3, 5 and 7 only windows the user cannot see (three hidden, two minimised each);
// entry 8 one shown window, entry 9 three. The other 276 are shown bystanders of 23 classes, and
// someone else's window is in front. The windows belong to a child process, as real windows belong
// to other programs: reading this process's own windows costs no call into the server. Each mode
// is timed over real ticks: the user at work (the clock and the push), the front-display option
// ticked, and the user away, the raise due and its window raised already (the tick that runs
// every second while nobody is there).
std::wstring entry_name(int i) { return L"LorvaneBenchEntry" + std::to_wstring(i); }

// The child's windows, as the many-windows tick finds them.
void make_many_windows(TargetWindows& windows) {
  for (int i : {1, 3, 5, 7}) {
    for (int k = 0; k < 5; ++k) {
      HWND w = windows.add(entry_name(i));
      if (w != nullptr) ::ShowWindow(w, k < 3 ? SW_HIDE : SW_SHOWMINNOACTIVE);
    }
  }
  windows.add(entry_name(8));
  for (int k = 0; k < 3; ++k) windows.add(entry_name(9));
  for (int k = 0; windows.size() < 300; ++k) {
    windows.add(L"LorvaneBenchBystander" + std::to_wstring(k % 23));
  }
}

int many_windows(control::ControlContext& c, RecentInput& input, HWND fg) {
  std::vector<std::wstring> entries;
  std::vector<std::string> ansi;
  c.target_list.clear();
  for (int i = 0; i < 10; ++i) {
    entries.push_back(entry_name(i));
    ansi.push_back(platform::text::to_ansi(entries.back()));
    c.target_list.append(entries.back());
  }
  // Told to go, whatever happens below.
  WindowsChild child;
  if (!child.start(L"Many", L"0 0 windows")) {
    std::printf("error: the child's windows were not set up\n");
    return 1;
  }
  // Listed in one go: a walk from window to window misses those that move meanwhile.
  std::vector<HWND> top_windows;
  ::EnumWindows(list_window, reinterpret_cast<LPARAM>(&top_windows));
  std::vector<HWND> child_windows;
  for (HWND w : top_windows) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(w, &process);
    if (process == child.id()) child_windows.push_back(w);
  }
  auto top_level = static_cast<int>(top_windows.size());
  ::SetForegroundWindow(fg);
  pump_for(in_ms(0.2));
  std::printf("many.top_level_windows %d\n", top_level);
  // Besides its 300, the child may have windows the system makes for each thread (its IME's).
  if (child_windows.size() < 300 || ::GetForegroundWindow() != fg) {
    std::printf("error: the windows were not set up (%zu of the child)\n", child_windows.size());
    return 1;
  }

  const int n = 2000;
  auto tick = [&] { control::control_tick(c); };
  std::printf("many.active_tick_us %.2f\n", typical_call_us(n, tick));
  std::printf("many.active_tick_switches %.2f\n", switches_per_call(200, tick));
  c.front_display_option.set_ticked(true);
  std::printf("many.front_off_tick_us %.2f\n", typical_call_us(n, tick));
  std::printf("many.front_off_tick_switches %.2f\n", switches_per_call(200, tick));
  c.front_display_option.set_ticked(false);
  input.away = true;
  control::control_tick(c);
  HWND raised = nullptr;
  for (HWND w : child_windows) {
    if (is_topmost(w)) raised = w;
  }
  std::printf(
      "many.raised_entry %d\n", raised == nullptr ? -1 : [&] {
        wchar_t name[64] = {};
        ::GetClassNameW(raised, name, 64);
        for (std::size_t i = 0; i < entries.size(); ++i) {
          if (entries[i] == name) return static_cast<int>(i);
        }
        return -2;
      }());
  std::printf("many.away_tick_us %.2f\n", typical_call_us(n, tick));
  std::printf("many.away_tick_switches %.2f\n", switches_per_call(200, tick));
  input.away = false;
  if (raised != nullptr) {
    ::SetWindowPos(raised, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  }

  // The two ways to find the entries' windows, bare: every entry's class walked to its end, or
  // every top-level window enumerated once and its class read.
  std::printf("many.walk_all_entries_us %.2f\n", typical_call_us(n, [&] {
                for (const std::string& name : ansi) {
                  for (HWND w = ::FindWindowExA(nullptr, nullptr, name.c_str(), nullptr);
                       w != nullptr; w = ::FindWindowExA(nullptr, w, name.c_str(), nullptr)) {
                    sink = sink ^ static_cast<DWORD>(reinterpret_cast<UINT_PTR>(w));
                  }
                }
              }));
  std::printf("many.enumerate_once_us %.2f\n",
              typical_call_us(n / 4, [&] { ::EnumWindows(read_class, 0); }));
  // What the raise asks of each window before it takes it.
  HWND shown = ::FindWindowW(entries[8].c_str(), nullptr);
  std::printf("many.on_screen_questions_us %.3f\n", typical_call_us(n, [&] {
                RECT r{};
                sink = sink ^ ::IsWindowVisible(shown) ^ ::IsIconic(shown) ^
                       (::GetWindow(shown, GW_OWNER) != nullptr) ^ ::GetWindowRect(shown, &r) ^
                       (::MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr);
              }));
  std::printf("many.monitor_from_rect_us %.3f\n", typical_call_us(n, [&] {
                RECT r{};
                ::GetWindowRect(shown, &r);
                sink = sink ^ (::MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr);
              }));
  std::printf("many.find_window_ex_us %.3f\n", typical_call_us(n, [&] {
                sink =
                    sink ^ (::FindWindowExA(nullptr, nullptr, ansi[8].c_str(), nullptr) != nullptr);
              }));
  // Real windows belong to other programs, whose class names cost more to read (under Wine, a call
  // into the server for the class and one for its name): the taskbar stands in for one. An
  // enumeration reads one for each top-level window; the walk none.
  HWND foreign = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  if (foreign == nullptr) foreign = ::GetDesktopWindow();
  std::printf("many.class_name_other_us %.3f\n", typical_call_us(n, [&] {
                char name[128];
                sink = sink + static_cast<DWORD>(::GetClassNameA(foreign, name, sizeof name));
              }));
  std::printf("many.full_screen_work_us %.3f\n",
              typical_call_us(n, [&] { sink = sink ^ control::full_screen_work(c, fg); }));
  c.target_list.clear();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 5 && std::wstring(argv[3]) == L"windows")
    return keep_windows(argv[4], argv[5], make_many_windows);
  int pairs = argc > 1 ? _wtoi(argv[1]) : 150;
  // The ticks per batch shrink as the list grows, so that every size gets about the same time.
  int lookups_per_batch = argc > 2 ? _wtoi(argv[2]) : 200;

  TempFolder settings(L"tick");
  RecentInput input;
  app::MainWindowOptions options;
  options.settings_path = settings::settings_path(settings.path());
  options.clock = input.clock();
  options.quit_on_destroy = false;
  // The window is never shown: while control runs it lives in the tray. With no settings file
  // its timers stay off, so only the ticks called here run.
  app::MainWindow window(std::move(options));
  if (!window.create(::GetModuleHandleW(nullptr))) {
    std::printf("error: the main window was not created\n");
    return 1;
  }
  control::ControlContext& c = window.context();

  // Someone else's window holds the foreground, as while the user works.
  TargetWindows front;
  HWND fg = front.add(L"LorvaneBenchFront");
  ::SetForegroundWindow(fg);
  if (!pump_until([&] { return ::GetForegroundWindow() == fg; }, in_ms(10), poll_step)) {
    std::printf("error: the foreground window could not be set\n");
    return 1;
  }

  if (argc > 3 && std::wstring(argv[3]) == L"many") return many_windows(c, input, fg);

  for (int size : {1, 10, 100}) {
    TargetWindows live;
    std::vector<std::string> ansi;
    c.target_list.clear();
    for (int i = 0; i < size; ++i) {
      std::wstring name = target_name(i);
      c.target_list.append(name);
      ansi.push_back(platform::text::to_ansi(name));
      if (i % 2 == 0 && live.add(name) == nullptr) {
        std::printf("error: a target window was not created\n");
        return 1;
      }
    }
    pump_for(in_ms(0.2));
    int ticks = std::max(1, lookups_per_batch / size);
    char key[32];
    std::snprintf(key, sizeof key, "tick.n%d", size);

    // Warm up both paths, then check the tick really takes the path we mean to time: the clock is
    // asked once, and nothing gets raised or pushed.
    for (int i = 0; i < 20; ++i) bare_tick(ansi, true);
    input.tick_queries = 0;
    control::control_tick(c);
    if (input.tick_queries != 1 || any_topmost(live) || ::GetForegroundWindow() != fg) {
      std::printf("error: the tick did not take the active-user path (%u clock queries)\n",
                  static_cast<unsigned>(input.tick_queries));
      return 1;
    }

    Pair active = compare(pairs, ticks, c, ansi, true);
    std::printf("%s.live %u\n%s.ticks_per_batch %d\n", key, static_cast<unsigned>(live.size()), key,
                ticks);
    print_pair(key, "", active);

    // The front-display option on: no clock at all, still every entry looked up.
    c.front_display_option.set_ticked(true);
    input.tick_queries = 0;
    Pair front_off = compare(pairs, ticks, c, ansi, false);
    c.front_display_option.set_ticked(false);
    if (input.tick_queries != 0 || any_topmost(live) || ::GetForegroundWindow() != fg) {
      std::printf("error: the tick with the front-display option on moved something\n");
      return 1;
    }
    print_pair(key, "front_off_", front_off);
    std::fflush(stdout);
  }

  // Where a tick's time goes, per entry, with ten entries of which five are live.
  {
    TargetWindows live;
    c.target_list.clear();
    std::vector<std::string> ansi;
    for (int i = 0; i < 10; ++i) {
      std::wstring name = target_name(i);
      c.target_list.append(name);
      ansi.push_back(platform::text::to_ansi(name));
      if (i % 2 == 0) live.add(name);
    }
    pump_for(in_ms(0.2));
    const int n = 20000;
    int i = 0;
    auto next = [&] { return i = (i + 1) % 10; };
    std::printf("part.list_item_us %.3f\n", typical_call_us(n, [&] {
                  sink = sink + static_cast<DWORD>(c.target_list.item(next()).size());
                }));
    // The same item with one message into a buffer of the largest size an entry can have.
    std::printf("part.list_item_one_message_us %.3f\n", typical_call_us(n, [&] {
                  wchar_t buffer[1024];
                  sink = sink + static_cast<DWORD>(::SendMessageW(
                                    c.target_list.hwnd(), LB_GETTEXT, static_cast<WPARAM>(next()),
                                    reinterpret_cast<LPARAM>(buffer)));
                }));
    std::printf("part.list_count_us %.3f\n", typical_call_us(n, [&] {
                  sink = sink + static_cast<DWORD>(c.target_list.count());
                }));
    std::wstring name = c.target_list.item(0);
    std::printf("part.to_ansi_us %.3f\n", typical_call_us(n, [&] {
                  sink = sink + static_cast<DWORD>(platform::text::to_ansi(name).size());
                }));
    std::printf("part.find_window_live_us %.3f\n", typical_call_us(n / 4, [&] {
                  sink = sink ^ (::FindWindowA(ansi[0].c_str(), nullptr) != nullptr);
                }));
    std::printf("part.find_window_absent_us %.3f\n", typical_call_us(n / 4, [&] {
                  sink = sink ^ (::FindWindowA(ansi[1].c_str(), nullptr) != nullptr);
                }));
    std::printf("part.front_display_option_us %.3f\n",
                typical_call_us(n, [&] { sink = sink ^ c.front_display_option.ticked(); }));
    std::printf("part.idle_threshold_box_parse_us %.3f\n", typical_call_us(n, [&] {
                  sink =
                      sink + static_cast<DWORD>(
                                 platform::parse_decimal(c.idle_threshold_box.text()).value_or(0));
                }));
    std::printf("part.clock_us %.3f\n", typical_call_us(n, [&] {
                  LASTINPUTINFO info{};
                  info.cbSize = sizeof info;
                  sink = sink ^ ::GetTickCount();
                  ::GetLastInputInfo(&info);
                  sink = sink ^ info.dwTime;
                }));
    std::printf("part.foreground_us %.3f\n",
                typical_call_us(n, [&] { sink = sink ^ (::GetForegroundWindow() != nullptr); }));
    std::printf("part.thread_process_id_us %.3f\n", typical_call_us(n, [&] {
                  DWORD owner = 0;
                  sink = sink ^ ::GetWindowThreadProcessId(live.at(0), &owner) ^ owner;
                }));
    // Real targets belong to other programs: the taskbar stands in for one.
    HWND foreign = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    if (foreign == nullptr) foreign = ::GetDesktopWindow();
    std::printf("part.thread_process_id_other_us %.3f\n", typical_call_us(n, [&] {
                  DWORD owner = 0;
                  sink = sink ^ ::GetWindowThreadProcessId(foreign, &owner) ^ owner;
                }));
    // A move of another program's window: the bare call, the program's move with the integrity
    // check made every time, and as the program makes it, remembering the check for the window.
    // HWND_NOTOPMOST on a window that is not topmost goes all the way and changes nothing.
    constexpr UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
    std::printf("part.move_bare_us %.3f\n", typical_call_us(n / 4, [&] {
                  sink = sink ^ ::SetWindowPos(foreign, HWND_NOTOPMOST, 0, 0, 0, 0,
                                               flags | SWP_ASYNCWINDOWPOS);
                }));
    std::printf("part.move_checked_us %.3f\n", typical_call_us(n / 4, [&] {
                  sink = sink ^
                         platform::z_order::set_window_pos(foreign, HWND_NOTOPMOST, flags).error;
                }));
    platform::z_order::RememberingMover mover;
    std::printf("part.move_remembered_us %.3f\n", typical_call_us(n / 4, [&] {
                  sink = sink ^ mover(foreign, HWND_NOTOPMOST, flags).error;
                }));
    // The program of another program's window, read once for each window the raise compares.
    std::printf("part.program_of_other_us %.3f\n", typical_call_us(n / 4, [&] {
                  sink =
                      sink + static_cast<DWORD>(platform::process_name::program_of(foreign).size());
                }));
  }
  return many_windows(c, input, fg);
}
