#include "bench_support.h"

#include "app/layout.h"

#include <algorithm>
#include <cmath>

namespace lorvane::bench {

double now_seconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / frequency;
}

std::chrono::milliseconds in_ms(double seconds) {
  return std::chrono::milliseconds(std::llround(seconds * 1000));
}

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

Started start_program(const std::wstring& exe) {
  Process process;
  if (!process.start(exe)) return {};
  DWORD id = process.id();
  return {process.release(), id};
}

bool close_and_wait(HWND window, HANDLE process, DWORD timeout_ms) {
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  return ::WaitForSingleObject(process, timeout_ms) == WAIT_OBJECT_0;
}

bool start_controlling(ProgramCopy& copy, const std::wstring& tag, const std::wstring& exe,
                       const std::vector<std::wstring>& classes, bool front_display_off) {
  copy.lorvane = std::make_unique<LorvaneCopy>(exe, tag);
  LorvaneCopy& lorvane = *copy.lorvane;
  if (!lorvane.copied() ||
      !write_bytes(lorvane.ini_path(), settings_text(classes, front_display_off)) ||
      !lorvane.start(in_ms(30))) {
    return false;
  }
  copy.main = lorvane.main();
  return pump_until(
      [&] {
        return text_of(::GetDlgItem(copy.main, app::id_start_stop_button)) == L"制御中" &&
               !::IsWindowVisible(copy.main);
      },
      in_ms(30), poll_step);
}

bool close_copy(ProgramCopy& copy) {
  bool ended = copy.lorvane != nullptr && copy.lorvane->close(in_ms(15));
  copy.lorvane.reset();  // killed, should it still run
  return ended;
}

HWND TargetWindows::add(const std::wstring& class_name) {
  int offset = 40 + 8 * static_cast<int>(windows_.size() % 50);
  HWND window = show_window_of_class(class_name, ::DefWindowProcW,
                                     {offset, offset, offset + 240, offset + 160});
  if (window != nullptr) windows_.emplace_back(window);
  return window;
}

WindowsChild::~WindowsChild() {
  if (!done_) return;
  ::SetEvent(done_.get());
  child_.wait_exit(in_ms(10));
}

bool WindowsChild::start(const std::wstring& tag, const std::wstring& arguments) {
  std::wstring id = std::to_wstring(::GetCurrentProcessId());
  std::wstring ready_name = L"LorvaneBench" + tag + L"Ready" + id;
  std::wstring done_name = L"LorvaneBench" + tag + L"Done" + id;
  ready_.reset(::CreateEventW(nullptr, TRUE, FALSE, ready_name.c_str()));
  done_.reset(::CreateEventW(nullptr, TRUE, FALSE, done_name.c_str()));
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  return ready_ && done_ && child_.start(self, arguments + L" " + ready_name + L" " + done_name) &&
         ::WaitForSingleObject(ready_.get(), 60000) == WAIT_OBJECT_0;
}

int keep_windows(const std::wstring& ready_name, const std::wstring& done_name,
                 const std::function<void(TargetWindows&)>& make) {
  platform::UniqueKernelHandle ready(::OpenEventW(EVENT_MODIFY_STATE, FALSE, ready_name.c_str()));
  platform::UniqueKernelHandle done(::OpenEventW(SYNCHRONIZE, FALSE, done_name.c_str()));
  if (!ready || !done) return 1;
  TargetWindows windows;
  make(windows);
  ::SetEvent(ready.get());
  // The windows answer while they wait: a move of another program's window is answered by it.
  HANDLE done_event = done.get();
  for (;;) {
    DWORD woke = ::MsgWaitForMultipleObjects(1, &done_event, FALSE, INFINITE, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) break;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  return 0;
}

void move_pointer(LONG dx) {
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = dx;
  move.mi.dwFlags = MOUSEEVENTF_MOVE;
  ::SendInput(1, &move, sizeof move);
}

}  // namespace lorvane::bench
