#include "platform/raw_input.h"

namespace lorvane::platform {
namespace {

constexpr USHORT generic_desktop = 1;
constexpr USHORT usage_mouse = 2;
constexpr USHORT usage_keyboard = 6;
constexpr USHORT any_button_down = RI_MOUSE_BUTTON_1_DOWN | RI_MOUSE_BUTTON_2_DOWN |
                                   RI_MOUSE_BUTTON_3_DOWN | RI_MOUSE_BUTTON_4_DOWN |
                                   RI_MOUSE_BUTTON_5_DOWN;
constexpr USHORT any_button_up = RI_MOUSE_BUTTON_1_UP | RI_MOUSE_BUTTON_2_UP |
                                 RI_MOUSE_BUTTON_3_UP | RI_MOUSE_BUTTON_4_UP | RI_MOUSE_BUTTON_5_UP;

bool has_mouse(RawDevices d) { return d != RawDevices::none; }
bool has_keyboard(RawDevices d) { return d == RawDevices::mouse_and_keyboard; }

RAWINPUTDEVICE device(USHORT usage, bool wanted, HWND window) {
  // A removal names no window: the system refuses RIDEV_REMOVE with a target.
  return wanted ? RAWINPUTDEVICE{generic_desktop, usage, RIDEV_INPUTSINK, window}
                : RAWINPUTDEVICE{generic_desktop, usage, RIDEV_REMOVE, nullptr};
}

bool apply(const RAWINPUTDEVICE& d) { return ::RegisterRawInputDevices(&d, 1, sizeof d) != FALSE; }

}  // namespace

namespace raw_input {

RawInputEvent read(LPARAM lparam) {
  RawInputEvent event;
  RAWINPUT input{};
  UINT size = sizeof input;
  if (::GetRawInputData(reinterpret_cast<HRAWINPUT>(lparam), RID_INPUT, &input, &size,
                        sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1)) {
    return event;
  }
  if (input.header.dwType == RIM_TYPEMOUSE) {
    event.mouse = true;
    event.button_down = (input.data.mouse.usButtonFlags & any_button_down) != 0;
    event.button_up = (input.data.mouse.usButtonFlags & any_button_up) != 0;
  } else if (input.header.dwType == RIM_TYPEKEYBOARD) {
    event.keyboard = true;
  }
  return event;
}

Registered registered() {
  Registered result;
  RAWINPUTDEVICE devices[8];
  UINT count = 8;
  UINT got = ::GetRegisteredRawInputDevices(devices, &count, sizeof devices[0]);
  if (got == static_cast<UINT>(-1)) {
    result.count = count;  // more than fit: the number needed
    return result;
  }
  result.count = got;
  for (UINT i = 0; i < got; ++i) {
    const RAWINPUTDEVICE& d = devices[i];
    if (d.usUsagePage != generic_desktop) continue;
    bool sink = (d.dwFlags & RIDEV_INPUTSINK) != 0;
    if (d.usUsage == usage_mouse) {
      result.mouse = d.hwndTarget;
      result.mouse_sink = sink;
    } else if (d.usUsage == usage_keyboard) {
      result.keyboard = d.hwndTarget;
      result.keyboard_sink = sink;
    }
  }
  return result;
}

}  // namespace raw_input

void RawInputRegistration::set(RawDevices devices) {
  bool mouse = has_mouse(devices);
  bool keyboard = has_keyboard(devices);
  if (mouse != mouse_ && apply(device(usage_mouse, mouse, window_))) mouse_ = mouse;
  if (keyboard != keyboard_ && apply(device(usage_keyboard, keyboard, window_)))
    keyboard_ = keyboard;
}

}  // namespace lorvane::platform
