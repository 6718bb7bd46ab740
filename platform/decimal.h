#pragma once
// Decimal texts as the program reads them: from the settings file and from the threshold box.
#include <cstdint>
#include <optional>
#include <string_view>

namespace lorvane {

// Leading blanks, an optional sign, then decimal digits up to the first other character
// ("12abc" is 12). A value beyond the 32-bit range is clamped to it. No digit at all: no number.
std::optional<std::int32_t> parse_decimal(std::wstring_view text);

}  // namespace lorvane
