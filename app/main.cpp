// Lorvane: keeps registered application windows at the bottom of the Z-order like a wallpaper,
// and raises the first of them while the user is away.
#include <windows.h>

#include "app/main_window.h"
#include "app/message_loop.h"
#include "app/settings_home.h"
#include "platform/file_probe.h"
#include "platform/profile.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  using namespace lorvane;
  app::CopyClaims claims;
  std::optional<app::SettingsHome> home = claims.take(
      platform::profile::executable_folder(), platform::file_probe::application_data_folder);
  if (!home) return 0;

  app::MainWindowOptions options;
  options.settings_path = home->path;
  options.copy_from = home->copy_from;
  options.other_session = home->other_session;
  options.own_settings_passed_over = home->own_file_passed_over;
  options.exe_folder = home->exe_folder;
  options.settings_key = home->settings_key;
  options.folder_key = home->folder_key;
  app::MainWindow main_window(std::move(options));
  if (!main_window.create(instance)) return 1;
  main_window.show_at_start(show_command);
  claims.publish(main_window.hwnd());

  return app::run_message_loop(main_window.raw_input_hold());
}
