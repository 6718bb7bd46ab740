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
#include "app/target_list_view.h"
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

struct MainWindowOptions {
  // The settings file of the whole run, chosen before the window is made.
  std::wstring settings_path;
  // The file beside the executable that settings_path (in the application data) is a copy of:
  // copied, or refreshed, by the start-up load before it reads.
  std::optional<std::wstring> copy_from;
  // The copy; a test makes it fail as it can on Windows.
  platform::file_probe::CopyCall copy = platform::file_probe::copy_file;
  // A copy in another session runs on the file beside the executable, and settings_path is this
  // user's own file: the status line says so once the list is loaded.
  bool other_session = false;
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

// While the shell refuses the icon (it is still starting at a slow logon), it is asked again at
// this interval for this long; until then a minimised main window stays on the taskbar.
inline constexpr UINT tray_retry_interval_ms = 2000;
inline constexpr DWORD tray_retry_period_ms = 2 * 60 * 1000;

// The status line while the start-up waits for the settings file, which another program holds or
// which cannot be read for another reason.
inline constexpr std::wstring_view settings_in_use_text =
    L"設定ファイルを他のプログラムが使用中です。使い終わるのを待っています。";
inline constexpr std::wstring_view settings_unreadable_text =
    L"設定ファイルを読み込めません。読み込めるようになるのを待っています。";
// The status line after a Save that failed, by why it failed.
inline constexpr std::wstring_view save_in_use_text =
    L"設定を保存できませんでした。設定ファイルを他のプログラムが使用中です。";
inline constexpr std::wstring_view save_refused_text =
    L"設定を保存できませんでした。設定ファイルへの書き込みが拒否されました。";
// Added to the reason in the box of an exit save that failed.
inline constexpr std::wstring_view exit_save_choice_text =
    L"\n\n「再試行」でもう一度保存します。「キャンセル」で保存せずに終了します。";
// The status line of a run whose copy in the application data could not be made: the list is read
// from the file beside the executable, and nothing is saved until the next start.
inline constexpr std::wstring_view settings_copy_failed_text =
    L"設定ファイルをコピーできませんでした。元の設定を読み込みましたが、今回は保存しません。";
// The status line of a run that keeps its own settings while another user runs this copy.
inline constexpr std::wstring_view other_session_text =
    L"他のユーザーがこの Lorvane を使用中です。設定はこのユーザー専用のファイルに保存します。";
// While the start-up waits for the settings file, it tries again at this interval: nothing tells
// when another program lets go of a file.
inline constexpr UINT settings_retry_interval_ms = 1000;

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

  control::ControlContext& context();
  // Read by tests and the start-up bench only: what the tray restores, and the icon it shows.
  platform::WindowState saved_window_state() const { return saved_state_; }
  HICON icon() const { return small_icon_; }
  // Whether the shell holds the notification-area icon.
  bool tray_icon_present() const { return icon_present_; }
  // Whether the shell is still being asked again for the icon it refused.
  bool asking_for_tray_icon() const;
  // Whether the start-up load has read the settings file; until then nothing writes it.
  // Read by tests only: whatever the window shows, this says whether an exit may save.
  bool settings_loaded() const { return loaded_; }
  // The hold on raw input that the message loop keeps, once the window exists.
  control::RawInputHold* raw_input_hold();
  // The About box while it exists, else null.
  HWND about_box() const { return about_ ? about_->hwnd() : nullptr; }
  const std::wstring& settings_path() const { return options_.settings_path; }

  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  struct Parts;

  void create_controls();
  void apply_fonts();
  void start_up_sequence();
  // The start-up load, and what follows it once the file has been read; a file that cannot be
  // read yet is tried again by a timer, the window waiting with its editing disabled.
  void load_settings();
  void set_editing_enabled(bool enabled);
  // Save, and the status line that tells when it failed.
  void save_now();
  // When the user closes the window, a failed exit save asks whether to try again; at the end of
  // the session nothing can be asked.
  enum class CloseKind { by_user, session_end };
  void close_sequence(CloseKind kind);
  // The session ends while the exit save's box asks whether to try again.
  void session_end_while_asking();
  void on_size(UINT type);
  void lay_out();
  void resize_client(int width, int height);
  void on_command(int id);
  void on_mouse_move(LPARAM lparam);
  void tray_restore();
  void add_tray_icon();
  void retry_tray_icon();
  void icon_arrived();
  void open_about();
  void remember_focus();
  void restore_focus();

  MainWindowOptions options_;
  HINSTANCE instance_ = nullptr;
  UINT taskbar_created_ = 0;
  UINT bring_back_ = 0;
  CopyKey copy_key_{};
  std::optional<CopyKey> folder_key_;
  // What the status line said before a failed Save took it, for the next Save that works.
  std::wstring status_before_failure_;
  platform::WindowState saved_state_ = platform::WindowState::normal;
  // The exit save writes nothing before the start-up load has read the file: a session that ends
  // while the shell keeps the start-up waiting must not save an empty list over the stored one.
  bool loaded_ = false;
  // The copy in the application data is made (or was not needed); until then the load waits.
  bool copied_ = false;
  // The copy failed for good: the list came from the file beside the executable, and this run
  // writes nowhere, so that neither file is written over with what the other should hold.
  bool read_only_ = false;
  bool closed_ = false;
  // The failed exit save's box is open; the session ended meanwhile, and the save was made then.
  bool exit_box_open_ = false;
  bool saved_at_session_end_ = false;
  bool icon_present_ = false;
  DWORD icon_retries_since_ = 0;
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
  std::unique_ptr<AboutBox> about_;
};

}  // namespace lorvane::app
