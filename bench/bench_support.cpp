#include "bench_support.h"

#include "app/layout.h"
#include "app/window_names.h"

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
  copy.folder = std::make_unique<TempFolder>(tag);
  std::wstring path = copy.folder->file(file_name(exe));
  if (!::CopyFileW(exe.c_str(), path.c_str(), FALSE) ||
      !write_bytes(copy.folder->file(L"Lorvane.ini"), settings_text(classes, front_display_off))) {
    return false;
  }
  copy.started = start_program(path);
  if (!copy.started.process) return false;
  return pump_until(
      [&] {
        copy.main =
            find_window_of(copy.started.id, app::main_window_class, app::window_caption, false);
        return copy.main != nullptr &&
               text_of(::GetDlgItem(copy.main, app::id_start_stop_button)) == L"制御中" &&
               !::IsWindowVisible(copy.main);
      },
      in_ms(30), poll_step);
}

bool close_copy(ProgramCopy& copy) {
  if (copy.main != nullptr && close_and_wait(copy.main, copy.started.process.get())) return true;
  if (copy.started.process) ::TerminateProcess(copy.started.process.get(), 1);
  return false;
}

HWND TargetWindows::add(const std::wstring& class_name) {
  int offset = 40 + 8 * static_cast<int>(windows_.size() % 50);
  HWND window = show_window_of_class(class_name, ::DefWindowProcW,
                                     {offset, offset, offset + 240, offset + 160});
  if (window != nullptr) windows_.emplace_back(window);
  return window;
}

}  // namespace lorvane::bench
