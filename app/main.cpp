// Lorvane: keeps registered application windows at the bottom of the Z-order like a wallpaper,
// and raises the first of them while the user is away.
#include <windows.h>

#include "app/main_window.h"
#include "app/message_loop.h"
#include "app/single_copy.h"
#include "platform/file_probe.h"
#include "platform/profile.h"
#include "registry/settings_file.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  using namespace lorvane;
  const std::wstring exe_folder = platform::profile::executable_folder();
  // A second start of the same executable brings the running copy back, whichever settings file
  // it would take, before it tries any file.
  app::SettingsClaim folder_claim(app::folder_claim_path(exe_folder));
  if (!folder_claim.take()) return 0;
  // One settings file for the whole run: the start-up load, Save and the exit save all use it.
  registry::SettingsChoice settings =
      registry::find_settings_file(exe_folder, platform::file_probe::application_data_folder);
  // The file's one-copy name is that of its folder's long path: the folder comes first, so that
  // a first run in the application data and a start a moment later take the same name.
  registry::make_settings_folder(settings);
  // A second start for the same file brings the running copy back and leaves the file alone.
  app::SettingsClaim claim(settings.path);
  if (!claim.take()) return 0;
  registry::prepare_settings_file(settings);

  app::MainWindowOptions options;
  options.settings_path = settings.path;
  options.exe_folder = exe_folder;
  options.settings_key = claim.key();
  options.folder_key = folder_claim.key();
  app::MainWindow main_window(std::move(options));
  if (!main_window.create(instance)) return 1;
  main_window.show_at_start(show_command);
  folder_claim.publish(main_window.hwnd());
  claim.publish(main_window.hwnd());

  return app::run_message_loop(main_window);
}
