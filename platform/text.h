#pragma once
// Conversion between the program's UTF-16 texts and the system's ANSI code page, done only at the
// call of an "A" function of the platform.
#include <string>
#include <string_view>

namespace lorvane::platform::text {

// Bytes that the ANSI code page cannot decode (a broken double-byte pair, a stray lead byte) are
// carried through as private-use characters, so that a name read from a damaged file is written
// back with exactly the bytes it had.
std::wstring from_ansi(std::string_view bytes);

// The inverse of from_ansi: characters the code page has no byte for become its default character.
std::string to_ansi(std::wstring_view text);

// Whether the ANSI code page holds every character of the text, so that an "A" function given
// to_ansi(text) reaches the same thing (a path, above all). Nothing is mapped to a look-alike.
bool ansi_can_hold(std::wstring_view text);

// The text of a filled buffer, up to its first zero byte.
std::wstring from_ansi_buffer(const char* buffer, std::size_t size);

}  // namespace lorvane::platform::text
