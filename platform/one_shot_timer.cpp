#include "platform/one_shot_timer.h"

namespace lorvane::platform {
namespace {

using SetCoalescable = UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC, ULONG);

SetCoalescable look_up_set_coalescable() {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<SetCoalescable>(
      reinterpret_cast<void (*)()>(::GetProcAddress(user32, "SetCoalescableTimer")));
}

// Looked up as the program starts, as a plain constant: a function-local static would bring the
// C++ runtime's thread-safe guard, and with it a threads library, into the exe.
const SetCoalescable set_coalescable = look_up_set_coalescable();

}  // namespace

bool OneShotTimer::coalescable() { return set_coalescable != nullptr; }

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
