#pragma once
// Raw input from the mouse and the keyboard, delivered to a window of this program whichever
// window is in front (RIDEV_INPUTSINK): how the control cycle hears the user without polling.
#include <windows.h>

namespace lorvane::platform {

// Which devices' raw input reaches the window.
enum class RawDevices { none, mouse, mouse_and_keyboard };

// What one WM_INPUT reports.
struct RawInputEvent {
  bool mouse = false;
  bool keyboard = false;
  bool button_down = false;  // a mouse button went down
  bool button_up = false;    // a mouse button came up
};

namespace raw_input {

// The input behind a WM_INPUT's lParam; nothing set when the system no longer has it.
RawInputEvent read(LPARAM lparam);

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
