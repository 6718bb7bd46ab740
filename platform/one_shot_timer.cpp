#include "platform/one_shot_timer.h"

#include "platform/late_bound.h"

namespace lorvane::platform {
namespace {

using SetCoalescable = UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC, ULONG);

// Looked up as the program starts, before any thread: built without the guard of function-local
// statics (-fno-threadsafe-statics), a lookup at first use would be safe on one thread only.
const SetCoalescable set_coalescable =
    look_up<SetCoalescable>(L"user32.dll", "SetCoalescableTimer");

}  // namespace

double timer_clock_period_ms() {
  DWORD adjustment = 0;
  DWORD increment = 0;  // in 100 ns
  BOOL disabled = FALSE;
  if (!::GetSystemTimeAdjustment(&adjustment, &increment, &disabled)) return 0;
  return increment / 10000.0;
}

void OneShotTimer::arm(UINT delay_ms, ULONG tolerance_ms) {
  UINT_PTR set = set_coalescable != nullptr
                     ? set_coalescable(window_, id_, delay_ms, nullptr, tolerance_ms)
                     : ::SetTimer(window_, id_, delay_ms, nullptr);
  armed_ = set != 0;
}

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
