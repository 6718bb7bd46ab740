// The one wait, other programs as processes, and their windows found and read.
#include "harness/lorvane_harness.h"

#include <optional>

#include "app/window_names.h"

namespace lorvane::harness {
namespace {

void pump_once() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace

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

bool pump_until_settled(const std::function<std::vector<std::intptr_t>()>& reading,
                        std::chrono::milliseconds timeout, std::chrono::milliseconds step) {
  std::optional<std::vector<std::intptr_t>> last;
  return pump_until(
      [&] {
        std::vector<std::intptr_t> now = reading();
        bool same = last && *last == now;
        last = std::move(now);
        return same;
      },
      timeout, step);
}

void pump_until_empty() {
  MSG msg;
  // A handled message may post or send another: look again until a look finds nothing. Bounded,
  // so that a window that never stops asking (a paint never validated) fails a test, not hangs it.
  for (int round = 0; round < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); ++round)
    pump_once();
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
  platform::UniqueKernelHandle thread(info.hThread);
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

platform::UniqueKernelHandle Process::release() {
  id_ = 0;
  return std::move(handle_);
}

LorvaneCopy::LorvaneCopy(const std::wstring& exe, const std::wstring& tag) : folder_(tag) {
  copied_ = ::CopyFileW(exe.c_str(), exe_path().c_str(), FALSE) != FALSE;
}

bool LorvaneCopy::start(std::chrono::milliseconds timeout) {
  if (!copied_ || !process_.start(exe_path(), L"", folder())) return false;
  main_ = wait_for_window(process_, app::main_window_class, app::window_caption, false, timeout);
  return main_ != nullptr;
}

bool LorvaneCopy::close(std::chrono::milliseconds timeout) {
  return main_ != nullptr && ::PostMessageW(main_, WM_CLOSE, 0, 0) && process_.wait_exit(timeout);
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

std::wstring program_folder() {
  std::wstring path(32768, L'\0');
  DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return folder_of(path);
}

DesktopStandIn::DesktopStandIn(std::wstring exe) {
  if (exe.empty()) exe = program_folder() + L"\\e2e_target.exe";
  // One shell window at a time: one left by an earlier test is waited out first.
  if (!pump_until(gone)) return;
  if (!process_.start(exe, L"--class LorvaneDesktopStandIn --desktop")) return;
  HWND shell = nullptr;
  bool named = pump_until([&] {
    shell = ::GetShellWindow();
    DWORD owner = 0;
    if (shell != nullptr) ::GetWindowThreadProcessId(shell, &owner);
    return (shell != nullptr && owner == process_.id()) || !process_.running();
  });
  if (named && process_.running()) window_ = shell;
}

DesktopStandIn::~DesktopStandIn() {
  if (window_ != nullptr) ::PostMessageW(window_, WM_CLOSE, 0, 0);
  if (!process_.wait_exit(std::chrono::seconds(10))) process_.kill();
  pump_until(gone);
}

}  // namespace lorvane::harness
