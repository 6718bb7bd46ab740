#include "platform/raw_input.h"

#include <cstring>

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

RawInputEvent event_of(DWORD type, USHORT button_flags) {
  RawInputEvent event;
  if (type == RIM_TYPEMOUSE) {
    event.mouse = true;
    event.button_down = (button_flags & any_button_down) != 0;
    event.button_up = (button_flags & any_button_up) != 0;
  } else if (type == RIM_TYPEKEYBOARD) {
    event.keyboard = true;
  }
  return event;
}

raw_input::BufferLayout look_up_layout() {
  BOOL wow64 = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64 ? raw_input::BufferLayout::wow64
                                                                  : raw_input::BufferLayout::native;
}

// Found as the program starts, as a plain constant: a process never changes its layout.
const raw_input::BufferLayout this_process_layout = look_up_layout();

// The header's size and the records' alignment in a buffered read.
struct Geometry {
  std::size_t header;
  std::size_t alignment;
};

Geometry geometry_of(raw_input::BufferLayout layout) {
  if (layout == raw_input::BufferLayout::wow64) return {24, 8};
  return {sizeof(RAWINPUTHEADER), sizeof(void*)};
}

// Room for a few hundred pointer moves: more waits for the next read.
constexpr std::size_t drain_buffer_size = 8192;
// The reads of one drain: input that keeps coming while we read is left for the next.
constexpr int drain_reads = 8;

}  // namespace

namespace raw_input {

RawInputEvent summarise(const BYTE* records, std::size_t size, UINT count, BufferLayout layout) {
  Geometry g = geometry_of(layout);
  // Where usButtonFlags lies in RAWMOUSE: after usFlags and its padding.
  constexpr std::size_t button_flags_at = 4;
  RawInputEvent event;
  std::size_t at = 0;
  for (UINT i = 0; i < count; ++i) {
    DWORD type = 0;
    DWORD record_size = 0;
    if (size - at < 2 * sizeof(DWORD)) break;
    std::memcpy(&type, records + at, sizeof type);
    std::memcpy(&record_size, records + at + sizeof type, sizeof record_size);
    if (record_size < g.header || record_size > size - at) break;
    USHORT button_flags = 0;
    if (type == RIM_TYPEMOUSE && record_size >= g.header + button_flags_at + sizeof button_flags) {
      std::memcpy(&button_flags, records + at + g.header + button_flags_at, sizeof button_flags);
    }
    event |= event_of(type, button_flags);
    at += (record_size + g.alignment - 1) / g.alignment * g.alignment;
    if (at >= size) break;
  }
  return event;
}

RawInputEvent drain() {
  alignas(8) BYTE buffer[drain_buffer_size];
  RawInputEvent event;
  for (int read = 0; read < drain_reads; ++read) {
    UINT size = sizeof buffer;
    UINT count =
        ::GetRawInputBuffer(reinterpret_cast<RAWINPUT*>(buffer), &size, sizeof(RAWINPUTHEADER));
    // None left, or the system would not say: what is left comes as WM_INPUT messages.
    if (count == 0 || count == static_cast<UINT>(-1)) break;
    event |= summarise(buffer, sizeof buffer, count, this_process_layout);
    // A read that left most of the buffer free took all there was.
    if (count < drain_buffer_size / 2 / sizeof(RAWINPUT)) break;
  }
  return event;
}

RawInputEvent read(LPARAM lparam) {
  RawInputEvent event;
  RAWINPUT input{};
  UINT size = sizeof input;
  if (::GetRawInputData(reinterpret_cast<HRAWINPUT>(lparam), RID_INPUT, &input, &size,
                        sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1)) {
    return event;
  }
  return event_of(input.header.dwType,
                  input.header.dwType == RIM_TYPEMOUSE ? input.data.mouse.usButtonFlags : 0);
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
