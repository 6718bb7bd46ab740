#pragma once
// Which settings file a run uses: "Lorvane.ini" beside the executable when it can be used there,
// else one in the user's application-data folder. Plain data in, a path out: the trying of files
// and folders is the caller's.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lorvane::settings {

// The folder joined with "\Lorvane.ini", the folder taken unchanged.
std::wstring settings_path(const std::wstring& folder);

// The folder of the settings file under the application-data folder.
inline constexpr std::wstring_view app_data_subfolder = L"Lorvane";

// The names under which a folder can be handed to the ANSI profile functions.
struct FolderNames {
  std::wstring path;  // as the platform reports it
  bool ansi_holds_path = true;
  std::optional<std::wstring> short_path;  // its 8.3 form, when the platform gives one
  bool ansi_holds_short_path = false;
};

// The folder as the ANSI profile functions can reach it: by its own path, else by its short
// path; none when the code page can hold neither.
std::optional<std::wstring> ansi_reachable(const FolderNames& folder);

// "Lorvane.ini" beside the executable, as trying it found it.
enum class BesideFile { opens, can_be_made, unusable };

struct SettingsPlaces {
  std::wstring exe_folder;                      // as the platform reports it
  std::optional<std::wstring> exe_folder_ansi;  // as the ANSI functions reach it
  BesideFile beside = BesideFile::unusable;     // tried under exe_folder_ansi
  std::optional<std::wstring> app_data_ansi;    // the application-data folder, reached likewise
};

struct SettingsChoice {
  std::wstring path;  // the file of the whole run
  std::optional<std::wstring> folder_to_make;
  // The file that path starts as a copy of, when path does not exist yet.
  std::optional<std::wstring> copy_from;

  bool operator==(const SettingsChoice&) const = default;
};

SettingsChoice choose_settings_file(const SettingsPlaces& places);

// The user's own file in the application-data folder (as the ANSI functions reach it), with no
// file to copy from: for a run that leaves the file beside the executable to another user.
SettingsChoice own_settings_file(const std::wstring& app_data_ansi);

// Whether the original was written after its copy, from their last-write times in 100-ns units.
// File systems that keep local time (FAT, discs) shift by an hour across a change of daylight
// saving time, and FAT rounds to two seconds: a difference of exactly an hour, or of two seconds
// or less (either way), is no change.
bool written_later(std::uint64_t original, std::uint64_t copy);

}  // namespace lorvane::settings
