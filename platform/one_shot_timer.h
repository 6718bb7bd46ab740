#pragma once
// A window timer that fires once. It asks for no tolerance of its own: a click, which arms it, is
// rare, and a later tick would show the clicked window longer.
#include <windows.h>

namespace lorvane::platform {

// The period of the system's clock tick, in ms, on which window timers fire: 15.625 by default
// on Windows. 0 when the system does not say.
double timer_clock_period_ms();

class OneShotTimer {
 public:
  OneShotTimer(HWND window, UINT_PTR id) : window_(window), id_(id) {}
  ~OneShotTimer() { disarm(); }
  OneShotTimer(const OneShotTimer&) = delete;
  OneShotTimer& operator=(const OneShotTimer&) = delete;

  bool armed() const { return armed_; }
  // Fires once, at the first tick of the system's clock at or after delay_ms. Arming again
  // starts over.
  void arm(UINT delay_ms);
  void disarm();
  // For WM_TIMER of its id: whether this is the firing it was armed for. The timer is stopped,
  // so it fires no more; a message left from before a disarm is not.
  bool fired();

 private:
  HWND window_;
  UINT_PTR id_;
  bool armed_ = false;
};

}  // namespace lorvane::platform
