#pragma once
// Whether the user is busy with full-screen work that the idle raise must not cover: a film, a
// game played with a controller, a presentation. Nobody touches keyboard or mouse there.
#include <cstdint>

namespace lorvane::control {

struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// The foreground window as the decision needs it. The frame's facts (own, window, monitor) are
// left unread, at their zero values, where frame_decides says the frame cannot decide; shell is
// read there too only where shell_decides says the shell's report needs it.
struct ForegroundFacts {
  bool exists = false;
  bool shell = false;       // the desktop, the shell's window or the taskbar
  bool own = false;         // a window of this program
  bool registered = false;  // of a class in the target list: the very window the raise is for
  bool maximised = false;   // a window the user works in, with or without a title bar
  std::uint32_t style = 0;
  ScreenRect window;
  ScreenRect monitor;  // the whole monitor, not its work area
};

// The shell's QUERY_USER_NOTIFICATION_STATE values that can tell of full-screen work.
inline constexpr int shell_busy = 2;                  // QUNS_BUSY
inline constexpr int shell_direct3d_full_screen = 3;  // QUNS_RUNNING_D3D_FULL_SCREEN
inline constexpr int shell_presentation_mode = 4;     // QUNS_PRESENTATION_MODE

inline constexpr std::uint32_t title_bar_style = 0x00C00000;  // WS_CAPTION: border and dialog frame

// Whether the rectangle lies over all of the other. An empty rectangle is one that was not read,
// or not there: nothing covers it, or two unread rectangles would cover each other.
constexpr bool covers(const ScreenRect& outer, const ScreenRect& inner) {
  return inner.left < inner.right && inner.top < inner.bottom && outer.left <= inner.left &&
         outer.top <= inner.top && outer.right >= inner.right && outer.bottom >= inner.bottom;
}

// Whether the window's frame can make it full-screen work: only one without a full title bar can.
// For any other the decision needs neither its rectangle, its monitor nor whose it is, and the
// tick, which asks every second while the user is away, does not read them.
constexpr bool frame_decides(std::uint32_t style) {
  return (style & title_bar_style) != title_bar_style;
}

// Whether the decision needs to know that the window is the shell's whatever its frame: the shell
// reports a Direct3D program full screen, which the desktop or the taskbar in front belies.
constexpr bool shell_decides(int shell_state) { return shell_state == shell_direct3d_full_screen; }

// A full-screen window of another program in front; or the shell reporting presentation mode, or
// a Direct3D program full screen with neither the desktop nor the taskbar in front. A window with
// a full title bar never counts by its frame, nor a maximised one.
constexpr bool is_full_screen_work(const ForegroundFacts& fg, int shell_state) {
  // A registered player shown full screen is the wallpaper itself: the shell reports it as a
  // busy full-screen program, and holding its raise back would push it behind the desktop.
  if (fg.exists && fg.registered) return false;
  // The user asked for quiet, whatever is in front.
  if (shell_state == shell_presentation_mode) return true;
  if (shell_state == shell_direct3d_full_screen) return !(fg.exists && fg.shell);
  // Busy alone says nothing: with some overlays on (a graphics driver's), the shell reports it
  // all the time, with the desktop or any ordinary window in front. The window decides.
  // A maximised window without a title bar covers the whole monitor once the taskbar hides
  // itself; it is still an ordinary working window.
  if (!fg.exists || fg.maximised || fg.shell || fg.own) return false;
  return frame_decides(fg.style) && covers(fg.window, fg.monitor);
}

}  // namespace lorvane::control
