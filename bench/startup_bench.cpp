// Start-up time of Lorvane.exe against a minimal window program, in two cases: from
// CreateProcess until the main window is visible, started from a fresh folder with no settings
// file (Lorvane shows its main window); and from CreateProcess until it has gone to the tray,
// started beside a settings file with 10 stored targets (its icon is in the notification area and
// its main window minimised and hidden, as the user sees it). Both are compared with the minimal
// program's visible window. The three starts take turns, so that load on the machine falls on
// all alike.
//
// With the profile program given, it then starts that program a few times in each case the same
// way and splits Lorvane's start-up into its steps, from the moments the program writes down.
//
// Every program here adds its icon to the notification area at every start and deletes it at its
// exit. After the goal (outside the time measured) each start is asked whether the shell holds
// its icon, and again once the process has ended, whether the icon was left behind: dozens of
// starts would otherwise fill the notification area.
//
// lorvane_bench_startup <Lorvane.exe> <minimal_window.exe> [repetitions]
//                       [lorvane_bench_startup_profile.exe] [profile starts]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/window_names.h"
#include "bench_support.h"

using namespace lorvane::bench;

namespace {

// What a start waits for.
enum class Goal {
  visible,  // the main window is visible
  tray      // the tray icon is there and the main window minimised and hidden
};

// The icons of a program's starts: those the shell did not hold at the goal, and those it still
// held after the program had ended.
struct IconCount {
  int starts = 0;
  int missing = 0;
  int left = 0;
};

struct Program {
  Program(const char* program_name, std::wstring program_exe, const wchar_t* window_class,
          const wchar_t* window_caption, Goal program_goal)
      : name(program_name),
        exe(std::move(program_exe)),
        class_name(window_class),
        caption(window_caption),
        goal(program_goal) {}

  const char* name;
  std::wstring exe;
  const wchar_t* class_name;
  const wchar_t* caption;
  Goal goal;
  std::vector<double> shown_ms;    // until the goal is reached: the figure compared
  std::vector<double> created_ms;  // until the window exists: the share before the first window
  IconCount icons;
};

struct Timing {
  double created_ms = -1;
  double shown_ms = -1;  // negative: the start failed
};

// The targets stored for the start that goes to the tray: classes no window has, so that the
// start-up costs what it costs and no tick finds anything to move.
std::vector<std::wstring> stored_targets() {
  std::vector<std::wstring> classes;
  for (int k = 0; k < 10; ++k) classes.push_back(L"LorvaneBenchStored" + std::to_wstring(k));
  return classes;
}

bool reached(const Program& program, HWND window) {
  if (program.goal == Goal::visible) return ::IsWindowVisible(window) != FALSE;
  // The cheap looks first: the shell is asked only once the window has gone.
  return ::IsIconic(window) && !::IsWindowVisible(window) && tray_icon_present(window);
}

// One start: copy, start, wait for the goal, close the window and wait until the process ends.
// `read` sees the program's folder after the program has ended, with the start time. Not the
// support library's LorvaneCopy: the floor program starts here the same way as Lorvane, and the
// clock runs from the process's creation to the goal, looked at every poll step.
Timing start_once(Program& program,
                  const std::function<void(const TempFolder&, double)>& read = nullptr) {
  TempFolder folder(L"start");
  std::wstring exe = folder.file(file_name(program.exe));
  if (!::CopyFileW(program.exe.c_str(), exe.c_str(), FALSE)) return {};
  if (program.goal == Goal::tray &&
      !write_bytes(folder.file(L"Lorvane.ini"), settings_text(stored_targets(), false))) {
    return {};
  }

  double begin = now_seconds();
  Started started = start_program(exe);
  if (!started.process) return {};
  HWND window = nullptr;
  double created = 0;
  bool shown = pump_until(
      [&] {
        window = find_window_of(started.id, program.class_name, program.caption, false);
        if (window == nullptr) return false;
        if (created == 0) created = now_seconds();
        return reached(program, window);
      },
      in_ms(30), poll_step);
  double elapsed = now_seconds() - begin;
  if (!shown) {
    ::TerminateProcess(started.process.get(), 1);
    return {};
  }
  ++program.icons.starts;
  if (!tray_icon_present(window)) ++program.icons.missing;
  if (!close_and_wait(window, started.process.get())) {
    std::printf("warning: %s did not end after WM_CLOSE\n", program.name);
    ::TerminateProcess(started.process.get(), 1);
  }
  if (tray_icon_present(window)) {
    ++program.icons.left;
    delete_tray_icon(window);  // so that one start's leftover does not crowd the next
  }
  if (read) read(folder, begin);
  return {(created - begin) * 1000, elapsed * 1000};
}

// The steps of one start in the order they came, in ms: each from the moment before it to its
// own, the first from the start; then the total.
std::vector<std::pair<std::string, double>> profile_steps(const TempFolder& folder, double begin) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  std::vector<std::pair<std::string, double>> steps;
  std::ifstream in(std::filesystem::path(folder.file(L"profile.txt")));
  std::string name;
  double value;
  double previous = begin * 1000;
  while (in >> name >> value) {
    double ms = value / frequency.QuadPart * 1000;
    steps.emplace_back(name, ms - previous);
    previous = ms;
  }
  steps.emplace_back("total", previous - begin * 1000);
  return steps;
}

// Medians of each step over the starts, in the order of the first start.
struct StepTable {
  std::vector<std::string> order;
  std::map<std::string, std::vector<double>> ms;

  void add(const std::vector<std::pair<std::string, double>>& steps) {
    for (const auto& [step, value] : steps) {
      if (!ms.count(step)) order.push_back(step);
      ms[step].push_back(value);
    }
  }
  void print(const char* label) const {
    std::printf("profile.%s.steps", label);
    for (const std::string& step : order)
      std::printf(" %s %.1f,", step.c_str(), median(ms.at(step)));
    std::printf("\n");
    for (const std::string& step : order)
      std::printf("profile.%s.%s_ms %.1f\n", label, step.c_str(), median(ms.at(step)));
  }
};

void print_figures(const Program& program) {
  const std::vector<double>& shown = program.shown_ms;
  std::printf("startup.%s.runs_ms", program.name);
  for (double ms : shown) std::printf(" %.1f", ms);
  std::printf("\nstartup.%s.median_ms %.1f\nstartup.%s.min_ms %.1f\n", program.name, median(shown),
              program.name, *std::min_element(shown.begin(), shown.end()));
  std::printf("startup.%s.created_median_ms %.1f\n", program.name, median(program.created_ms));
}

void print_ratios(const char* label, const Program& program, const Program& floor) {
  std::printf("startup.%sratio %.3f\n", label, median(program.shown_ms) / median(floor.shown_ms));
  std::printf("startup.%smin_ratio %.3f\n", label,
              *std::min_element(program.shown_ms.begin(), program.shown_ms.end()) /
                  *std::min_element(floor.shown_ms.begin(), floor.shown_ms.end()));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::printf("usage: lorvane_bench_startup <Lorvane.exe> <minimal_window.exe> [repetitions]\n");
    return 2;
  }
  int repetitions = argc > 3 ? _wtoi(argv[3]) : 31;
  Program lorvane{"lorvane", argv[1], lorvane::app::main_window_class, lorvane::app::window_caption,
                  Goal::visible};
  Program tray{"tray", argv[1], lorvane::app::main_window_class, lorvane::app::window_caption,
               Goal::tray};
  Program minimal{"minimal", argv[2], L"LorvaneBenchMinimal", L"Minimal", Goal::visible};

  // Not counted: the first start of each loads Wine's own libraries into the file cache.
  if (start_once(lorvane).shown_ms < 0 || start_once(tray).shown_ms < 0 ||
      start_once(minimal).shown_ms < 0) {
    std::printf("error: a program did not reach its window\n");
    return 1;
  }
  for (int i = 0; i < repetitions; ++i) {
    Program* order[3] = {&lorvane, &tray, &minimal};
    std::rotate(order, order + i % 3, order + 3);
    for (Program* program : order) {
      Timing timing = start_once(*program);
      if (timing.shown_ms < 0) {
        std::printf("error: %s did not reach its window\n", program->name);
        return 1;
      }
      program->shown_ms.push_back(timing.shown_ms);
      program->created_ms.push_back(timing.created_ms);
    }
  }

  for (const Program* program : {&lorvane, &tray, &minimal}) print_figures(*program);
  std::printf("startup.repetitions %d\n", repetitions);
  print_ratios("", lorvane, minimal);
  print_ratios("tray.", tray, minimal);
  IconCount all;
  auto tally = [&all](const Program& program) {
    all.starts += program.icons.starts;
    all.missing += program.icons.missing;
    all.left += program.icons.left;
  };
  for (const Program* program : {&lorvane, &tray, &minimal}) tally(*program);

  if (argc > 4) {
    Program profile{"profile", argv[4], lorvane::app::main_window_class,
                    lorvane::app::window_caption, Goal::visible};
    Program profile_tray{"profile_tray", argv[4], lorvane::app::main_window_class,
                         lorvane::app::window_caption, Goal::tray};
    int starts = argc > 5 ? _wtoi(argv[5]) : 7;
    StepTable visible_steps, tray_steps;
    for (int i = 0; i < starts; ++i) {
      for (auto [program, table] :
           {std::pair{&profile, &visible_steps}, std::pair{&profile_tray, &tray_steps}}) {
        Timing timing = start_once(*program, [&](const TempFolder& folder, double begin) {
          table->add(profile_steps(folder, begin));
        });
        if (timing.shown_ms < 0) {
          std::printf("error: the profile program did not reach its window\n");
          return 1;
        }
      }
    }
    visible_steps.print("visible");
    tray_steps.print("tray");
    tally(profile);
    tally(profile_tray);
  }
  std::printf("startup.icons.starts %d\nstartup.icons.missing %d\nstartup.icons.left %d\n",
              all.starts, all.missing, all.left);
  return 0;
}
