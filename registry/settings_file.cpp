#include "registry/settings_file.h"

#include <vector>

#include "platform/decimal.h"
#include "platform/設定ファイル.h"
#include "registry/save_walk.h"

namespace lorvane::registry {
namespace {

const std::wstring section_name{section};

// The reading rule: the value up to its first zero; an empty value is an absent key.
std::optional<std::wstring> read_key(std::wstring_view key, const std::wstring& path) {
  std::wstring value = 設定ファイル::read(section_name, std::wstring(key), path);
  if (value.empty()) return std::nullopt;
  return value;
}

// A number stored by the program, or 0 when the key is absent or holds no number.
std::int32_t read_count(const std::wstring& path) {
  auto value = read_key(count_key, path);
  return value ? parse_decimal(*value).value_or(0) : 0;
}

std::vector<std::int32_t> present_class_positions(const std::wstring& path) {
  std::vector<std::int32_t> positions;
  for (const std::wstring& key : 設定ファイル::key_names(section_name, path)) {
    if (auto k = class_key_position(key)) positions.push_back(*k);
  }
  return positions;
}

}  // namespace

std::wstring settings_path(const std::wstring& folder) { return folder + L"\\" + L"Lorvane.ini"; }

std::wstring class_key(std::int32_t position) {
  return std::wstring(class_key_prefix) + std::to_wstring(position);
}

std::optional<std::int32_t> class_key_position(std::wstring_view key) {
  if (key.substr(0, class_key_prefix.size()) != class_key_prefix) return std::nullopt;
  std::wstring_view digits = key.substr(class_key_prefix.size());
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  if (digits.size() > 1 && digits[0] == L'0') return std::nullopt;
  std::int64_t value = 0;
  for (wchar_t c : digits) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

void start_up_load(CheckBox& check1, ListBox& list1, const std::wstring& path) {
  // Any number but 0 ticks the box; a value that holds no number leaves the box as designed.
  if (auto value = read_key(front_display_key, path)) {
    if (auto number = parse_decimal(*value)) check1.set_ticked(*number != 0);
  }
  std::int32_t count = read_count(path);
  // Only the positions the file holds are read: an absent key is skipped anyway, and a damaged
  // count of two billion must not mean two billion reads.
  for (std::int32_t k : load_positions(count, present_class_positions(path))) {
    if (auto name = read_key(class_key(k), path)) list1.append(*name);
  }
}

void save(const ListBox& list1, const std::wstring& path) {
  std::int32_t stored = read_count(path);
  std::int32_t n = list1.count();
  std::vector<std::int32_t> present;
  if (stored > n) present = present_class_positions(path);
  設定ファイル::write(section_name, std::wstring(count_key), std::to_wstring(n), path);
  for (const SaveStep& step : save_walk(stored, n, present)) {
    std::wstring key = class_key(step.position);
    switch (step.kind) {
      case SaveStep::Kind::write_entry: {
        // Each write rewrites the whole file: a key that already holds its entry is left as it
        // is, so that saving an unchanged list writes three keys, not one per entry.
        std::wstring entry = list1.item(step.position);
        if (設定ファイル::read(section_name, key, path) != entry) {
          設定ファイル::write(section_name, key, entry, path);
        }
        break;
      }
      case SaveStep::Kind::write_empty:
        設定ファイル::write(section_name, key, std::wstring(), path);
        break;
      case SaveStep::Kind::remove:
        設定ファイル::write(section_name, key, std::nullopt, path);
        break;
    }
  }
}

void exit_save(const ListBox& list1, const CheckBox& check1, const std::wstring& path) {
  save(list1, path);
  設定ファイル::write(section_name, std::wstring(front_display_key), check1.ticked() ? L"1" : L"0",
                      path);
}

}  // namespace lorvane::registry
