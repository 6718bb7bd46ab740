#include "settings/settings_file.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/decimal.h"
#include "platform/file_probe.h"
#include "platform/profile.h"
#include "settings/save_walk.h"

namespace lorvane::settings {
namespace {

const std::wstring section_name{section};

// The reading rule: the value up to its first zero; an empty value is an absent key.
std::optional<std::wstring> read_key(std::wstring_view key, const std::wstring& path) {
  std::wstring value = platform::profile::read(section_name, std::wstring(key), path);
  if (value.empty()) return std::nullopt;
  return value;
}

// The writes of one save, each key's through put(): the one place where a write's result is read.
// A write that fails is tried again for a moment, as a scanner may take the file between two
// writes; once one has failed for the whole patience, the save writes nothing more, so that a
// later write that works cannot leave the count and the names apart.
class SaveWrites {
 public:
  SaveWrites(const std::wstring& path, DWORD patience_ms)
      : path_(path), start_(platform::profile::tick_count()), patience_ms_(patience_ms) {}

  bool put(std::wstring_view key, const std::optional<std::wstring>& value) {
    return tried(
        [&] { return platform::profile::write(section_name, std::wstring(key), value, path_); });
  }
  bool put_section(const std::vector<platform::profile::Line>& lines) {
    return tried([&] { return platform::profile::write_section(section_name, lines, path_); });
  }

  // Holds the file from the save's first read to its last write, as the load does: the profile
  // functions answer a file another program holds as one without the keys, and a save that read
  // the stored count and keys as absent would leave keys of the old list behind. A file held by
  // another program is waited for as a write is; a file not there yet has nothing to read.
  bool hold() {
    return tried([&] {
      hold_.reset();
      hold_.emplace(path_);
      switch (hold_->state()) {
        case platform::file_probe::FileOpen::opens:
        case platform::file_probe::FileOpen::absent: return platform::profile::WriteResult::written;
        case platform::file_probe::FileOpen::held: break;
        case platform::file_probe::FileOpen::refused:
        case platform::file_probe::FileOpen::unavailable:
          return platform::profile::WriteResult::refused;
      }
      return platform::profile::WriteResult::in_use;
    });
  }

  SaveResult result() const {
    switch (failed_) {
      case platform::profile::WriteResult::written: return SaveResult::saved;
      case platform::profile::WriteResult::in_use: return SaveResult::in_use;
      case platform::profile::WriteResult::refused: break;
    }
    return SaveResult::refused;
  }

 private:
  template <class Write>
  bool tried(const Write& write) {
    if (failed_ != platform::profile::WriteResult::written) return false;
    for (;;) {
      platform::profile::WriteResult result = write();
      if (result == platform::profile::WriteResult::written) return true;
      if (platform::profile::tick_count() - start_ >= patience_ms_) {
        failed_ = result;
        return false;
      }
      platform::profile::pause_before_retry();
    }
  }

  const std::wstring& path_;
  std::uint32_t start_;
  DWORD patience_ms_;
  platform::profile::WriteResult failed_ = platform::profile::WriteResult::written;
  std::optional<platform::file_probe::ReadHold> hold_;
};

// A number stored by the program, or 0 when the key is absent or holds no number.
std::int32_t read_count(const std::wstring& path) {
  auto value = read_key(count_key, path);
  return value ? platform::parse_decimal(*value).value_or(0) : 0;
}

// The positions of the class-name and the program keys the file holds, from one read.
struct PresentKeys {
  std::vector<std::int32_t> classes;
  std::vector<std::int32_t> programs;
};

PresentKeys present_keys(const std::wstring& path) {
  PresentKeys present;
  for (const std::wstring& key : platform::profile::key_names(section_name, path)) {
    if (auto k = class_key_position(key)) {
      present.classes.push_back(*k);
    } else if (auto p = program_key_position(key)) {
      present.programs.push_back(*p);
    }
  }
  std::sort(present.programs.begin(), present.programs.end());
  return present;
}

bool holds(const std::vector<std::int32_t>& sorted_positions, std::int32_t k) {
  return std::binary_search(sorted_positions.begin(), sorted_positions.end(), k);
}

std::vector<bool> programs_held(const platform::ListBox& target_list, std::int32_t n) {
  std::vector<bool> has(static_cast<std::size_t>(n));
  for (std::int32_t k = 0; k < n; ++k)
    has[static_cast<std::size_t>(k)] = !target_list.target(k).program.empty();
  return has;
}

// The values that the reading rule gives for the keys of the lines that position() knows, by
// position.
std::map<std::int32_t, std::wstring> values_as_read(
    const std::vector<platform::profile::Line>& lines,
    std::optional<std::int32_t> (*position)(std::wstring_view)) {
  std::map<std::int32_t, std::wstring> values;
  for (const platform::profile::Line& line : lines) {
    // The first of two keys of one name is the one that reads and writes find; a line without
    // a value reads as empty.
    if (auto k = position(line.key)) {
      values.emplace(*k, line.value ? platform::profile::as_read(*line.value) : std::wstring());
    }
  }
  return values;
}

// Save as one rewrite of the section, with the result the key-by-key writes would leave: changed
// keys get their new value where they stand, missing keys are added at the end in the order of
// the writes, and removed keys go. A save that changes nothing writes nothing, as the profile
// functions write nothing for a key that already holds its value: rewritten, the file would lose
// the blanks around its values and every byte the code page cannot convert.
void save_section(const platform::ListBox& target_list, std::int32_t n,
                  const std::vector<SaveStep>& steps, const std::vector<ProgramStep>& program_steps,
                  const std::wstring& path, SaveWrites& writes) {
  std::vector<platform::profile::Line> lines = platform::profile::read_section(section_name, path);
  std::optional<std::size_t> count_line;
  std::map<std::int32_t, std::size_t> class_lines;  // the first line of each position
  std::map<std::int32_t, std::size_t> program_lines;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!count_line && lines[i].key == count_key) count_line = i;
    if (auto k = class_key_position(lines[i].key)) class_lines.emplace(*k, i);
    if (auto k = program_key_position(lines[i].key)) program_lines.emplace(*k, i);
  }
  std::vector<bool> removed(lines.size(), false);
  bool changed = false;
  auto set = [&](std::optional<std::size_t> at, std::wstring key, std::wstring value) {
    if (at && lines[*at].value == value) return;
    changed = true;
    if (at) {
      lines[*at].value = std::move(value);
    } else {
      lines.push_back({std::move(key), std::move(value)});
    }
  };
  set(count_line, std::wstring(count_key), platform::decimal_text(n));
  for (const SaveStep& step : steps) {
    auto found = class_lines.find(step.position);
    std::optional<std::size_t> at;
    if (found != class_lines.end()) at = found->second;
    switch (step.kind) {
      case SaveStep::Kind::write_entry: {
        std::wstring entry = target_list.item(step.position);
        if (!at || !lines[*at].value || platform::profile::as_read(*lines[*at].value) != entry) {
          set(at, class_key(step.position), std::move(entry));
        }
        break;
      }
      case SaveStep::Kind::write_empty: set(at, class_key(step.position), std::wstring()); break;
      case SaveStep::Kind::remove:
        if (at) removed[*at] = changed = true;
        break;
    }
  }
  for (const ProgramStep& step : program_steps) {
    auto found = program_lines.find(step.position);
    std::optional<std::size_t> at;
    if (found != program_lines.end()) at = found->second;
    if (step.kind == ProgramStep::Kind::remove) {
      if (at) removed[*at] = changed = true;
      continue;
    }
    std::wstring program = target_list.target(step.position).program;
    if (!at || !lines[*at].value || platform::profile::as_read(*lines[*at].value) != program) {
      set(at, program_key(step.position), std::move(program));
    }
  }
  if (!changed) return;
  std::vector<platform::profile::Line> kept;
  kept.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i >= removed.size() || !removed[i]) kept.push_back(std::move(lines[i]));
  }
  writes.put_section(kept);
}

}  // namespace

std::wstring class_key(std::int32_t position) {
  return std::wstring(class_key_prefix) + platform::decimal_text(position);
}

namespace {

// The position after the prefix, in plain decimal digits without a leading zero.
std::optional<std::int32_t> key_position(std::wstring_view key, std::wstring_view prefix) {
  if (key.substr(0, prefix.size()) != prefix) return std::nullopt;
  std::wstring_view digits = key.substr(prefix.size());
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

}  // namespace

std::optional<std::int32_t> class_key_position(std::wstring_view key) {
  return key_position(key, class_key_prefix);
}

std::wstring program_key(std::int32_t position) {
  return std::wstring(program_key_prefix) + platform::decimal_text(position);
}

std::optional<std::int32_t> program_key_position(std::wstring_view key) {
  return key_position(key, program_key_prefix);
}

LoadResult start_up_load(platform::CheckBox& front_display_option, platform::ListBox& target_list,
                         const std::wstring& path, std::size_t key_limit,
                         const platform::file_probe::ReadOpenCall& open) {
  // The profile functions answer a file they could not open as one without the key: held open
  // here for reading, with reads and writes shared, the file cannot be taken from them meanwhile.
  platform::file_probe::ReadHold hold(path, open);
  switch (hold.state()) {
    case platform::file_probe::FileOpen::opens: break;
    case platform::file_probe::FileOpen::absent: return LoadResult::loaded;
    case platform::file_probe::FileOpen::held: return LoadResult::in_use;
    case platform::file_probe::FileOpen::refused: return LoadResult::refused;
    case platform::file_probe::FileOpen::unavailable: return LoadResult::unreadable;
  }
  target_list.clear();
  // Any number but 0 ticks the box; a value that holds no number leaves the box as designed.
  if (auto value = read_key(front_display_key, path)) {
    if (auto number = platform::parse_decimal(*value))
      front_display_option.set_ticked(*number != 0);
  }
  std::int32_t count = read_count(path);
  // Only the positions the file holds are read: an absent key is skipped anyway, and a damaged
  // count of two billion must not mean two billion reads.
  PresentKeys present = present_keys(path);
  std::vector<std::int32_t> positions = load_positions(count, present.classes);
  if (positions.size() <= key_limit) {
    for (std::int32_t k : positions) {
      auto name = read_key(class_key(k), path);
      if (!name) continue;
      std::optional<std::wstring> program;
      if (holds(present.programs, k)) program = read_key(program_key(k), path);
      target_list.append({*name, program.value_or(std::wstring())});
    }
    return LoadResult::loaded;
  }
  std::vector<platform::profile::Line> lines = platform::profile::read_section(section_name, path);
  std::map<std::int32_t, std::wstring> names = values_as_read(lines, class_key_position);
  std::map<std::int32_t, std::wstring> programs = values_as_read(lines, program_key_position);
  for (std::int32_t k : positions) {
    auto name = names.find(k);
    if (name == names.end() || name->second.empty()) continue;
    auto program = programs.find(k);
    target_list.append(
        {name->second, program != programs.end() ? program->second : std::wstring()});
  }
  return LoadResult::loaded;
}

bool holds_names_beyond(const std::wstring& path, const platform::ListBox& target_list) {
  std::map<std::int32_t, std::wstring> names =
      values_as_read(platform::profile::read_section(section_name, path), class_key_position);
  std::vector<std::int32_t> present;
  for (const auto& [k, name] : names) present.push_back(k);
  std::vector<std::wstring> listed;
  for (std::int32_t k = 0; k < target_list.count(); ++k) listed.push_back(target_list.item(k));
  for (std::int32_t k : load_positions(read_count(path), present)) {
    const std::wstring& name = names[k];
    if (!name.empty() && std::find(listed.begin(), listed.end(), name) == listed.end()) return true;
  }
  return false;
}

namespace {

void save_list(const platform::ListBox& target_list, const std::wstring& path,
               std::size_t key_limit, SaveWrites& writes) {
  if (!writes.hold()) return;
  std::int32_t stored = read_count(path);
  std::int32_t n = target_list.count();
  PresentKeys present = present_keys(path);
  std::vector<SaveStep> steps = save_walk(stored, n, present.classes);
  std::vector<ProgramStep> program_steps =
      program_walk(programs_held(target_list, n), present.programs);
  if (steps.size() + program_steps.size() > key_limit) {
    save_section(target_list, n, steps, program_steps, path, writes);
    return;
  }
  // After a write that failed for good, the others write nothing.
  writes.put(count_key, platform::decimal_text(n));
  for (const SaveStep& step : steps) {
    std::wstring key = class_key(step.position);
    switch (step.kind) {
      case SaveStep::Kind::write_entry: {
        // Each write rewrites the whole file: a key that already holds its entry is left as it
        // is, so that saving an unchanged list writes three keys, not one per entry.
        std::wstring entry = target_list.item(step.position);
        if (platform::profile::read(section_name, key, path) != entry) writes.put(key, entry);
        break;
      }
      case SaveStep::Kind::write_empty: writes.put(key, std::wstring()); break;
      case SaveStep::Kind::remove: writes.put(key, std::nullopt); break;
    }
  }
  for (const ProgramStep& step : program_steps) {
    std::wstring key = program_key(step.position);
    if (step.kind == ProgramStep::Kind::remove) {
      writes.put(key, std::nullopt);
      continue;
    }
    std::wstring program = target_list.target(step.position).program;
    if (platform::profile::read(section_name, key, path) != program) writes.put(key, program);
  }
}

}  // namespace

SaveResult save(const platform::ListBox& target_list, const std::wstring& path,
                std::size_t key_limit, DWORD patience_ms) {
  SaveWrites writes(path, patience_ms);
  save_list(target_list, path, key_limit, writes);
  return writes.result();
}

SaveResult exit_save(const platform::ListBox& target_list,
                     const platform::CheckBox& front_display_option, const std::wstring& path,
                     std::size_t key_limit, DWORD patience_ms) {
  SaveWrites writes(path, patience_ms);
  save_list(target_list, path, key_limit, writes);
  writes.put(front_display_key, front_display_option.ticked() ? L"1" : L"0");
  return writes.result();
}

}  // namespace lorvane::settings
