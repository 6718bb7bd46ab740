#pragma once
// Twips (1/1440 inch) and pixels at a display's actual resolution: 15 twips to the pixel at 96 dpi.
#include <cstdint>

namespace lorvane::app {

inline constexpr int twips_per_inch = 1440;

// To the nearest pixel, halves away from zero.
constexpr int twips_to_pixels(int twips, int dpi) {
  std::int64_t scaled = std::int64_t{twips} * dpi;
  std::int64_t half = twips_per_inch / 2;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / twips_per_inch
                                      : -((-scaled + half) / twips_per_inch));
}

// The fewest pixels that cover the twips: a minimum size never rounds below its value.
constexpr int twips_to_pixels_at_least(int twips, int dpi) {
  return static_cast<int>((std::int64_t{twips} * dpi + twips_per_inch - 1) / twips_per_inch);
}

constexpr int pixels_to_twips(int pixels, int dpi) {
  return static_cast<int>((std::int64_t{pixels} * twips_per_inch + dpi / 2) / dpi);
}

}  // namespace lorvane::app
