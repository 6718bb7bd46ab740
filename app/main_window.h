#pragma once
// The main window: the target list with its buttons, the status line, the start-up and
// close sequences, and hiding in the notification area while minimised.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "app/about_box.h"
#include "app/window_base.h"
#include "control/main_controls.h"
#include "platform/controls.h"
#include "platform/dpi.h"
#include "platform/input_clock.h"
#include "platform/unique_handles.h"
#include "platform/window_state.h"

namespace lorvane::app {

struct MainWindowOptions {
  // The settings file of the whole run, chosen before the window is made.
  std::wstring settings_path;
  platform::InputClock clock;
  // The program ends with its main window; a test that builds several windows keeps running.
  bool quit_on_destroy = true;
  // The resolution functions this system has; a test takes older systems' way with nulls.
  platform::Dpi dpi;
};

class MainWindow : public WindowBase<MainWindow> {
 public:
  static constexpr const wchar_t* class_name = L"LorvaneMain";
  static constexpr const wchar_t* caption = L"Lorvane";

  explicit MainWindow(MainWindowOptions options = {});
  ~MainWindow();

  // Creates the window and runs the start-up sequence; the window is not shown yet.
  bool create(HINSTANCE instance);
  // Shows the window centred, unless the start-up sequence has already put it in the tray.
  void show_at_start();

  control::MainControls& controls() { return *controls_; }
  platform::WindowState saved_window_state() const { return saved_state_; }
  HICON icon() const { return small_icon_.get(); }
  // The About box while it exists, else null.
  HWND about_box() const { return about_ ? about_->hwnd() : nullptr; }
  const std::wstring& settings_path() const { return options_.settings_path; }

  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void create_controls();
  void apply_fonts();
  void start_up_sequence();
  void close_sequence();
  void on_size(UINT type);
  void lay_out();
  void resize_client(int width, int height);
  void on_command(int id);
  void on_mouse_move(LPARAM lparam);
  void tray_restore();
  void open_about();
  void remember_focus();
  void restore_focus();

  MainWindowOptions options_;
  HINSTANCE instance_ = nullptr;
  UINT taskbar_created_ = 0;
  UINT bring_back_ = 0;
  platform::WindowState saved_state_ = platform::WindowState::normal;
  bool closed_ = false;
  HWND focus_ = nullptr;
  platform::UniqueIcon small_icon_;
  platform::UniqueIcon large_icon_;
  platform::UniqueFont font_;
  std::optional<platform::Timer> selection_timer_;
  std::optional<platform::Timer> control_timer_;
  // Before the controls, which refer to it.
  std::optional<control::CycleWatch> watch_;
  std::optional<control::MainControls> controls_;
  std::unique_ptr<AboutBox> about_;
};

}  // namespace lorvane::app
