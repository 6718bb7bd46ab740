#pragma once
// The private-profile functions: every call goes through the ANSI functions, with texts
// converted to the ANSI code page on the way in and back on the way out.
#include <optional>
#include <string>
#include <vector>

namespace 設定ファイル {

// The key's value through a 1024-byte buffer with the empty default: at most 1023 bytes, and
// the empty text when the file, the section or the key does not exist.
std::wstring read(const std::wstring& section, const std::wstring& key, const std::wstring& path);

// Stores the value, creating file, section and key as needed; no value removes the key.
// Failures are not reported.
void write(const std::wstring& section, const std::wstring& key,
           const std::optional<std::wstring>& value, const std::wstring& path);

// The names of all keys of the section, in file order; empty when there is none.
std::vector<std::wstring> key_names(const std::wstring& section, const std::wstring& path);

// The folder of the running executable as the platform reports it, without a trailing
// separator except at a drive's root ("C:\").
std::wstring executable_folder();

}  // namespace 設定ファイル
