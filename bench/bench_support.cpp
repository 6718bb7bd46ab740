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

ScratchFolder::ScratchFolder(const std::wstring& tag) {
  static unsigned serial = 0;
  wchar_t temp[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, temp);
  std::wstring base = std::wstring(temp) + L"lorvane-bench-" + tag + L"-" +
                      std::to_wstring(::GetCurrentProcessId()) + L"-";
  do {
    path_ = base + std::to_wstring(++serial);
  } while (!::CreateDirectoryW(path_.c_str(), nullptr));
}

ScratchFolder::~ScratchFolder() {
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW(file(L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(file(found.cFileName).c_str());
      }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(path_.c_str());
}

std::wstring file_name(const std::wstring& path) {
  std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool write_bytes(const std::wstring& path, const std::string& bytes) {
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return false;
  }
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

namespace {

std::string encode(UINT code_page, const std::wstring& text) {
  if (text.empty()) return {};
  int n = ::WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

}  // namespace

std::string sjis(const std::wstring& text) { return encode(932, text); }

std::string utf8(const std::wstring& text) { return encode(CP_UTF8, text); }

std::string settings_text(const std::vector<std::wstring>& class_names, bool front_display_off) {
  std::wstring text = L"[Lorvane]\r\n";
  text += L"前面表示設定=" + std::wstring(front_display_off ? L"1" : L"0") + L"\r\n";
  text += L"登録数=" + std::to_wstring(class_names.size()) + L"\r\n";
  for (std::size_t k = 0; k <= class_names.size(); ++k) {
    text += L"クラス名" + std::to_wstring(k) + L"=" +
            (k < class_names.size() ? class_names[k] : std::wstring()) + L"\r\n";
  }
  return sjis(text);
}

Started start_program(const std::wstring& exe) {
  std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring command_line = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
    return {};
  }
  ::CloseHandle(info.hThread);
  return {UniqueHandle(info.hProcess), info.dwProcessId};
}

HWND window_of(DWORD process_id, const wchar_t* class_name, const wchar_t* caption, bool visible) {
  HWND window = nullptr;
  while ((window = ::FindWindowExW(nullptr, window, class_name, caption)) != nullptr) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == process_id && (!visible || ::IsWindowVisible(window))) return window;
  }
  return nullptr;
}

bool poll_until(const std::function<bool()>& condition, double timeout_seconds) {
  double deadline = now_seconds() + timeout_seconds;
  while (!condition()) {
    if (now_seconds() > deadline) return false;
    ::Sleep(1);
  }
  return true;
}

bool close_and_wait(HWND window, HANDLE process, DWORD timeout_ms) {
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  return ::WaitForSingleObject(process, timeout_ms) == WAIT_OBJECT_0;
}

void pump_for(double seconds) {
  double deadline = now_seconds() + seconds;
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    double left = deadline - now_seconds();
    if (left <= 0) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left * 1000) + 1,
                                QS_ALLINPUT);
  }
}

HWND TargetWindows::add(const std::wstring& class_name) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = class_name.c_str();
  ::RegisterClassExW(&wc);  // a class registered for an earlier round stays registered
  HWND window = ::CreateWindowExW(0, class_name.c_str(), class_name.c_str(), WS_OVERLAPPEDWINDOW,
                                  40 + 8 * static_cast<int>(windows_.size() % 50),
                                  40 + 8 * static_cast<int>(windows_.size() % 50), 240, 160,
                                  nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return nullptr;
  // Shown, but never the foreground window: that stays with whoever had it.
  ::ShowWindow(window, SW_SHOWNOACTIVATE);
  windows_.emplace_back(window);
  return window;
}

}  // namespace lorvane::bench
