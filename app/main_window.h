#pragma once
// The main window: the target list with its buttons, the status line, the start-up and
// close sequences, and hiding in the notification area while minimised.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/about_box.h"
#include "app/settings_home.h"
#include "app/settings_session.h"
#include "app/target_list_view.h"
#include "app/tray_icon.h"
#include "app/window_base.h"
#include "app/window_names.h"
#include "control/control_context.h"
#include "platform/dpi.h"
#include "platform/input_clock.h"
#include "platform/session_state.h"
#include "platform/tray.h"
#include "platform/unique_handles.h"
#include "platform/window_state.h"
#include "platform/z_order.h"
#include "settings/settings_file.h"

namespace lorvane::app {

// The click's one-shot timer. Windows may fire it early, on its clock's next tick: a test delivers
// its message early as that clock would.
inline constexpr UINT_PTR click_timer_id = 3;

struct MainWindowOptions {
  // The settings file of the whole run, chosen before the window is made.
  std::wstring settings_path;
  // The file beside the executable that settings_path (in the application data) is a copy of:
  // copied, or refreshed, by the start-up load before it reads.
  std::optional<std::wstring> copy_from;
  // The copy; a test makes it fail as it can on Windows.
  platform::file_probe::CopyCall copy = platform::file_probe::copy_file;
  // The start-up load's open for reading; a test makes it refuse as a file can on Windows.
  platform::file_probe::ReadOpenCall settings_read_open = platform::file_probe::open_for_reading;
  // A copy in another session runs on the file beside the executable, and settings_path is this
  // user's own file: the status line says so once the list is loaded.
  bool other_session = false;
  // This user's own file, kept while another user's copy ran on settings_path (beside the
  // executable), which this run takes again: the status line says where it stays.
  std::optional<std::wstring> own_settings_passed_over;
  // The executable's folder, when a second start from it is to bring this window back whichever
  // settings file that start would take.
  std::optional<std::wstring> exe_folder;
  // The bring-back keys of the settings file and of the executable's folder, where the start's
  // claims have worked them out already; otherwise they are worked out from the paths above.
  std::optional<CopyKey> settings_key;
  std::optional<CopyKey> folder_key;
  platform::InputClock clock;
  // The Z-order moves; a test makes them refuse as for a program running as administrator.
  platform::WindowMover mover;
  // Whether the desktop window manager hides a window; a test answers yes for windows it names.
  platform::Cloaking cloaking;
  // The program ends with its main window; a test that builds several windows keeps running.
  bool quit_on_destroy = true;
  // The resolution functions this system has; a test takes older systems' way with nulls.
  platform::Dpi dpi;
  // The shell that holds the notification-area icon; a test puts in one that refuses.
  platform::tray::Shell tray_shell = platform::tray::shell_notify;
  // What the session's notifications leave unsaid; a test stands for a remote session, a slow
  // logon or a lock whose unlock went unheard.
  platform::SessionSystem session_system;
  // Where the settings file is no longer read and written key by key; tests take both ways.
  std::size_t settings_key_limit = settings::key_by_key_limit;
};

class MainWindow : public WindowBase<MainWindow> {
 public:
  static constexpr const wchar_t* class_name = main_window_class;
  static constexpr const wchar_t* caption = window_caption;

  explicit MainWindow(MainWindowOptions options = {});
  ~MainWindow();

  // Creates the window and runs the start-up sequence; the window is not shown yet. A session
  // that ends during the start-up ends the window too: it is then gone, and hwnd() null.
  bool create(HINSTANCE instance);
  // Shows the window centred in the way the program was started with (a shortcut's "minimised"
  // or "maximised"), unless the start-up sequence has already put it in the tray.
  void show_at_start(int show_command = SW_SHOWNORMAL);

  // What the wizard and the cycle act on; the tests drive and read the window through it.
  control::ControlContext& context();
  // Read by tests only: what a restore from the tray brings back, which nothing shows before.
  platform::WindowState saved_window_state() const { return saved_state_; }
  // Whether the shell holds the icon: a minimised window lives there only then.
  bool tray_icon_present() const { return tray_ && tray_->present(); }
  // Read by tests only: Wine's notification area never refuses, so only a fake shell shows it.
  bool asking_for_tray_icon() const { return tray_ && tray_->asking(); }
  // Read by tests only: whatever the window shows, this says whether an exit may save.
  bool settings_loaded() const { return settings_ && settings_->loaded(); }
  // The hold on raw input that the message loop keeps, once the window exists.
  control::RawInputHold* raw_input_hold();
  // The About box while it exists, else null: the tests find the box they close through it.
  HWND about_box() const { return about_ ? about_->hwnd() : nullptr; }

  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  struct Parts;

  // One handler per message.
  void on_create();
  void on_window_pos_changing(WINDOWPOS& pos);
  void on_size(UINT type);
  void on_dpi_changed(WPARAM wparam, LPARAM lparam);
  void on_command(int id);
  void on_timer(UINT_PTR id);
  void on_tray_callback(LPARAM lparam);
  void on_activate(bool inactive, bool minimised);
  void on_close();
  void on_end_session();
  void on_destroy();
  void on_taskbar_created();
  bool on_bring_back(WPARAM wparam, LPARAM lparam);

  void apply_fonts();
  void start_up_sequence();
  // The start-up load, and what follows it once the file has been read; until then the window
  // waits with its editing disabled.
  void load_settings();
  void set_editing_enabled(bool enabled);
  // When the user closes the window, a failed exit save asks whether to try again; at the end of
  // the session nothing can be asked.
  enum class CloseKind { by_user, session_end };
  void close_sequence(CloseKind kind);
  void lay_out();
  void resize_client(int width, int height);
  void tray_restore();
  void open_about();
  void remember_focus();
  void restore_focus();

  MainWindowOptions options_;
  HINSTANCE instance_ = nullptr;
  UINT bring_back_ = 0;
  CopyKey copy_key_{};
  std::optional<CopyKey> folder_key_;
  platform::WindowState saved_state_ = platform::WindowState::normal;
  bool closed_ = false;
  HWND focus_ = nullptr;
  // Shared by the process (loaded with LR_SHARED): the window class, which outlives every window
  // of the process, refers to them, so no window may destroy them.
  HICON small_icon_ = nullptr;
  HICON large_icon_ = nullptr;
  platform::UniqueFont font_;
  // The list's drawing and its tooltip; it outlives the list, which the destructor ends first.
  TargetListView list_view_;
  // The timers, the watch and the controls, made in WM_CREATE; they outlive the window, which the
  // destructor ends first.
  std::unique_ptr<Parts> parts_;
  // Made in WM_CREATE as well.
  std::optional<TrayIcon> tray_;
  std::optional<SettingsSession> settings_;
  std::unique_ptr<AboutBox> about_;
};

}  // namespace lorvane::app
