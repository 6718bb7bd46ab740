#pragma once
// Drives the real Lorvane.exe from outside: a copy of it in a fresh folder, started as its own
// process, seen and worked only through its windows, its message boxes and its settings file.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/window_names.h"
#include "harness/lorvane_harness.h"

namespace lorvane::e2e {

using namespace std::chrono_literals;
// The tests speak the support library's vocabulary.
using namespace harness;

// Texts the user sees, as the program shows them.
inline constexpr const wchar_t* caption_start = L"開始";
inline constexpr const wchar_t* caption_controlling = L"制御中";
inline constexpr const wchar_t* first_use_hint =
    L"初めて使用する場合、制御を行いたいウィンドウをすぐ選択できる状態にして、選択ボタンを押してく"
    L"ださい。";

inline constexpr const wchar_t* front_display_caption = L"前面表示しない。";
inline constexpr const wchar_t* settings_in_use_text =
    L"設定ファイルを他のプログラムが使用中です。使い終わるのを待っています。";
inline constexpr const wchar_t* save_in_use_text =
    L"設定を保存できませんでした。設定ファイルを他のプログラムが使用中です。";

// The folder that holds this test program, Lorvane.exe and e2e_target.exe.
std::wstring bin_folder();

// Where the keys typed on that window's thread go: the window with its keyboard focus, or null.
HWND keyboard_focus_of(HWND window);

// One copy of Lorvane.exe in its own folder, with its settings file beside it.
class Lorvane {
 public:
  Lorvane();
  Lorvane(const Lorvane&) = delete;
  Lorvane& operator=(const Lorvane&) = delete;

  // The settings file from UTF-16 text: Shift-JIS bytes, CR LF line ends.
  void write_ini(const std::wstring& text) const;
  std::string ini_bytes() const { return read_bytes(ini_path()); }
  std::wstring ini_path() const { return copy_.ini_path(); }

  // Starts the program and waits for its main window to exist.
  ::testing::AssertionResult start();
  // Starts the program once more, by this spelling of its path (its own by default), as a user's
  // second start would, and waits for that start to end: its exit code, or none while it runs.
  std::optional<DWORD> start_again(std::wstring exe = {},
                                   std::chrono::milliseconds timeout = 10s) const;
  std::wstring exe_path() const { return copy_.exe_path(); }
  // Closes the main window as its close box would and waits for the program to end.
  ::testing::AssertionResult close(std::chrono::milliseconds timeout = 10s);

  const Process& process() const { return copy_.process(); }
  HWND main() const { return copy_.main(); }
  HWND item(app::ControlId id) const { return ::GetDlgItem(main(), id); }
  std::wstring text(app::ControlId id) const { return text_of(item(id)); }
  // Presses a button as a click would.
  void click(app::ControlId id) const;
  // Presses a button without waiting for what it does: the test goes on while the program works.
  void press(app::ControlId id) const;
  std::vector<std::wstring> list_items() const;
  // The icon's left button release, as the shell reports it to the main window.
  void tray_release() const;
  // A message box titled "Lorvane" of this program, shown, or null.
  HWND message_box() const;
  // Answers a box by pressing its button.
  static void answer(HWND box, int button);

 private:
  LorvaneCopy copy_;
};

// Launches e2e_target.exe (or a copy of it under another name, given by its path) with a window of
// the class and waits for the window: a shown one, unless the arguments hide it.
class Target {
 public:
  explicit Target(const std::wstring& class_name, const std::wstring& extra_arguments = L"",
                  const std::wstring& exe = L"");
  HWND window() const { return window_; }
  bool started() const { return window_ != nullptr; }

 private:
  Process process_;
  HWND window_ = nullptr;
};

// A copy of e2e_target.exe under another file name in a fresh folder: another program, as the
// system names programs, with windows of whatever class it is given.
class TargetCopy {
 public:
  explicit TargetCopy(const std::wstring& file_name);
  std::wstring exe() const { return folder_.file(file_name_); }

 private:
  TempFolder folder_;
  std::wstring file_name_;
};

// A class name no other run uses, so that leftovers of an earlier run never get in the way.
std::wstring unique_class(const std::wstring& stem);

}  // namespace lorvane::e2e
