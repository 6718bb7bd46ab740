#include "platform/one_shot_timer.h"

namespace lorvane::platform {

double timer_clock_period_ms() {
  DWORD adjustment = 0;
  DWORD increment = 0;  // in 100 ns
  BOOL disabled = FALSE;
  if (!::GetSystemTimeAdjustment(&adjustment, &increment, &disabled)) return 0;
  return increment / 10000.0;
}

void OneShotTimer::arm(UINT delay_ms) { armed_ = ::SetTimer(window_, id_, delay_ms, nullptr) != 0; }

void OneShotTimer::disarm() {
  if (!armed_) return;
  ::KillTimer(window_, id_);
  armed_ = false;
}

bool OneShotTimer::fired() {
  if (!armed_) return false;
  disarm();
  return true;
}

}  // namespace lorvane::platform
