#include "control/raw_input_hold.h"

#include <cstdint>

namespace lorvane::control {

platform::RawInputEvent RawInputHold::with_what_came(platform::RawInputEvent first) {
  if (!holding_) first |= drain_();
  return first;
}

void RawInputHold::release() {
  holding_ = false;
  streaming_ = false;
  ends_.reset();
}

std::optional<DWORD> RawInputHold::wait_left(DWORD now) {
  if (!holding_) return std::nullopt;
  if (!ends_) ends_ = now + (streaming_ ? streaming_ms_ : first_ms_);
  auto left = static_cast<std::int32_t>(*ends_ - now);
  return left > 0 ? static_cast<DWORD>(left) : 0;
}

void RawInputHold::take() {
  if (!holding_) return;
  ends_.reset();
  holding_ = false;
  platform::RawInputEvent input = drain_();
  streaming_ = input.any();
  // The reader holds on where input keeps coming.
  if (streaming_) reader_(input);
}

void RawInputHold::wait_failed() {
  wait_failed_ = true;
  take();
  release();
}

}  // namespace lorvane::control
