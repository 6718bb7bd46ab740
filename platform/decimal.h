#pragma once
// Decimal texts as the program reads them: from the settings file and from the threshold box.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lorvane::platform {

// Leading blanks, an optional sign, then decimal digits up to the first other character
// ("12abc" is 12). A value beyond the 32-bit range is clamped to it. No digit at all: no number.
std::optional<std::int32_t> parse_decimal(std::wstring_view text);

// The decimal text of a number as the program writes it: a minus sign for a negative number, no
// plus sign, no leading zeros. Written by hand: the C library's formatting costs the exe tens of
// kilobytes of printf machinery.
std::wstring decimal_text(std::int32_t value);

}  // namespace lorvane::platform
