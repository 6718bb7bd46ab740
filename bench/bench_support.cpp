#include "bench_support.h"

#include <algorithm>

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

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::string settings_text(const std::vector<std::wstring>& class_names, bool front_display_off) {
  std::wstring text = L"[Lorvane]\n";
  text += L"前面表示設定=" + std::wstring(front_display_off ? L"1" : L"0") + L"\n";
  text += L"登録数=" + std::to_wstring(class_names.size()) + L"\n";
  for (std::size_t k = 0; k <= class_names.size(); ++k) {
    text += L"クラス名" + std::to_wstring(k) + L"=" +
            (k < class_names.size() ? class_names[k] : std::wstring()) + L"\n";
  }
  return harness::ini_file_bytes(text);
}

Started start_program(const std::wstring& exe) {
  harness::Process process;
  if (!process.start(exe)) return {};
  DWORD id = process.id();
  return {process.release(), id};
}

HWND window_of(DWORD process_id, const wchar_t* class_name, const wchar_t* caption, bool visible) {
  return harness::find_window_of(process_id, class_name, caption, visible);
}

std::wstring caption_of(HWND window) {
  wchar_t text[64] = {};
  ::GetWindowTextW(window, text, 64);
  return text;
}

bool poll_until(const std::function<bool()>& condition, double timeout_seconds) {
  return harness::pump_until(
      condition, std::chrono::milliseconds(static_cast<long long>(timeout_seconds * 1000)),
      std::chrono::milliseconds(1));
}

bool close_and_wait(HWND window, HANDLE process, DWORD timeout_ms) {
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  return ::WaitForSingleObject(process, timeout_ms) == WAIT_OBJECT_0;
}

void pump_for(double seconds) {
  harness::pump_for(std::chrono::milliseconds(static_cast<long long>(seconds * 1000)));
}

HWND show_window_of_class(const std::wstring& class_name, WNDPROC proc, const RECT& place,
                          void* param) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = class_name.c_str();
  ::RegisterClassExW(&wc);  // a class registered for an earlier round stays registered
  HWND window = ::CreateWindowExW(0, class_name.c_str(), class_name.c_str(), WS_OVERLAPPEDWINDOW,
                                  place.left, place.top, place.right - place.left,
                                  place.bottom - place.top, nullptr, nullptr, instance, param);
  // Shown, but never the foreground window: that stays with whoever had it.
  if (window != nullptr) ::ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

HWND TargetWindows::add(const std::wstring& class_name) {
  int offset = 40 + 8 * static_cast<int>(windows_.size() % 50);
  HWND window = show_window_of_class(class_name, ::DefWindowProcW,
                                     {offset, offset, offset + 240, offset + 160});
  if (window != nullptr) windows_.emplace_back(window);
  return window;
}

}  // namespace lorvane::bench
