#include "lorvane_harness.h"

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>

namespace lorvane::harness {
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

void pump_once() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

INPUT mouse_input(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  return input;
}

// Absolute coordinates run from 0 to 65535 over the whole virtual screen.
LONG normalised(int value, int origin, int extent) {
  return static_cast<LONG>(std::lround((value - origin) * 65535.0 / (extent - 1)));
}

INPUT absolute_move(POINT at) {
  return mouse_input(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK,
                     normalised(at.x, ::GetSystemMetrics(SM_XVIRTUALSCREEN),
                                ::GetSystemMetrics(SM_CXVIRTUALSCREEN)),
                     normalised(at.y, ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                                ::GetSystemMetrics(SM_CYVIRTUALSCREEN)));
}

}  // namespace

TempFolder::TempFolder(const std::wstring& tag) {
  wchar_t base[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, base);
  static std::atomic<unsigned> counter{0};
  do {
    path_ = std::wstring(base) + L"lorvane-" + tag + L"-" +
            std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
  } while (!::CreateDirectoryW(path_.c_str(), nullptr));
}

TempFolder::~TempFolder() {
  // SHFileOperation wants a double-NUL-terminated list.
  std::wstring from = path_ + L'\0';
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  ::SHFileOperationW(&op);
}

std::string read_bytes(const std::wstring& path) {
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return {};
  }
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
    bytes.append(chunk, got);
  }
  return bytes;
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

bool file_exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring folder_of(const std::wstring& path) {
  std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring file_name(const std::wstring& path) {
  std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring windows_path(std::wstring path) {
  if (!path.empty() && path[0] == L'/') {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    path = L"Z:" + path;
  }
  return path;
}

std::string sjis(const std::wstring& text) { return encode(932, text); }

std::string utf8(const std::wstring& text) { return encode(CP_UTF8, text); }

std::string ini_file_bytes(const std::wstring& text) {
  std::wstring crlf;
  crlf.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) crlf += L'\r';
    crlf += text[i];
  }
  return sjis(crlf);
}

bool write_ini(const std::wstring& path, const std::wstring& text) {
  return write_bytes(path, ini_file_bytes(text));
}

bool pump_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
                std::chrono::milliseconds step) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    pump_once();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(step.count()), QS_ALLINPUT);
  }
}

void pump_for(std::chrono::milliseconds duration) {
  auto deadline = std::chrono::steady_clock::now() + duration;
  for (;;) {
    pump_once();
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return;
    // Wakes for every message, so the windows of this thread keep answering meanwhile.
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
  }
}

bool running_under_wine() {
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool Process::start(const std::wstring& exe, const std::wstring& arguments,
                    const std::wstring& folder) {
  kill();
  std::wstring command_line = L"\"" + exe + L"\"";
  if (!arguments.empty()) command_line += L" " + arguments;
  std::wstring working = folder.empty() ? folder_of(exe) : folder;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        working.empty() ? nullptr : working.c_str(), &startup, &info)) {
    return false;
  }
  ::CloseHandle(info.hThread);
  handle_.reset(info.hProcess);
  id_ = info.dwProcessId;
  return true;
}

bool Process::running() const {
  return handle_ && ::WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
}

bool Process::wait_exit(std::chrono::milliseconds timeout) const {
  return handle_ &&
         ::WaitForSingleObject(handle_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD Process::exit_code() const {
  DWORD code = STILL_ACTIVE;
  if (handle_) ::GetExitCodeProcess(handle_.get(), &code);
  return code;
}

void Process::kill() {
  if (!handle_) return;
  if (running()) {
    ::TerminateProcess(handle_.get(), 99);
    ::WaitForSingleObject(handle_.get(), 5000);
  }
  handle_.reset();
  id_ = 0;
}

UniqueHandle Process::release() {
  id_ = 0;
  return std::move(handle_);
}

HWND find_window_of(DWORD process_id, const wchar_t* class_name, const wchar_t* caption,
                    bool visible_only) {
  // FindWindowEx walks only the windows of the class (and caption), in Z-order.
  HWND window = nullptr;
  while ((window = ::FindWindowExW(nullptr, window, class_name, caption)) != nullptr) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == process_id && (!visible_only || ::IsWindowVisible(window))) return window;
  }
  return nullptr;
}

HWND wait_for_window(const Process& process, const wchar_t* class_name, const wchar_t* caption,
                     bool visible_only, std::chrono::milliseconds timeout) {
  HWND window = nullptr;
  pump_until(
      [&] {
        window = find_window_of(process.id(), class_name, caption, visible_only);
        return window != nullptr || !process.running();
      },
      timeout);
  return window;
}

void point_at(POINT at) {
  auto there = [&] {
    POINT now{};
    return ::GetCursorPos(&now) && std::abs(now.x - at.x) <= 1 && std::abs(now.y - at.y) <= 1;
  };
  if (there()) return;
  INPUT move = absolute_move(at);
  ::SendInput(1, &move, sizeof move);
  pump_until(there, std::chrono::seconds(1), std::chrono::milliseconds(1));
}

void click_at(POINT at) {
  point_at(at);
  // The move once more with the buttons: a button alone goes where the display last put the
  // pointer, which may not be there yet.
  INPUT click[] = {absolute_move(at), mouse_input(MOUSEEVENTF_LEFTDOWN),
                   mouse_input(MOUSEEVENTF_LEFTUP)};
  ::SendInput(3, click, sizeof click[0]);
}

void park_pointer() {
  RECT strip{};
  HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  if (taskbar == nullptr || !::GetWindowRect(taskbar, &strip)) {
    int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    int bottom = ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    strip = {left, bottom - 24, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), bottom};
  }
  point_at({(strip.left + strip.right) / 2, (strip.top + strip.bottom) / 2});
}

void nudge_pointer() {
  INPUT moves[] = {mouse_input(MOUSEEVENTF_MOVE, 1), mouse_input(MOUSEEVENTF_MOVE, -1)};
  ::SendInput(2, moves, sizeof moves[0]);
}

void press_key() {
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_SHIFT;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, keys, sizeof keys[0]);
}

}  // namespace lorvane::harness
