#include "platform/decimal.h"

#include <iterator>
#include <limits>

namespace lorvane::platform {

std::optional<std::int32_t> parse_decimal(std::wstring_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }
  constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i, ++digits) {
    if (magnitude < limit) magnitude = magnitude * 10 + (text[i] - L'0');
  }
  if (digits == 0) return std::nullopt;
  if (magnitude > limit) magnitude = limit;
  std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max())
    value = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

std::wstring decimal_text(std::int32_t value) {
  // Unsigned, so that the most negative number, which has no positive counterpart, negates too.
  std::uint32_t magnitude = static_cast<std::uint32_t>(value);
  if (value < 0) magnitude = 0u - magnitude;
  wchar_t digits[12];
  wchar_t* first = std::end(digits);
  do {
    *--first = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--first = L'-';
  return std::wstring(first, std::end(digits));
}

}  // namespace lorvane::platform
