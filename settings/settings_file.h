#pragma once
// The settings file "Lorvane.ini": the target list and the front-display option, read at
// start-up and written by Save and the exit save, key by key, or a section at a time for a file
// of more class names than key_by_key_limit, in the one file chosen at start-up
// (app/settings_home).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/controls.h"
#include "platform/file_probe.h"

namespace lorvane::settings {

inline constexpr std::wstring_view section = L"Lorvane";
inline constexpr std::wstring_view front_display_key = L"前面表示設定";
inline constexpr std::wstring_view count_key = L"登録数";
inline constexpr std::wstring_view class_key_prefix = L"クラス名";
inline constexpr std::wstring_view program_key_prefix = L"プログラム名";

// How long one save goes on trying a write that fails before it counts as failed.
inline constexpr DWORD save_patience_ms = 2000;

// "クラス名" followed by the position in plain decimal digits.
std::wstring class_key(std::int32_t position);

// The position a key names, if it is a class-name key in exactly that form ("クラス名07" is not).
std::optional<std::int32_t> class_key_position(std::wstring_view key);

// "プログラム名" followed by the position: the program of the entry whose class name is at the
// same position. Older copies of the program ignore the key.
std::wstring program_key(std::int32_t position);
std::optional<std::int32_t> program_key_position(std::wstring_view key);

// Up to this many class-name keys, the file is read and written key by key through the profile
// functions; a file of more (only a damaged or generated one holds them) is read and written a
// section at a time: key by key, every read searches the whole section and every write rewrites
// the whole file, which for tens of thousands of names takes minutes. Both ways leave the same
// list and, where the profile functions rewrite the whole file on every change as Wine's do, the
// same bytes; a save that changes nothing writes nothing either way. What differs: the profile
// functions' section write drops a line without "=" (under Wine; no read returns such a line),
// which key by key stays where it is; and profile functions that edit only the line of the key
// they write would keep the blanks around the other lines' values, which the section written
// back whole has as the section read returned them, without blanks.
inline constexpr std::size_t key_by_key_limit = 256;

// What the start-up load found: the file read (or absent, which holds an empty list), held by
// another program, not readable for a reason that may pass (a share not yet connected, a drive
// not ready), or refused for good (access denied, a folder or a device under the name). Only a
// loaded file may be saved over.
enum class LoadResult { loaded, in_use, unreadable, refused };

// Ticks or clears the box from the front-display key, then fills the list with the stored class
// names in stored order, each with the program stored at its position, if any. Absent values
// leave things as they are. The file is held open while its keys are read, so that a key that
// reads as empty is one the file lacks; a file that cannot be opened leaves box and list
// untouched.
LoadResult start_up_load(
    platform::CheckBox& front_display_option, platform::ListBox& target_list,
    const std::wstring& path, std::size_t key_limit = key_by_key_limit,
    const platform::file_probe::ReadOpenCall& open = platform::file_probe::open_for_reading);

// Whether the file holds a class name, of those the start-up load would read, that the list
// lacks; the file is only read, in one read of its section.
bool holds_names_beyond(const std::wstring& path, const platform::ListBox& target_list);

// What became of a save: written whole, or stopped at a write that failed for the whole patience
// while another program held the file, or that was refused.
enum class SaveResult { saved, in_use, refused };

// Writes the count, the class names and the programs of the list; removes the keys a longer list
// left behind, and the program keys of entries that have none.
SaveResult save(const platform::ListBox& target_list, const std::wstring& path,
                std::size_t key_limit = key_by_key_limit, DWORD patience_ms = save_patience_ms);

// Save, then the front-display option as 0 or 1, with one patience for both.
SaveResult exit_save(const platform::ListBox& target_list,
                     const platform::CheckBox& front_display_option, const std::wstring& path,
                     std::size_t key_limit = key_by_key_limit,
                     DWORD patience_ms = save_patience_ms);

}  // namespace lorvane::settings
