#pragma once
// Where the settings live, and whether this copy may run: the one answer a start asks for before
// it makes its window.
//
// The settings file is "Lorvane.ini" beside the executable when it can be used there, else one in
// the user's application-data folder (settings/settings_choice makes that choice from what the
// tries here found). One copy runs per settings file and per executable's folder. A second start
// for the file that a running copy uses, or from the folder it was started from, brings that
// copy's main window back, as its tray icon would, and ends without touching the file. Which file
// a start takes depends on its rights (an elevated start may write beside the executable where a
// normal one goes to the application data), so the folder is claimed as well. Copies in different
// folders on different files run side by side.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/file_probe.h"
#include "platform/running_copy.h"
#include "settings/settings_choice.h"

namespace lorvane::app {

// The message that asks a main window to come back as from the tray; it answers TRUE when the
// message carries the key of its own settings file.
inline constexpr const wchar_t* bring_back_message_name = L"LorvaneBringBackMainWindow";

// Shown by a start that finds the file taken by a copy it can neither reach nor bring back: one
// that runs as administrator.
inline constexpr const wchar_t* runs_as_administrator_text =
    L"Lorvane は管理者として実行されています。";

// The name of the objects of one settings file: the same for every path that reaches its folder
// (named from the folder's identity), or, where the folder cannot be opened, for every spelling
// of its path that differs only in case or in short and long forms of its folders; a valid object
// name (no "\" after the namespace, well under MAX_PATH).
std::wstring copy_name(const std::wstring& settings_path);

// The name by which the settings file is claimed across the sessions of the machine.
std::wstring machine_copy_name(const std::wstring& settings_path);

// The path under which the executable's folder is claimed: the folder with a final separator, a
// name no settings file has.
std::wstring folder_claim_path(const std::wstring& exe_folder);

// The settings file's key as the bring-back message carries it.
struct CopyKey {
  WPARAM low;
  LPARAM high;
};
CopyKey copy_key(const std::wstring& settings_path);

// One running copy per path: the claim of a settings file, or of the executable's folder under
// folder_claim_path(), by a named mutex, with the slot that names the claiming copy's main window.
class RunningCopyClaim {
 public:
  // A copy that holds the path is given the patience to show its main window.
  explicit RunningCopyClaim(const std::wstring& claimed_path,
                            const platform::running_copy::CreateMutexCall& create_mutex =
                                platform::running_copy::create_mutex,
                            DWORD patience_ms = 10000);

  // True when this process is to run on the path. False when another copy runs on it, whose main
  // window has then been brought back, or which runs as administrator and could not be: the user
  // is then told so.
  bool take();
  // Names this copy's main window to the starts that come later.
  void publish(HWND main_window);
  // The key of the claimed path, as copy_key() gives it: worked out once, here.
  CopyKey key() const { return key_; }

 private:
  // What names the path in every spelling: asked of the file system once, for the name and key.
  std::wstring path_;
  std::wstring name_;
  CopyKey key_;
  DWORD patience_ms_;
  platform::running_copy::NamedMutex mutex_;
  std::optional<platform::running_copy::WindowSlot> slot_;
};

// Tries the places the settings file can live, beside the executable first, and chooses one. The
// application-data folder is asked for only when the file cannot live beside the executable. A
// file that another program holds is in use, not unusable: it stays where it is, and the load
// waits for it. Nothing is written.
settings::SettingsChoice find_settings_file(
    const std::wstring& exe_folder,
    const std::function<std::optional<std::wstring>()>& app_data_folder,
    const platform::file_probe::OpenCall& open = platform::file_probe::open_for_read_write);

// Makes the chosen file's folder where the choice needs one: before the file's one-copy name is
// taken, which is that of the folder's long path.
void make_settings_folder(const settings::SettingsChoice& choice);
// Makes the first copy of the file beside the executable in the application data, or refreshes
// an existing copy when that file was written later; a copy that is up to date is left alone, and
// without a file beside the executable nothing is copied.
// The main window's load asks for it, and waits while another program holds either file.
platform::file_probe::CopyResult copy_settings_file(
    const std::wstring& from, const std::wstring& to,
    const platform::file_probe::CopyCall& copy = platform::file_probe::copy_file);

// The settings file in that folder as the ANSI profile functions reach it: through the folder's
// short path where the code page cannot hold its own; unchanged where neither form can be held.
std::wstring profile_reachable(const std::wstring& settings_file);

// The settings file of this run and the keys by which its main window answers a second start.
struct SettingsHome {
  std::wstring exe_folder;
  std::wstring path;
  // The file beside the executable that path starts as a copy of, or is refreshed from.
  std::optional<std::wstring> copy_from;
  CopyKey settings_key;
  CopyKey folder_key;
  // A copy in another session of the machine runs on the file beside the executable: this run
  // keeps the user's own settings in the application data.
  bool other_session = false;
  // This user's own file in the application data, kept while another user's copy ran on the
  // file beside the executable, which this run takes again: passed over, and left as it is.
  std::optional<std::wstring> own_file_passed_over;
};

// The claims of one start, in their order: the executable's folder, before any file is tried;
// then the settings file, chosen, its folder made, claimed and prepared.
class CopyClaims {
 public:
  // The mutexes are made by this call; tests put one in its place that finds them denied.
  explicit CopyClaims(
      platform::running_copy::CreateMutexCall create_mutex = platform::running_copy::create_mutex);
  // The settings of the run, or none when another copy runs on the folder or the file: it has then
  // been brought back (or the user told that it runs as administrator), and this start ends
  // without touching any file. After the session's claims, the file beside the executable is
  // claimed machine-wide; where a copy of another session holds that claim (or one this start may
  // not open), the run takes the user's own file in the application data instead. Where the claim
  // is taken and such an own file lies there, the run still takes the file beside the
  // executable, and names the own file it passes over.
  std::optional<SettingsHome> take(
      const std::wstring& exe_folder,
      const std::function<std::optional<std::wstring>()>& app_data_folder);
  // Names this copy's main window to the starts that come later, once its start-up is over.
  void publish(HWND main_window);

 private:
  platform::running_copy::CreateMutexCall create_mutex_;
  // The chosen file's folder made, then the file claimed: false when another copy runs on it.
  bool claim_settings_file(const settings::SettingsChoice& choice);

  std::optional<RunningCopyClaim> folder_;
  std::optional<RunningCopyClaim> file_;
  // The file beside the executable, claimed across the sessions of the machine.
  std::optional<platform::running_copy::NamedMutex> machine_;
};

}  // namespace lorvane::app
