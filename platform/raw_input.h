#pragma once
// Raw input from the mouse and the keyboard, delivered to a window of this program whichever
// window is in front (RIDEV_INPUTSINK): how the control cycle hears the user without polling.
#include <windows.h>

#include <cstddef>

namespace lorvane::platform {

// Which devices' raw input reaches the window.
enum class RawDevices { none, mouse, mouse_and_keyboard };

// What one WM_INPUT reports, or several together.
struct RawInputEvent {
  bool mouse = false;
  bool keyboard = false;
  bool button_down = false;  // a mouse button went down
  bool button_up = false;    // a mouse button came up

  bool any() const { return mouse || keyboard; }
  RawInputEvent& operator|=(const RawInputEvent& other) {
    mouse = mouse || other.mouse;
    keyboard = keyboard || other.keyboard;
    button_down = button_down || other.button_down;
    button_up = button_up || other.button_up;
    return *this;
  }
};

namespace raw_input {

// The input behind a WM_INPUT's lParam; nothing set when the system no longer has it.
RawInputEvent read(LPARAM lparam);

// All the raw input still waiting in this thread's queue, read in one go (GetRawInputBuffer),
// which takes its WM_INPUT messages out of the queue too. Nothing set when none waits.
RawInputEvent drain();

// How the records of a buffered read lie in the buffer: as this build's structures, or, for a
// 32-bit program on 64-bit Windows, as the 64-bit ones, whose header is 8 bytes longer and whose
// records start on 8 bytes.
enum class BufferLayout { native, wow64 };
// What the records of such a buffer report together. Only whole records inside size count.
RawInputEvent summarise(const BYTE* records, std::size_t size, UINT count, BufferLayout layout);

// What the system holds registered for this process, as GetRegisteredRawInputDevices tells it:
// for each device, the window its input goes to (null when none is registered).
struct Registered {
  HWND mouse = nullptr;
  HWND keyboard = nullptr;
  bool mouse_sink = false;  // RIDEV_INPUTSINK
  bool keyboard_sink = false;
  UINT count = 0;  // of all devices registered, of any kind
};
Registered registered();

}  // namespace raw_input

// The process's registration of the mouse and the keyboard, removed when its owner goes. One
// owner at a time: the system keeps one registration per device for the whole process.
class RawInputRegistration {
 public:
  explicit RawInputRegistration(HWND window) : window_(window) {}
  ~RawInputRegistration() { set(RawDevices::none); }
  RawInputRegistration(const RawInputRegistration&) = delete;
  RawInputRegistration& operator=(const RawInputRegistration&) = delete;

  // Registers these devices to the window and removes the others (RIDEV_REMOVE). What the
  // system refuses stays as it was.
  void set(RawDevices devices);
  // What reaches the window now. A keyboard left registered alone (its removal refused) still
  // counts: something is registered.
  RawDevices devices() const {
    return keyboard_ ? RawDevices::mouse_and_keyboard
           : mouse_  ? RawDevices::mouse
                     : RawDevices::none;
  }

 private:
  HWND window_;
  bool mouse_ = false;
  bool keyboard_ = false;
};

}  // namespace lorvane::platform
