#pragma once
// The private-profile functions: every call goes through the ANSI functions, with texts
// converted to the ANSI code page on the way in and back on the way out.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lorvane::platform::profile {

// The key's value through a 1024-byte buffer with the empty default: at most 1023 bytes, and
// the empty text when the file, the section or the key does not exist.
std::wstring read(const std::wstring& section, const std::wstring& key, const std::wstring& path);

// What became of a write: in use when another program held the file (a sharing or a lock
// violation), refused for any other failure (access denied, a read-only file, a full disc).
enum class WriteResult { written, in_use, refused };

// Stores the value, creating file, section and key as needed; no value removes the key.
WriteResult write(const std::wstring& section, const std::wstring& key,
                  const std::optional<std::wstring>& value, const std::wstring& path);

// The names of all keys of the section, in file order; empty when there is none.
std::vector<std::wstring> key_names(const std::wstring& section, const std::wstring& path);

// One line of a section as the file holds it: no value for a line without "=".
struct Line {
  std::wstring key;
  std::optional<std::wstring> value;
};

// The section's lines (comments and blank lines aside) in file order, values as stored, from
// one read of the file.
std::vector<Line> read_section(const std::wstring& section, const std::wstring& path);

// Replaces the lines of the section with these, in one write of the file.
WriteResult write_section(const std::wstring& section, const std::vector<Line>& lines,
                          const std::wstring& path);

// What read() returns for a key that holds this stored value: a matching pair of surrounding
// quotes removed, and at most 1023 bytes.
std::wstring as_read(const std::wstring& stored_value);

// The millisecond clock that bounds how long a failed write is tried again, and the moment's
// pause before the next try: another program (a virus scanner) may let go of the file meanwhile.
std::uint32_t tick_count();
void pause_before_retry();

// The folder of the running executable as the platform reports it, without a trailing
// separator except at a drive's root ("C:\").
std::wstring executable_folder();

}  // namespace lorvane::platform::profile
