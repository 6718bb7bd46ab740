// Arbitrary bytes against the reading of a stored count and the key walks built on it: the count
// text goes through parse_decimal as the start-up load and Save read it, and the number, a list
// length and the class-name positions a file might hold go through load_positions and save_walk.
//
// Input: byte 0 is the list length n (0 to 255); byte 1 % 16 is how many positions follow, five
// bytes each (a mode byte and a little-endian 32-bit value); the rest is the text of the count
// key: a byte below 0xF0 is that character, and 0xF0 or above takes the next two bytes as one
// UTF-16 unit, so that digits and blanks cost one byte each while every unit stays reachable.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/decimal.h"
#include "settings/save_walk.h"

namespace {

using lorvane::settings::SaveStep;

void check(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", rule);
  std::abort();
}

std::int32_t clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The number the text stands for, worked out from its digits as text rather than by
// accumulating: leading zeros dropped, more than ten digits is beyond the range at once.
std::optional<std::int32_t> reference_decimal(const std::wstring& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  std::string digits;
  while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
    digits.push_back(static_cast<char>(text[i++]));
  }
  if (digits.empty()) return std::nullopt;
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
  if (digits.size() > 10) {
    return negative ? std::numeric_limits<std::int32_t>::min()
                    : std::numeric_limits<std::int32_t>::max();
  }
  std::int64_t magnitude = std::stoll(digits);
  return clamp32(negative ? -magnitude : magnitude);
}

bool contains(const std::vector<std::int32_t>& v, std::int32_t k) {
  return std::find(v.begin(), v.end(), k) != v.end();
}

void check_load(std::int32_t count, const std::vector<std::int32_t>& present) {
  std::vector<std::int32_t> read = lorvane::settings::load_positions(count, present);
  std::int32_t last = std::max<std::int32_t>(count, 0);
  check(std::is_sorted(read.begin(), read.end()) &&
            std::adjacent_find(read.begin(), read.end()) == read.end(),
        "load reads each position once, in increasing order");
  for (std::int32_t k : read) {
    check(k >= 0 && k <= last, "load reads only positions 0 to the count");
    check(contains(present, k), "load reads only keys the file holds");
  }
  for (std::int32_t k : present) {
    if (k >= 0 && k <= last) check(contains(read, k), "load reads every key up to the count");
  }
}

void check_save(std::int32_t stored, std::int32_t n, const std::vector<std::int32_t>& present) {
  std::vector<SaveStep> steps = lorvane::settings::save_walk(stored, n, present);
  auto count = static_cast<std::size_t>(n);
  check(steps.size() > count, "save writes positions 0 to n");
  check(steps.size() <= count + 1 + present.size(), "save walks no longer than the file");
  for (std::size_t i = 0; i < count; ++i) {
    check(steps[i].kind == SaveStep::Kind::write_entry &&
              steps[i].position == static_cast<std::int32_t>(i),
          "save writes the entries at 0 to n - 1 in order");
  }
  check(steps[count].kind == SaveStep::Kind::write_empty && steps[count].position == n,
        "save writes the empty value at n");
  std::int32_t last = stored != 0 ? std::max(stored, n) : n;
  std::vector<std::int32_t> removed;
  for (std::size_t i = count + 1; i < steps.size(); ++i) {
    check(steps[i].kind == SaveStep::Kind::remove, "save only removes after n");
    std::int32_t k = steps[i].position;
    check(k > n && k <= last, "save removes only stale positions up to the stored count");
    check(removed.empty() || k > removed.back(), "save removes in increasing order, once each");
    check(contains(present, k), "save removes only keys the file holds");
    removed.push_back(k);
  }
  for (std::int32_t k : present) {
    if (k > n && k <= last) check(contains(removed, k), "save removes every stale key");
  }
}

std::uint32_t read_le32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::int32_t n = data[0];
  std::size_t wanted = data[1] % 16;
  std::size_t at = 2;
  struct Raw {
    std::uint8_t mode;
    std::uint32_t value;
  };
  std::vector<Raw> raw;
  for (; raw.size() < wanted && at + 5 <= size; at += 5) {
    raw.push_back({data[at], read_le32(data + at + 1)});
  }
  std::wstring text;
  while (at < size) {
    if (data[at] < 0xF0) {
      text.push_back(static_cast<wchar_t>(data[at++]));
    } else if (at + 3 <= size) {
      text.push_back(static_cast<wchar_t>(data[at + 1] | data[at + 2] << 8));
      at += 3;
    } else {
      break;
    }
  }

  std::optional<std::int32_t> parsed = lorvane::platform::parse_decimal(text);
  check(parsed == reference_decimal(text), "platform::parse_decimal reads the digits as written");
  const std::int32_t count = parsed.value_or(0);

  // A position is taken as it is, or near the count or the list length, where the walks turn.
  std::vector<std::int32_t> present;
  for (const Raw& r : raw) {
    auto offset = static_cast<std::int8_t>(r.value & 0xFF);
    switch (r.mode % 3) {
      case 0: present.push_back(static_cast<std::int32_t>(r.value)); break;
      case 1: present.push_back(clamp32(std::int64_t{count} + offset)); break;
      case 2: present.push_back(clamp32(std::int64_t{n} + offset)); break;
    }
  }

  check_load(count, present);
  check_save(count, n, present);
  return 0;
}
