#include "platform/profile.h"

#include <windows.h>

#include <algorithm>

#include "platform/text.h"

namespace lorvane::platform::profile {

using text::from_ansi;
using text::from_ansi_buffer;
using text::to_ansi;

std::wstring read(const std::wstring& section, const std::wstring& key, const std::wstring& path) {
  char buffer[1024] = {};
  ::GetPrivateProfileStringA(to_ansi(section).c_str(), to_ansi(key).c_str(), "", buffer,
                             sizeof buffer, to_ansi(path).c_str());
  return from_ansi_buffer(buffer, sizeof buffer);
}

namespace {

WriteResult result_of(BOOL written) {
  if (written) return WriteResult::written;
  DWORD error = ::GetLastError();
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? WriteResult::in_use
                                                                           : WriteResult::refused;
}

}  // namespace

WriteResult write(const std::wstring& section, const std::wstring& key,
                  const std::optional<std::wstring>& value, const std::wstring& path) {
  std::string bytes = value ? to_ansi(*value) : std::string();
  return result_of(::WritePrivateProfileStringA(to_ansi(section).c_str(), to_ansi(key).c_str(),
                                                value ? bytes.c_str() : nullptr,
                                                to_ansi(path).c_str()));
}

namespace {

// The zero-separated list that a call fills (key names, or "key=value" lines). A list cut short
// fills the buffer to its size less one or two, so the buffer grows until the list fits.
template <class Call>
std::vector<std::string> zero_separated(Call call) {
  std::string buffer(64 * 1024, '\0');
  DWORD got = 0;
  for (;;) {
    got = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got + 2 < buffer.size() || buffer.size() >= (256u << 20)) break;
    buffer.assign(buffer.size() * 4, '\0');
  }
  got = std::min<DWORD>(got, static_cast<DWORD>(buffer.size()));
  std::vector<std::string> items;
  std::size_t at = 0;
  while (at < got) {
    std::size_t end = buffer.find('\0', at);
    if (end == std::string::npos || end > got) end = got;
    if (end > at) items.emplace_back(buffer.data() + at, end - at);
    at = end + 1;
  }
  return items;
}

}  // namespace

std::vector<std::wstring> key_names(const std::wstring& section, const std::wstring& path) {
  std::string section_a = to_ansi(section);
  std::string path_a = to_ansi(path);
  std::vector<std::wstring> names;
  for (const std::string& name : zero_separated([&](char*buffer, DWORD size) {
         return ::GetPrivateProfileStringA(section_a.c_str(), nullptr, "", buffer, size,
                                           path_a.c_str());
       })) {
    names.push_back(from_ansi(name));
  }
  return names;
}

std::vector<Line> read_section(const std::wstring& section, const std::wstring& path) {
  std::string section_a = to_ansi(section);
  std::string path_a = to_ansi(path);
  std::vector<Line> lines;
  for (const std::string& line : zero_separated([&](char*buffer, DWORD size) {
         return ::GetPrivateProfileSectionA(section_a.c_str(), buffer, size, path_a.c_str());
       })) {
    std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      lines.push_back({from_ansi(line), std::nullopt});
    } else {
      lines.push_back({from_ansi(std::string_view(line).substr(0, equals)),
                       from_ansi(std::string_view(line).substr(equals + 1))});
    }
  }
  return lines;
}

WriteResult write_section(const std::wstring& section, const std::vector<Line>& lines,
                          const std::wstring& path) {
  std::string block;
  for (const Line& line : lines) {
    block += to_ansi(line.key);
    if (line.value) block += '=' + to_ansi(*line.value);
    block += '\0';
  }
  block += '\0';
  return result_of(
      ::WritePrivateProfileSectionA(to_ansi(section).c_str(), block.data(), to_ansi(path).c_str()));
}

std::wstring as_read(const std::wstring& stored_value) {
  std::string value = to_ansi(stored_value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  if (value.size() > 1023) value.resize(1023);
  return from_ansi(value);
}

std::uint32_t tick_count() { return ::GetTickCount(); }

void pause_before_retry() {
  // Nothing tells when another program lets go of a file; the pause is short, and only a save
  // whose write failed takes it, for no more than a save's patience in all.
  ::Sleep(100);
}

std::wstring executable_folder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return std::wstring();
  // A drive root keeps its separator, as the platform reports it ("C:\").
  if (slash == 2 && path[1] == L':') return path.substr(0, 3);
  return path.substr(0, slash);
}

}  // namespace lorvane::platform::profile
