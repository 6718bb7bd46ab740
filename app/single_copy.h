#pragma once
// One running copy per settings file and per executable's folder. A second start for the file that
// a running copy uses, or from the folder it was started from, brings that copy's main window
// back, as its tray icon would, and ends without touching the file. Which file a start takes
// depends on its rights (an elevated start may write beside the executable where a normal one goes
// to the application data), so the folder is claimed as well. Copies in different folders on
// different files run side by side.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/running_copy.h"

namespace lorvane::app {

// The message that asks a main window to come back as from the tray; it answers TRUE when the
// message carries the key of its own settings file.
inline constexpr const wchar_t* bring_back_message_name = L"LorvaneBringBackMainWindow";

// Shown by a start that finds the file taken by a copy it can neither reach nor bring back: one
// that runs as administrator.
inline constexpr const wchar_t* runs_as_administrator_text =
    L"Lorvane は管理者として実行されています。";

// The name of the objects of one settings file: the same for every spelling of its path that
// differs only in case or in short and long forms of its folders, and a valid object name
// (no "\" after the namespace, well under MAX_PATH).
std::wstring copy_name(const std::wstring& settings_path);

// The path under which the executable's folder is claimed: the folder with a final separator, a
// name no settings file has.
std::wstring folder_claim_path(const std::wstring& exe_folder);

// The settings file's key as the bring-back message carries it.
struct CopyKey {
  WPARAM low;
  LPARAM high;
};
CopyKey copy_key(const std::wstring& settings_path);

class SettingsClaim {
 public:
  // A copy that holds the file is given the patience to show its main window.
  explicit SettingsClaim(const std::wstring& settings_path,
                         const platform::running_copy::CreateMutexCall& create_mutex =
                             platform::running_copy::create_mutex,
                         DWORD patience_ms = 10000);

  // True when this process is to run on the file. False when another copy runs on it, whose main
  // window has then been brought back, or which runs as administrator and could not be: the user
  // is then told so.
  bool take();
  // Names this copy's main window to the starts that come later.
  void publish(HWND main_window);
  // The key of the claimed path, as copy_key() gives it: worked out once, here.
  CopyKey key() const { return key_; }

 private:
  // The settings file's path in the one spelling all its spellings share: asked of the file
  // system once, for both the name and the key.
  std::wstring path_;
  std::wstring name_;
  CopyKey key_;
  DWORD patience_ms_;
  platform::running_copy::NamedMutex mutex_;
  std::optional<platform::running_copy::WindowSlot> slot_;
};

}  // namespace lorvane::app
