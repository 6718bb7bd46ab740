#include "e2e_harness.h"

#include <shellapi.h>

#include <algorithm>
#include <atomic>

namespace lorvane::e2e {
namespace {

constexpr const wchar_t* lorvane_exe = L"Lorvane.exe";
constexpr const wchar_t* target_exe = L"e2e_target.exe";

std::wstring class_of(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return name;
}

struct WindowQuery {
  DWORD process_id;
  const wchar_t* class_name;
  const wchar_t* caption;
  bool visible_only;
  HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM lparam) {
  auto& query = *reinterpret_cast<WindowQuery*>(lparam);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != query.process_id || class_of(window) != query.class_name) return TRUE;
  if (query.visible_only && !::IsWindowVisible(window)) return TRUE;
  if (query.caption != nullptr) {
    wchar_t caption[256] = {};
    ::GetWindowTextW(window, caption, 256);
    if (std::wstring(caption) != query.caption) return TRUE;
  }
  query.found = window;
  return FALSE;
}

HWND find(DWORD process_id, const wchar_t* class_name, const wchar_t* caption, bool visible_only) {
  WindowQuery query{process_id, class_name, caption, visible_only, nullptr};
  ::EnumWindows(match_window, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

std::vector<HWND> top_level_windows() {
  std::vector<HWND> windows;
  for (HWND w = ::GetTopWindow(nullptr); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
    windows.push_back(w);
  }
  return windows;
}

void mouse_move(LONG dx) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  ::SendInput(1, &input, sizeof input);
}

// Absolute mouse coordinates run from 0 to 65535 over the primary screen.
INPUT absolute_move(POINT at) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = ::MulDiv(at.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = ::MulDiv(at.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}

POINT centre_of(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

}  // namespace

std::wstring bin_folder() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return path.substr(0, path.find_last_of(L"\\/"));
}

bool Process::start(const std::wstring& exe, const std::wstring& arguments,
                    const std::wstring& folder) {
  kill();
  std::wstring command_line = L"\"" + exe + L"\"";
  if (!arguments.empty()) command_line += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
    return false;
  }
  ::CloseHandle(info.hThread);
  handle_ = info.hProcess;
  id_ = info.dwProcessId;
  return true;
}

bool Process::running() const {
  return handle_ != nullptr && ::WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool Process::wait_exit(std::chrono::milliseconds timeout) const {
  return handle_ != nullptr &&
         ::WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD Process::exit_code() const {
  DWORD code = STILL_ACTIVE;
  if (handle_ != nullptr) ::GetExitCodeProcess(handle_, &code);
  return code;
}

void Process::kill() {
  if (handle_ == nullptr) return;
  if (running()) {
    ::TerminateProcess(handle_, 99);
    ::WaitForSingleObject(handle_, 5000);
  }
  ::CloseHandle(handle_);
  handle_ = nullptr;
  id_ = 0;
}

HWND find_window_of(DWORD process_id, const wchar_t* class_name, const wchar_t* caption) {
  return find(process_id, class_name, caption, false);
}

bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result,
          UINT timeout_ms) {
  DWORD_PTR answer = 0;
  bool ok = ::SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, timeout_ms,
                                  &answer) != 0;
  if (result != nullptr) *result = static_cast<LRESULT>(answer);
  return ok;
}

std::wstring text_of(HWND window) {
  LRESULT length = 0;
  if (!send(window, WM_GETTEXTLENGTH, 0, 0, &length)) return L"<no answer>";
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT copied = 0;
  send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied);
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

std::vector<HWND> visible_top_level_windows() {
  std::vector<HWND> windows = top_level_windows();
  std::erase_if(windows, [](HWND w) { return !::IsWindowVisible(w); });
  return windows;
}

bool is_below(HWND lower, HWND upper) {
  std::vector<HWND> windows = top_level_windows();
  auto l = std::find(windows.begin(), windows.end(), lower);
  auto u = std::find(windows.begin(), windows.end(), upper);
  return l != windows.end() && u != windows.end() && u < l;
}

bool is_last_visible(HWND window) {
  std::vector<HWND> windows = visible_top_level_windows();
  return !windows.empty() && windows.back() == window;
}

bool is_topmost(HWND window) {
  return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void bring_to_front(HWND window) {
  // Activating the window that is already the foreground window does not raise it: raise first.
  ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(window);
}

void user_input() {
  mouse_move(1);
  mouse_move(-1);
}

void click_window(HWND window) {
  INPUT inputs[3] = {absolute_move(centre_of(window)), {}, {}};
  inputs[1].type = inputs[2].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(3, inputs, sizeof inputs[0]);
}

void park_pointer() {
  HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  POINT at = taskbar != nullptr
                 ? centre_of(taskbar)
                 : POINT{::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) - 2};
  INPUT input = absolute_move(at);
  ::SendInput(1, &input, sizeof input);
}

DWORD idle_ms() {
  LASTINPUTINFO info{};
  info.cbSize = sizeof info;
  ::GetLastInputInfo(&info);
  return ::GetTickCount() - info.dwTime;
}

bool tray_icon_present(HWND window) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = window;
  record.uID = 0;
  record.uFlags = 0;  // change nothing
  return ::Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

bool delete_tray_icon(HWND window) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = window;
  record.uID = 0;
  return ::Shell_NotifyIconW(NIM_DELETE, &record) != FALSE;
}

Lorvane::Lorvane() {
  ::CopyFileW((bin_folder() + L"\\" + lorvane_exe).c_str(), folder_.file(lorvane_exe).c_str(),
              FALSE);
}

void Lorvane::write_ini(const std::wstring& text) const {
  std::wstring crlf;
  for (wchar_t c : text) {
    if (c == L'\n') crlf += L'\r';
    crlf += c;
  }
  test::write_bytes(ini_path(), test::sjis(crlf));
}

::testing::AssertionResult Lorvane::start() {
  if (!test::file_exists(folder_.file(lorvane_exe))) {
    return ::testing::AssertionFailure() << "no copy of "
                                         << "Lorvane.exe in the test folder";
  }
  if (!process_.start(folder_.file(lorvane_exe), L"", folder_.path())) {
    return ::testing::AssertionFailure() << "CreateProcess failed: " << ::GetLastError();
  }
  bool found = test::pump_until(
      [&] {
        main_ = find_window_of(process_.id(), L"LorvaneMain", L"Lorvane");
        return main_ != nullptr || !process_.running();
      },
      10s);
  if (!found || main_ == nullptr) {
    return ::testing::AssertionFailure()
           << "no main window (process running: " << process_.running() << ")";
  }
  // The window exists before the start-up sequence has run: wait until the program sits in its
  // message loop with nothing left to do.
  HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process_.id());
  DWORD idle = process != nullptr ? ::WaitForInputIdle(process, 10000) : WAIT_FAILED;
  if (process != nullptr) ::CloseHandle(process);
  if (idle != 0) return ::testing::AssertionFailure() << "not idle: " << idle;
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Lorvane::close(std::chrono::milliseconds timeout) {
  if (!::PostMessageW(main_, WM_CLOSE, 0, 0)) {
    return ::testing::AssertionFailure() << "WM_CLOSE not posted";
  }
  if (!process_.wait_exit(timeout)) {
    return ::testing::AssertionFailure() << "still running " << timeout.count() << " ms later";
  }
  if (process_.exit_code() != 0) {
    return ::testing::AssertionFailure() << "exit code " << process_.exit_code();
  }
  return ::testing::AssertionSuccess();
}

void Lorvane::click(app::ControlId id) const { send(item(id), BM_CLICK); }

std::vector<std::wstring> Lorvane::list_items() const {
  HWND list = item(app::id_target_list);
  LRESULT count = 0;
  std::vector<std::wstring> items;
  if (!send(list, LB_GETCOUNT, 0, 0, &count)) return {L"<no answer>"};
  for (int i = 0; i < count; ++i) {
    LRESULT length = 0;
    send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0, &length);
    std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    LRESULT copied = 0;
    send(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()), &copied);
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
    items.push_back(text);
  }
  return items;
}

void Lorvane::tray_release() const { send(main_, WM_MOUSEMOVE, 0, WM_LBUTTONUP); }

HWND Lorvane::message_box() const { return find(process_.id(), L"#32770", L"Lorvane", true); }

void Lorvane::answer(HWND box, int button) { send(::GetDlgItem(box, button), BM_CLICK); }

Target::Target(const std::wstring& class_name, const std::wstring& extra_arguments) {
  std::wstring arguments = L"--class \"" + class_name + L"\"";
  if (!extra_arguments.empty()) arguments += L" " + extra_arguments;
  if (!process_.start(bin_folder() + L"\\" + target_exe, arguments, bin_folder())) return;
  test::pump_until(
      [&] {
        HWND w = find(process_.id(), class_name.c_str(), nullptr, true);
        if (w != nullptr) window_ = w;
        return window_ != nullptr || !process_.running();
      },
      10s);
}

std::wstring unique_class(const std::wstring& stem) {
  static std::atomic<unsigned> counter{0};
  return stem + L"_" + std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(counter++);
}

}  // namespace lorvane::e2e
