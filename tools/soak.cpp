// A long run of control: the real Lorvane.exe controls 20 registered classes while target
// windows open and close at random, some come to the front, and active and idle periods
// alternate through SendInput. One registered target hangs for good. Reports the program's CPU
// time, handles, GUI objects and private memory at the start and at the end, then checks that
// it still answers and comes back from the tray.
//
//   soak.exe <Lorvane.exe> [--minutes M] [--seed S]
#include <windows.h>

#include <psapi.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "harness/lorvane_harness.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using namespace lorvane::harness;

constexpr int target_count = 20;
constexpr UINT open_target = WM_APP + 1;
constexpr UINT close_target = WM_APP + 2;

std::wstring target_class(int i) { return L"LorvaneSoakTarget" + std::to_wstring(i); }

HWND make_window(const std::wstring& name, int i) {
  return show_window_of_class(name, ::DefWindowProcW,
                              {40 + 23 * i, 40 + 17 * i, 280 + 23 * i, 200 + 17 * i});
}

// The thread that owns the well-behaved targets: it opens and closes them on request.
void targets_thread(std::vector<HWND>* windows, std::atomic<DWORD>* thread_id) {
  MSG msg;
  ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists from here on
  *thread_id = ::GetCurrentThreadId();
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    int i = static_cast<int>(msg.wParam);
    if (msg.message == open_target && (*windows)[i] == nullptr) {
      (*windows)[i] = make_window(target_class(i), i);
    } else if (msg.message == close_target && (*windows)[i] != nullptr) {
      ::DestroyWindow((*windows)[i]);
      (*windows)[i] = nullptr;
    } else {
      ::DispatchMessageW(&msg);
    }
  }
  for (HWND window : *windows) {
    if (window != nullptr) ::DestroyWindow(window);
  }
}

struct Sample {
  double cpu_seconds;
  DWORD handles;
  DWORD gdi_objects;
  DWORD user_objects;
  SIZE_T private_bytes;
  // Under Wine the counts above read 0 for another process; the host's view of the same
  // process stands in: its data size, resident size and open files.
  unsigned long host_data_kib;
  unsigned long host_resident_kib;
  unsigned long host_open_files;
};

// The host process id of the program, found by the folder in its command line (Wine only).
std::wstring host_process(const std::wstring& folder_name) {
  std::string needle(folder_name.begin(), folder_name.end());
  WIN32_FIND_DATAW entry;
  HANDLE find = ::FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (find == INVALID_HANDLE_VALUE) return {};
  std::wstring found;
  do {
    std::wstring name = entry.cFileName;
    if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    std::string command = read_bytes(L"Z:\\proc\\" + name + L"\\cmdline");
    if (command.find(needle) != std::string::npos &&
        command.find("Lorvane.exe") != std::string::npos) {
      found = name;
      break;
    }
  } while (::FindNextFileW(find, &entry));
  ::FindClose(find);
  return found;
}

unsigned long status_kib(const std::string& status, const char* field) {
  std::size_t at = status.find(field);
  return at == std::string::npos
             ? 0
             : std::strtoul(status.c_str() + at + std::strlen(field), nullptr, 10);
}

Sample sample(HANDLE process, const std::wstring& host_pid) {
  Sample s{};
  if (!host_pid.empty()) {
    std::string status = read_bytes(L"Z:\\proc\\" + host_pid + L"\\status");
    s.host_data_kib = status_kib(status, "VmData:");
    s.host_resident_kib = status_kib(status, "VmRSS:");
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW((L"Z:\\proc\\" + host_pid + L"\\fd\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        if (entry.cFileName[0] != L'.') ++s.host_open_files;
      } while (::FindNextFileW(find, &entry));
      ::FindClose(find);
    }
  }
  FILETIME created, exited, kernel, user;
  if (::GetProcessTimes(process, &created, &exited, &kernel, &user)) {
    auto ticks = [](FILETIME t) {
      return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    s.cpu_seconds = static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
  }
  if (!host_pid.empty()) {
    // Wine answers GetProcessTimes for another process with the caller's own times: the host's
    // count of the process's user and system time (fields 14 and 15, in 1/100 s) is the truth.
    std::string stat = read_bytes(L"Z:\\proc\\" + host_pid + L"\\stat");
    std::size_t at = stat.rfind(')');
    if (at != std::string::npos) {
      const char* p = stat.c_str() + at + 2;
      unsigned long long fields[15] = {};
      for (int i = 3; i <= 15 && *p != '\0'; ++i) {
        char* end = nullptr;
        fields[i - 1] = std::strtoull(p, &end, 10);
        if (i == 3) end = const_cast<char*>(p) + 1;  // the state letter
        p = end;
        while (*p == ' ') ++p;
      }
      s.cpu_seconds = static_cast<double>(fields[13] + fields[14]) / 100.0;
    }
  }
  ::GetProcessHandleCount(process, &s.handles);
  s.gdi_objects = ::GetGuiResources(process, GR_GDIOBJECTS);
  s.user_objects = ::GetGuiResources(process, GR_USEROBJECTS);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
    s.private_bytes = memory.PrivateUsage;
  }
  return s;
}

void print(const char* label, const Sample& s) {
  std::printf(
      "soak: %-5s cpu %.3f s, handles %lu, GDI objects %lu, USER objects %lu, private %lu KiB;"
      " host: data %lu KiB, resident %lu KiB, open files %lu\n",
      label, s.cpu_seconds, static_cast<unsigned long>(s.handles),
      static_cast<unsigned long>(s.gdi_objects), static_cast<unsigned long>(s.user_objects),
      static_cast<unsigned long>(s.private_bytes / 1024), s.host_data_kib, s.host_resident_kib,
      s.host_open_files);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: soak <Lorvane.exe> [--minutes M] [--seed S]\n");
    return 2;
  }
  std::wstring exe = windows_path(argv[1]);
  double minutes = 10;
  unsigned seed = 1;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::wstring(argv[i]) == L"--minutes") minutes = std::wcstod(argv[i + 1], nullptr);
    if (std::wstring(argv[i]) == L"--seed") seed = std::wcstoul(argv[i + 1], nullptr, 10);
  }

  LorvaneCopy copy(exe, L"soak");
  if (!copy.copied()) return 3;
  std::vector<std::wstring> classes;
  for (int i = 0; i < target_count; ++i) classes.push_back(target_class(i));
  classes.push_back(L"LorvaneSoakHung");
  if (!write_bytes(copy.ini_path(), settings_text(classes, false))) return 3;

  std::vector<HWND> windows(target_count, nullptr);
  std::atomic<DWORD> targets_id{0};
  std::thread targets(targets_thread, &windows, &targets_id);
  pump_until([&] { return targets_id != 0; });
  lorvane::platform::UniqueKernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HWND hung = nullptr;
  std::thread hung_thread([&] {
    hung = make_window(L"LorvaneSoakHung", target_count);
    bring_to_front(hung);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::WaitForSingleObject(release.get(), INFINITE);  // hangs: no messages are handled from here on
    ::DestroyWindow(hung);
  });

  const Process& program = copy.process();
  if (!copy.start(15s) && program.handle() == nullptr) return 4;
  HWND main = copy.main();
  int failures = main == nullptr ? 1 : 0;
  ::Sleep(3000);  // past start-up, before the first sample
  std::wstring host_pid = host_process(file_name(copy.folder()));
  Sample first = sample(program.handle(), host_pid);
  print("start", first);

  std::mt19937 random(seed);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  auto end = Clock::now() + std::chrono::milliseconds(static_cast<long long>(minutes * 60000));
  unsigned long actions = 0, not_answering = 0;
  // Active and idle periods of 8 s alternate; while active the user moves the mouse twice a
  // second and brings targets to the front.
  while (Clock::now() < end) {
    bool active =
        (std::chrono::duration_cast<std::chrono::seconds>(end - Clock::now()).count() / 8) % 2 == 0;
    int i = pick(target_count);
    switch (pick(4)) {
      case 0: ::PostThreadMessageW(targets_id, open_target, static_cast<WPARAM>(i), 0); break;
      case 1: ::PostThreadMessageW(targets_id, close_target, static_cast<WPARAM>(i), 0); break;
      default:
        if (active) {
          HWND window = pick(10) == 0 ? hung : ::FindWindowW(target_class(i).c_str(), nullptr);
          if (window != nullptr) bring_to_front(window);
        }
        break;
    }
    if (active) nudge_pointer();
    if (!send(main, WM_NULL, 0, 0, nullptr, 2000)) ++not_answering;
    ++actions;
    ::Sleep(500);
  }
  Sample last = sample(program.handle(), host_pid);
  print("end", last);
  double seconds = minutes * 60;
  std::printf("soak: %lu actions over %.0f s; CPU %.4f %% of one core; not answering %lu times\n",
              actions, seconds, 100.0 * (last.cpu_seconds - first.cpu_seconds) / seconds,
              not_answering);
  auto growth = [](auto a, auto b) { return static_cast<long>(b) - static_cast<long>(a); };
  std::printf(
      "soak: growth: handles %+ld, GDI %+ld, USER %+ld, private %+ld KiB; host: data %+ld KiB,"
      " resident %+ld KiB, open files %+ld\n",
      growth(first.handles, last.handles), growth(first.gdi_objects, last.gdi_objects),
      growth(first.user_objects, last.user_objects),
      growth(first.private_bytes / 1024, last.private_bytes / 1024),
      growth(first.host_data_kib, last.host_data_kib),
      growth(first.host_resident_kib, last.host_resident_kib),
      growth(first.host_open_files, last.host_open_files));
  if (not_answering != 0) ++failures;

  // Still reachable from the tray, with the hung target still registered and in front.
  bring_to_front(hung);
  ::SendMessageW(main, WM_MOUSEMOVE, 0, WM_LBUTTONUP);
  bool restored = pump_until([&] { return ::IsWindowVisible(main) && !::IsIconic(main); }, 10s);
  std::printf("soak: tray restore %s\n", restored ? "worked" : "FAILED");
  if (!restored) ++failures;
  // One that does not end is killed as the copy goes.
  DWORD code = copy.close(15s) ? program.exit_code() : 1;
  std::printf("soak: exit code %lu\n", static_cast<unsigned long>(code));
  if (code != 0) ++failures;

  ::SetEvent(release.get());
  hung_thread.join();
  ::PostThreadMessageW(targets_id, WM_QUIT, 0, 0);
  targets.join();
  std::printf("%d passed, %d failed\n", failures == 0 ? 1 : 0, failures == 0 ? 0 : 1);
  return failures == 0 ? 0 : 1;
}
