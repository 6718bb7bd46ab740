#pragma once
// The hold on raw input. While the registered window in front is watched, pointer moves stream in
// by the hundred each second and only buttons matter: after one input, the rest waits in the queue
// and is read in one go once the hold's time is up, for as long as input keeps coming. The message
// loop asks the hold how long it may wait without taking raw input, and tells it when that wait is
// over; the watch says when to hold and when to let go.
#include <windows.h>

#include <functional>
#include <optional>

#include "platform/raw_input.h"

namespace lorvane::control {

// How long raw input waits in the queue. The first hold after input began is short: a click that
// follows a single pointer move at once waits no more than one clock tick of Windows (15.6 ms;
// a wait's timeout is rounded up to it there). While input keeps coming, each hold is long; on
// Windows it lasts at most about 94 ms, so a click within a stream of moves is still answered
// within about 100 ms.
inline constexpr UINT first_raw_input_hold_ms = 15;
inline constexpr UINT raw_input_hold_ms = 80;

class RawInputHold {
 public:
  // Where what the hold kept goes once it is read.
  using Reader = std::function<void(const platform::RawInputEvent&)>;
  // How it is read: all the raw input waiting in this thread's queue, in one go, taken out of the
  // queue (the system's buffered read, unless a test stands in for the queue).
  using Drain = std::function<platform::RawInputEvent()>;

  explicit RawInputHold(Reader reader, UINT first_ms = first_raw_input_hold_ms,
                        UINT streaming_ms = raw_input_hold_ms,
                        Drain drain = platform::raw_input::drain)
      : reader_(std::move(reader)),
        drain_(std::move(drain)),
        first_ms_(first_ms),
        streaming_ms_(streaming_ms) {}
  RawInputHold(const RawInputHold&) = delete;
  RawInputHold& operator=(const RawInputHold&) = delete;

  // A WM_INPUT while clicks are watched. The buttons of a click follow its pointer move by a
  // moment: unless a hold keeps it waiting, whatever came with it is read now, and is gone from
  // the system's buffer.
  platform::RawInputEvent with_what_came(platform::RawInputEvent first);
  // Input keeps coming: what comes next waits in the queue until the hold's time is up.
  void hold() { holding_ = !wait_failed_; }
  // Clicks are no longer watched: nothing waits any more.
  void release();
  bool holding() const { return holding_; }

  // For the message loop: how long it may wait, at the tick count now, leaving raw input in the
  // queue; none while nothing is held. The hold's time runs from the first ask; 0 once it is up.
  // It is the short first hold unless the last hold found input.
  std::optional<DWORD> wait_left(DWORD now);
  // For the message loop: the hold is over, its time up or its wait woken for nothing. What it
  // kept is read in one go and goes to the reader; with nothing kept, the hold ends, otherwise the
  // next one runs from the next ask.
  void take();
  // For the message loop: the wait itself failed, and would fail again. What the hold kept is
  // read, and from then on nothing is held: raw input comes a message at a time.
  void wait_failed();

 private:
  Reader reader_;
  Drain drain_;
  UINT first_ms_;
  UINT streaming_ms_;
  bool holding_ = false;
  // The last hold found input waiting: it keeps coming.
  bool streaming_ = false;
  bool wait_failed_ = false;
  // The tick count at which the hold ends, from the first time the loop asked.
  std::optional<DWORD> ends_;
};

}  // namespace lorvane::control
