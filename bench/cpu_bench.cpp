// CPU time Lorvane.exe uses while it controls ten live windows, over a fixed stretch of wall
// time. Three copies run side by side, each from a folder of its own:
//   walk    - front-display option on: every tick looks up all ten classes and moves nothing;
//   away    - front-display option off, nobody at the keyboard: every tick raises the first
//             target topmost;
//   stopped - no settings file: the main window is shown and control does not run.
// The target windows belong to this process, which keeps handling their messages throughout.
//
// The figures come from GetProcessTimes. Under Wine 8 that call answers for another process with
// the caller's own times (all three copies read the same as this process), so there the caller
// reads the times of the processes from the host instead: the copies' folders are printed, and
// "cpu.measuring" and "cpu.measured" bracket the measured stretch; with a stop file given, the
// copies stay up after it until that file exists.
//
// lorvane_bench_cpu <Lorvane.exe> [seconds] [stop file]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/layout.h"
#include "bench_support.h"

using namespace lorvane;
using namespace lorvane::bench;

namespace {

constexpr int target_count = 10;

struct Instance {
  const char* name;
  std::vector<std::wstring> classes;
  bool front_display_off = false;
  std::unique_ptr<TempFolder> folder;
  Started started;
  HWND main = nullptr;
  ULONGLONG cpu_begin = 0;
  ULONGLONG cpu_end = 0;
};

// Kernel plus user time, in 100 ns units; false when the system does not tell.
bool cpu_time(DWORD process_id, ULONGLONG& total) {
  platform::UniqueKernelHandle process(
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  if (!process) return false;
  FILETIME created, ended, kernel, user;
  if (!::GetProcessTimes(process.get(), &created, &ended, &kernel, &user)) return false;
  auto value = [](const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  total = value(kernel) + value(user);
  return true;
}

bool start(Instance& instance, const std::wstring& exe) {
  instance.folder = std::make_unique<TempFolder>(L"cpu");
  std::wstring copy = instance.folder->file(file_name(exe));
  if (!::CopyFileW(exe.c_str(), copy.c_str(), FALSE)) return false;
  if (!instance.classes.empty() &&
      !write_bytes(instance.folder->file(L"Lorvane.ini"),
                   settings_text(instance.classes, instance.front_display_off))) {
    return false;
  }
  instance.started = start_program(copy);
  if (!instance.started.process) return false;
  bool controlling = !instance.classes.empty();
  // A controlling copy goes to the tray at once; the stopped one shows its window.
  return pump_until(
      [&] {
        instance.main =
            find_window_of(instance.started.id, L"LorvaneMain", L"Lorvane", !controlling);
        if (instance.main == nullptr) return false;
        if (!controlling) return true;
        return text_of(::GetDlgItem(instance.main, app::id_start_stop_button)) == L"制御中" &&
               !::IsWindowVisible(instance.main);
      },
      in_ms(30), poll_step);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: lorvane_bench_cpu <Lorvane.exe> [seconds]\n");
    return 2;
  }
  std::wstring exe = argv[1];
  double seconds = argc > 2 ? _wtof(argv[2]) : 60;
  std::wstring stop_file = argc > 3 ? argv[3] : L"";

  Instance walk{"walk", {}, true, {}, {}};
  Instance away{"away", {}, false, {}, {}};
  Instance stopped{"stopped", {}, false, {}, {}};
  TargetWindows targets;
  for (Instance* instance : {&walk, &away}) {
    for (int i = 0; i < target_count; ++i) {
      std::wstring name = L"LorvaneBench" + std::wstring(instance == &walk ? L"Walk" : L"Away") +
                          std::to_wstring(i);
      instance->classes.push_back(name);
      if (targets.add(name) == nullptr) {
        std::printf("error: a target window was not created\n");
        return 1;
      }
    }
  }
  HWND away_first = ::FindWindowW(away.classes[0].c_str(), nullptr);

  Instance* instances[] = {&walk, &away, &stopped};
  for (Instance* instance : instances) {
    if (!start(*instance, exe)) {
      std::printf("error: the %s copy of Lorvane did not come up\n", instance->name);
      return 1;
    }
  }
  for (Instance* instance : instances) {
    std::printf("cpu.%s.folder %s\n", instance->name, utf8(instance->folder->path()).c_str());
  }
  std::printf("cpu.ready\n");
  std::fflush(stdout);
  bool walk_front_off = ::SendMessageW(::GetDlgItem(walk.main, app::id_front_display_option),
                                       BM_GETCHECK, 0, 0) == BST_CHECKED;
  LASTINPUTINFO input{};
  input.cbSize = sizeof input;
  ::GetLastInputInfo(&input);
  std::printf("cpu.idle_ms_at_start %u\n", static_cast<unsigned>(::GetTickCount() - input.dwTime));

  // Let the start-up settle; what it cost is not part of the figure.
  pump_for(in_ms(1.5));
  for (Instance* instance : instances) {
    if (!cpu_time(instance->started.id, instance->cpu_begin)) {
      std::printf("error: no CPU time for the %s copy\n", instance->name);
      return 1;
    }
  }
  double begin = now_seconds();
  std::printf("cpu.measuring\n");
  std::fflush(stdout);
  pump_for(in_ms(seconds));
  for (Instance* instance : instances) cpu_time(instance->started.id, instance->cpu_end);
  double wall = now_seconds() - begin;
  ULONGLONG own = 0;
  cpu_time(::GetCurrentProcessId(), own);
  std::printf("cpu.measured\n");
  std::fflush(stdout);
  if (!stop_file.empty()) {
    // The caller takes its readings now; the copies must still be running.
    double deadline = now_seconds() + 30;
    while (::GetFileAttributesW(stop_file.c_str()) == INVALID_FILE_ATTRIBUTES &&
           now_seconds() < deadline) {
      pump_for(in_ms(0.02));
    }
  }

  bool raised = (::GetWindowLongW(away_first, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  bool still_walking =
      text_of(::GetDlgItem(walk.main, app::id_start_stop_button)) == L"制御中" && walk_front_off;
  std::printf("cpu.wall_s %.2f\n", wall);
  std::printf("cpu.driver.process_times_100ns %llu\n", static_cast<unsigned long long>(own));
  bool trustworthy = !running_under_wine();
  for (Instance* instance : instances) {
    std::printf("cpu.%s.process_times_100ns %llu %llu\n", instance->name,
                static_cast<unsigned long long>(instance->cpu_begin),
                static_cast<unsigned long long>(instance->cpu_end));
    if (!trustworthy) continue;
    double cpu_s = static_cast<double>(instance->cpu_end - instance->cpu_begin) / 1e7;
    std::printf("cpu.%s.cpu_ms %.1f\ncpu.%s.percent %.4f\n", instance->name, cpu_s * 1000,
                instance->name, cpu_s / wall * 100);
  }
  if (!trustworthy) std::printf("cpu.process_times not per process under Wine\n");
  std::printf("cpu.walk.checked %s\ncpu.away.raised %s\n", still_walking ? "yes" : "no",
              raised ? "yes" : "no");

  int status = 0;
  for (Instance* instance : instances) {
    if (!close_and_wait(instance->main, instance->started.process.get())) {
      std::printf("warning: the %s copy did not end after WM_CLOSE\n", instance->name);
      ::TerminateProcess(instance->started.process.get(), 1);
      status = 1;
    }
  }
  return still_walking && raised ? status : 1;
}
