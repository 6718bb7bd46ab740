#pragma once
// One running copy per settings file. A second start for the file that a running copy uses brings
// that copy's main window back, as its tray icon would, and ends without touching the file. Copies
// on different files run side by side.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/running_copy.h"

namespace lorvane::app {

// The message that asks a main window to come back as from the tray; it answers TRUE.
inline constexpr const wchar_t* bring_back_message_name = L"LorvaneBringBackMainWindow";

// The name of the objects of one settings file: the same for every spelling of its path that
// differs only in case or in short and long forms of its folders, and a valid object name
// (no "\" after the namespace, well under MAX_PATH).
std::wstring copy_name(const std::wstring& settings_path);

class SettingsClaim {
 public:
  explicit SettingsClaim(const std::wstring& settings_path);

  // True when this process is to run on the file. False when another copy runs on it, whose main
  // window has then been brought back.
  bool take();
  // Names this copy's main window to the starts that come later.
  void publish(HWND main_window);

 private:
  std::wstring name_;
  platform::running_copy::NamedMutex mutex_;
  std::optional<platform::running_copy::WindowSlot> slot_;
};

}  // namespace lorvane::app
