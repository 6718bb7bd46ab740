#include "bench_support.h"

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

HWND TargetWindows::add(const std::wstring& class_name) {
  int offset = 40 + 8 * static_cast<int>(windows_.size() % 50);
  HWND window = show_window_of_class(class_name, ::DefWindowProcW,
                                     {offset, offset, offset + 240, offset + 160});
  if (window != nullptr) windows_.emplace_back(window);
  return window;
}

}  // namespace lorvane::bench
