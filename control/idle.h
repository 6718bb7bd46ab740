#pragma once
// Whether the user counts as idle, from two readings of the 32-bit millisecond tick counter.
#include <cstdint>

namespace lorvane::control {

// The counter wraps after about 49.7 days and turns negative, read as signed, after 24.9 days:
// the difference is formed modulo 2^32 and read as signed, so both points pass unnoticed, and an
// input that came after the tick count was taken gives a small negative time (active).
inline std::int32_t idle_time(std::uint32_t now, std::uint32_t last_input) {
  return static_cast<std::int32_t>(now - last_input);
}

// Idle only strictly beyond the threshold: exactly the threshold still counts as active.
inline bool is_idle(std::uint32_t now, std::uint32_t last_input, std::int32_t threshold) {
  return idle_time(now, last_input) > threshold;
}

}  // namespace lorvane::control
