#include "e2e_harness.h"

#include <algorithm>
#include <atomic>

namespace lorvane::e2e {
namespace {

constexpr const wchar_t* lorvane_exe = L"Lorvane.exe";
constexpr const wchar_t* target_exe = L"e2e_target.exe";

}  // namespace

std::wstring bin_folder() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return folder_of(path);
}

HWND keyboard_focus_of(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

Lorvane::Lorvane() : copy_(bin_folder() + L"\\" + lorvane_exe, L"test") {}

void Lorvane::write_ini(const std::wstring& text) const { harness::write_ini(ini_path(), text); }

::testing::AssertionResult Lorvane::start() {
  if (!copy_.copied()) {
    return ::testing::AssertionFailure() << "no copy of Lorvane.exe in the test folder";
  }
  if (!copy_.start(10s)) {
    return ::testing::AssertionFailure()
           << "no main window (process running: " << process().running() << ")";
  }
  // The window exists before the start-up sequence has run: wait until the program sits in its
  // message loop with nothing left to do.
  DWORD idle = ::WaitForInputIdle(process().handle(), 10000);
  if (idle != 0) return ::testing::AssertionFailure() << "not idle: " << idle;
  // Wine may call a program idle while its start-up still waits on the shell (the tray icon),
  // before the stored list is loaded: the start-up is over once the window shows, or once
  // control has started and the window went to the tray.
  bool settled = pump_until(
      [&] {
        return ::IsWindowVisible(main()) || text(app::id_start_stop_button) == caption_controlling;
      },
      10s);
  if (!settled) return ::testing::AssertionFailure() << "start-up did not finish";
  return ::testing::AssertionSuccess();
}

std::optional<DWORD> Lorvane::start_again(std::wstring exe,
                                          std::chrono::milliseconds timeout) const {
  if (exe.empty()) exe = exe_path();
  Process again;
  if (!again.start(exe, L"", copy_.folder()) || !again.wait_exit(timeout)) return std::nullopt;
  return again.exit_code();
}

::testing::AssertionResult Lorvane::close(std::chrono::milliseconds timeout) {
  if (!copy_.close(timeout)) {
    return ::testing::AssertionFailure()
           << "still running " << timeout.count() << " ms after WM_CLOSE";
  }
  if (process().exit_code() != 0) {
    return ::testing::AssertionFailure() << "exit code " << process().exit_code();
  }
  return ::testing::AssertionSuccess();
}

void Lorvane::click(app::ControlId id) const { send(item(id), BM_CLICK); }

void Lorvane::press(app::ControlId id) const { ::PostMessageW(item(id), BM_CLICK, 0, 0); }

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

void Lorvane::tray_release() const { send(main(), WM_MOUSEMOVE, 0, WM_LBUTTONUP); }

HWND Lorvane::message_box() const {
  return find_window_of(process().id(), L"#32770", L"Lorvane", true);
}

void Lorvane::answer(HWND box, int button) { send(::GetDlgItem(box, button), BM_CLICK); }

Target::Target(const std::wstring& class_name, const std::wstring& extra_arguments,
               const std::wstring& exe) {
  std::wstring arguments = L"--class \"" + class_name + L"\"";
  if (!extra_arguments.empty()) arguments += L" " + extra_arguments;
  std::wstring program = exe.empty() ? bin_folder() + L"\\" + target_exe : exe;
  if (!process_.start(program, arguments, folder_of(program))) return;
  bool shown = extra_arguments.find(L"--hidden") == std::wstring::npos;
  window_ = wait_for_window(process_, class_name.c_str(), nullptr, shown, 10s);
}

TargetCopy::TargetCopy(const std::wstring& file_name) : file_name_(file_name) {
  ::CopyFileW((bin_folder() + L"\\" + target_exe).c_str(), exe().c_str(), FALSE);
}

std::wstring unique_class(const std::wstring& stem) {
  static std::atomic<unsigned> counter{0};
  return stem + L"_" + std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(counter++);
}

}  // namespace lorvane::e2e
