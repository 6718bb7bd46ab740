#include "settings/settings_choice.h"

namespace lorvane::settings {

std::wstring settings_path(const std::wstring& folder) { return folder + L"\\" + L"Lorvane.ini"; }

std::optional<std::wstring> ansi_reachable(const FolderNames& folder) {
  if (folder.ansi_holds_path) return folder.path;
  if (folder.short_path && folder.ansi_holds_short_path) return folder.short_path;
  return std::nullopt;
}

SettingsChoice choose_settings_file(const SettingsPlaces& places) {
  if (places.exe_folder_ansi && places.beside != BesideFile::unusable) {
    return {settings_path(*places.exe_folder_ansi), std::nullopt, std::nullopt};
  }
  if (places.app_data_ansi) {
    std::wstring folder = *places.app_data_ansi + L"\\" + std::wstring(app_data_subfolder);
    // Read through the full path: the copy does not go through the ANSI functions.
    return {settings_path(folder), folder, settings_path(places.exe_folder)};
  }
  // Nowhere better to go: beside the executable, where writes may fail (and a failed
  // save is told).
  return {settings_path(places.exe_folder_ansi.value_or(places.exe_folder)), std::nullopt,
          std::nullopt};
}

SettingsChoice own_settings_file(const std::wstring& app_data_ansi) {
  std::wstring folder = app_data_ansi + L"\\" + std::wstring(app_data_subfolder);
  return {settings_path(folder), folder, std::nullopt};
}

bool written_later(std::uint64_t original, std::uint64_t copy) {
  constexpr std::uint64_t second = 10'000'000;
  constexpr std::uint64_t rounding = 2 * second;
  constexpr std::uint64_t hour = 3600 * second;
  if (original <= copy + rounding) return false;
  const std::uint64_t later_by = original - copy;
  return later_by < hour - rounding || later_by > hour + rounding;
}

}  // namespace lorvane::settings
