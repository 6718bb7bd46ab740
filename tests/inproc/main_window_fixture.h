#pragma once
// Builds the real main window, with its real controls, over a settings file in a fresh folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/main_window.h"
#include "harness/lorvane_harness.h"
#include "settings/settings_file.h"

namespace lorvane::test {

// The tests speak the support library's vocabulary.
using namespace harness;

class MainWindowTest : public ::testing::Test {
 protected:
  // Creates the window, runs its start-up sequence and shows it as the program does.
  void start(lorvane::platform::InputClock clock = {}, lorvane::platform::WindowMover mover = {},
             lorvane::platform::Cloaking cloaking = {}) {
    app::MainWindowOptions options;
    options.settings_path = settings_path_;
    options.copy_from = copy_from_;
    options.copy = copy_;
    options.settings_read_open = read_open_;
    options.other_session = other_session_;
    options.own_settings_passed_over = own_settings_passed_over_;
    options.exe_folder = exe_folder_;
    options.folder_key = folder_key_;
    options.clock = std::move(clock);
    options.mover = std::move(mover);
    options.cloaking = std::move(cloaking);
    options.quit_on_destroy = false;
    options.dpi = resolution_;
    options.tray_shell = tray_shell_;
    options.session_system = session_system_;
    options.settings_key_limit = settings_key_limit_;
    window_ = std::make_unique<app::MainWindow>(std::move(options));
    ASSERT_TRUE(window_->create(::GetModuleHandleW(nullptr)));
    window_->show_at_start(show_command_);
    // The first show's sizing and activation come as messages: handled once the window stays put.
    ASSERT_TRUE(harness::pump_until_settled([this] {
      RECT r{};
      ::GetWindowRect(hwnd(), &r);
      return std::vector<std::intptr_t>{::IsWindowVisible(hwnd()),
                                        ::IsIconic(hwnd()),
                                        r.left,
                                        r.top,
                                        r.right,
                                        r.bottom,
                                        reinterpret_cast<std::intptr_t>(::GetForegroundWindow())};
    }));
  }

  // Closes the window by its close box message and waits until it is gone.
  void close() {
    HWND window = hwnd();
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pump_until([&] { return !::IsWindow(window); }));
  }

  // Writes the settings file from UTF-16 text, stored as Shift-JIS with CR LF line ends.
  void write_ini(const std::wstring& text) { harness::write_ini(ini_path(), text); }

  std::string ini_bytes() const { return read_bytes(ini_path()); }
  std::wstring ini_path() const { return settings_path_; }
  HWND hwnd() const { return window_->hwnd(); }
  HWND item(app::ControlId id) const { return ::GetDlgItem(hwnd(), id); }
  control::ControlContext& context() { return window_->context(); }
  // Presses a button as a click would: BN_CLICKED reaches the window.
  void click(app::ControlId id) { ::SendMessageW(item(id), BM_CLICK, 0, 0); }

  std::vector<std::wstring> list_items() {
    std::vector<std::wstring> items;
    for (int i = 0; i < context().target_list.count(); ++i)
      items.push_back(context().target_list.item(i));
    return items;
  }

  std::vector<platform::Target> list_targets() {
    std::vector<platform::Target> targets;
    for (int i = 0; i < context().target_list.count(); ++i)
      targets.push_back(context().target_list.target(i));
    return targets;
  }

  // The notification-area icon's callback as the shell sends it: the mouse message that happened
  // over the icon arrives as the window's own mouse-move message.
  void tray_event(UINT mouse_message) { ::SendMessageW(hwnd(), WM_MOUSEMOVE, 0, mouse_message); }

  // Replaces the list box's entries, as the start-up load and the wizard would have filled them.
  void set_targets(const std::vector<platform::Target>& targets, int selected = -1) {
    HWND list = context().target_list.hwnd();
    // Drawn once at the end: a long list filled entry by entry on screen takes seconds.
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    context().target_list.clear();
    for (const platform::Target& target : targets) context().target_list.append(target);
    context().target_list.select(selected);
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
  }
  // Entries without a program.
  void set_list(const std::vector<std::wstring>& items, int selected = -1) {
    std::vector<platform::Target> targets;
    for (const std::wstring& item : items) targets.push_back({item, std::wstring()});
    set_targets(targets, selected);
  }

  int dpi() const { return static_cast<int>(::GetDpiForWindow(hwnd())); }

  TempFolder folder_;
  // The file the window runs on: beside a test's executable, unless a test chooses another.
  std::wstring settings_path_ = folder_.file(L"Lorvane.ini");
  // The file beside the executable that a settings file in the application data starts as a copy
  // of, and the copy: the real one, or a test's that fails as it can on Windows.
  std::optional<std::wstring> copy_from_;
  platform::file_probe::CopyCall copy_ = platform::file_probe::copy_file;
  // How the start-up load opens a file to read: the real open, or a test's that is refused.
  platform::file_probe::ReadOpenCall read_open_ = platform::file_probe::open_for_reading;
  // Whether a copy in another session runs on the file beside the executable.
  bool other_session_ = false;
  // This user's own file that a start passes over for the file beside the executable.
  std::optional<std::wstring> own_settings_passed_over_;
  // The executable's folder, whose second start the window answers, when a test gives one.
  std::optional<std::wstring> exe_folder_;
  // The folder claim's key, as a start hands it on.
  std::optional<app::CopyKey> folder_key_;
  // The resolution functions the window is built on: this system's, or a test's table with nulls
  // for an older system's.
  platform::Dpi resolution_;
  // The shell that holds the tray icon: the real one, or a test's that refuses.
  platform::tray::Shell tray_shell_ = platform::tray::shell_notify;
  platform::SessionSystem session_system_;
  // How the program was started: a shortcut's "normal window" unless a test says otherwise.
  int show_command_ = SW_SHOWNORMAL;
  // Up to how many class-name keys the settings file is read and written key by key.
  std::size_t settings_key_limit_ = settings::key_by_key_limit;
  std::unique_ptr<app::MainWindow> window_;
};

// The two ways the settings file is read and written: key by key through the profile functions,
// and a section at a time, which files of many class names take. Tests of the settings file run
// each case both ways (TEST_P, instantiated with settings_paths), so that the two cannot drift
// apart unseen.
struct SettingsPath {
  const char* name;
  std::size_t key_limit;
};
inline constexpr SettingsPath key_by_key{"KeyByKey", SIZE_MAX};
inline constexpr SettingsPath section_at_a_time{"SectionAtATime", 0};
inline const auto settings_paths = ::testing::Values(key_by_key, section_at_a_time);
inline void PrintTo(const SettingsPath& path, std::ostream* out) { *out << path.name; }
inline std::string settings_path_name(const ::testing::TestParamInfo<SettingsPath>& info) {
  return info.param.name;
}

class BothSettingsPathsTest : public MainWindowTest,
                              public ::testing::WithParamInterface<SettingsPath> {
 protected:
  BothSettingsPathsTest() { settings_key_limit_ = GetParam().key_limit; }
};

}  // namespace lorvane::test
