// Start-up time of Lorvane.exe against a minimal window program: from CreateProcess until the
// program's main window is visible. Each start runs from a fresh folder with no settings file,
// so Lorvane shows its main window rather than going to the tray. The two programs take turns,
// so that load on the machine falls on both alike.
//
// With the profile program given, it then starts that program a few times the same way and
// splits Lorvane's start-up into its steps, from the moments the program writes down.
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
#include <vector>

#include "bench_support.h"

using namespace lorvane::bench;

namespace {

struct Program {
  const char* name;
  std::wstring exe;
  const wchar_t* class_name;
  const wchar_t* caption;
  std::vector<double> shown_ms;    // until the window is visible: the figure compared
  std::vector<double> created_ms;  // until the window exists: the share before the first window
};

struct Timing {
  double created_ms = -1;
  double shown_ms = -1;  // negative: the start failed
};

// One start: copy, start, wait until the window shows, close it and wait until the process ends.
// `read` sees the program's folder after the program has ended, with the start time.
Timing start_once(const Program& program,
                  const std::function<void(const TempFolder&, double)>& read = nullptr) {
  TempFolder folder(L"start");
  std::wstring exe = folder.file(file_name(program.exe));
  if (!::CopyFileW(program.exe.c_str(), exe.c_str(), FALSE)) return {};

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
        return ::IsWindowVisible(window) != FALSE;
      },
      in_ms(30), poll_step);
  double elapsed = now_seconds() - begin;
  if (!shown) {
    ::TerminateProcess(started.process.get(), 1);
    return {};
  }
  if (!close_and_wait(window, started.process.get())) {
    std::printf("warning: %s did not end after WM_CLOSE\n", program.name);
    ::TerminateProcess(started.process.get(), 1);
  }
  if (read) read(folder, begin);
  return {(created - begin) * 1000, elapsed * 1000};
}

// The steps of one start, in ms, from the moments the profile program wrote down.
std::map<std::string, double> profile_steps(const TempFolder& folder, double begin) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  std::map<std::string, double> raw;
  std::ifstream in(std::filesystem::path(folder.file(L"profile.txt")));
  std::string key;
  double value;
  while (in >> key >> value) raw[key] = value;
  auto at = [&](const char* moment) { return raw[moment] / frequency.QuadPart * 1000; };
  return {
      {"to_entry", at("entry") - begin * 1000},
      {"before_window", at("main_creating") - at("entry")},
      {"frame", at("wm_create") - at("main_creating")},
      {"first_control", at("first_control") - at("wm_create")},
      {"other_controls", at("last_control") - at("first_control")},
      {"fonts_and_rest_of_create", at("icon_set") - at("last_control")},
      {"tray_and_settings", at("status_line") - at("icon_set")},
      {"start_stop", at("show") - at("status_line")},
      {"show_to_visible", at("visible") - at("show")},
      {"show_to_activate", at("activate") - at("show")},
      {"visible_to_shown", at("shown") - at("visible")},
      {"total", at("shown") - begin * 1000},
      {"warm_tray_add", raw["warm_tray_add_us"] / 1000},
      {"warm_settings_load", raw["warm_settings_load_us"] / 1000},
  };
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::printf("usage: lorvane_bench_startup <Lorvane.exe> <minimal_window.exe> [repetitions]\n");
    return 2;
  }
  int repetitions = argc > 3 ? _wtoi(argv[3]) : 31;
  Program lorvane{"lorvane", argv[1], L"LorvaneMain", L"Lorvane", {}, {}};
  Program minimal{"minimal", argv[2], L"LorvaneBenchMinimal", L"Minimal", {}, {}};

  // Not counted: the first start of each loads Wine's own libraries into the file cache.
  if (start_once(lorvane).shown_ms < 0 || start_once(minimal).shown_ms < 0) {
    std::printf("error: a program did not show its window\n");
    return 1;
  }
  for (int i = 0; i < repetitions; ++i) {
    Program* order[2] = {&lorvane, &minimal};
    if (i % 2) std::swap(order[0], order[1]);
    for (Program* program : order) {
      Timing timing = start_once(*program);
      if (timing.shown_ms < 0) {
        std::printf("error: %s did not show its window\n", program->name);
        return 1;
      }
      program->shown_ms.push_back(timing.shown_ms);
      program->created_ms.push_back(timing.created_ms);
    }
  }

  for (const Program* program : {&lorvane, &minimal}) {
    std::printf("startup.%s.runs_ms", program->name);
    for (double ms : program->shown_ms) std::printf(" %.1f", ms);
    const std::vector<double>& shown = program->shown_ms;
    std::printf("\nstartup.%s.median_ms %.1f\nstartup.%s.min_ms %.1f\n", program->name,
                median(shown), program->name, *std::min_element(shown.begin(), shown.end()));
    std::printf("startup.%s.created_median_ms %.1f\n", program->name, median(program->created_ms));
  }
  std::printf("startup.repetitions %d\n", repetitions);
  std::printf("startup.ratio %.3f\n", median(lorvane.shown_ms) / median(minimal.shown_ms));
  std::printf("startup.min_ratio %.3f\n",
              *std::min_element(lorvane.shown_ms.begin(), lorvane.shown_ms.end()) /
                  *std::min_element(minimal.shown_ms.begin(), minimal.shown_ms.end()));
  std::fflush(stdout);

  if (argc > 4) {
    Program profile{"profile", argv[4], L"LorvaneMain", L"Lorvane", {}, {}};
    int starts = argc > 5 ? _wtoi(argv[5]) : 7;
    std::map<std::string, std::vector<double>> steps;
    for (int i = 0; i < starts; ++i) {
      Timing timing = start_once(profile, [&](const TempFolder& folder, double begin) {
        for (const auto& [step, ms] : profile_steps(folder, begin)) steps[step].push_back(ms);
      });
      if (timing.shown_ms < 0) {
        std::printf("error: the profile program did not show its window\n");
        return 1;
      }
    }
    for (const auto& [step, ms] : steps) {
      std::printf("profile.%s_ms %.1f\n", step.c_str(), median(ms));
    }
  }
  return 0;
}
