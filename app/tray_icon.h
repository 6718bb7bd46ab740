#pragma once
// The main window's notification-area icon: added at the start, asked for again while the shell
// refuses it (a slow logon), added anew when a new taskbar appears, and deleted at the close. While
// the shell holds it, a minimised main window lives there; while it does not, the taskbar is the
// window's way back.
#include <windows.h>

#include "platform/controls.h"
#include "platform/input_clock.h"
#include "platform/tray.h"

namespace lorvane::app {

// While the shell refuses the icon (it is still starting at a slow logon), it is asked again at
// this interval for this long; until then a minimised main window stays on the taskbar.
inline constexpr UINT tray_retry_interval_ms = 2000;
inline constexpr DWORD tray_retry_period_ms = 2 * 60 * 1000;

// The icon's events arrive as the main window's own mouse-move message, the mouse message that
// happened over the icon standing where the x coordinate would be: its low 16 bits of lParam.
constexpr unsigned tray_event_code(LPARAM lparam) {
  return static_cast<unsigned>(static_cast<unsigned long>(lparam) & 0xFFFFu);
}

// Releasing the left or the right button over the icon brings the window back; nothing else does.
constexpr bool is_tray_restore(unsigned code) {
  return code == WM_LBUTTONUP || code == WM_RBUTTONUP;
}

class TrayIcon {
 public:
  // The icon of the window, shared by the process; the timer with this id asks again.
  TrayIcon(HWND window, HICON icon, platform::tray::Shell shell, const platform::InputClock& clock,
           UINT_PTR retry_timer_id);
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  // The icon must not outlive the window: one not deleted yet goes here.
  ~TrayIcon();

  // Adds the icon, at the start and whenever a new taskbar appears; a refused one is asked for
  // again until the retry period is over, unless the window is closing.
  void add();
  // The retry timer's WM_TIMER.
  void on_timer();
  // The window is closing: a refused add is no longer asked for again.
  void closing() { closing_ = true; }
  // Deletes the icon and stops asking for it.
  void remove();

  // Whether a registered message is the shell's news of a new taskbar.
  bool is_taskbar_created(UINT message) const {
    return taskbar_created_ != 0 && message == taskbar_created_;
  }
  // Whether the shell holds the icon.
  bool present() const { return present_; }
  // Whether the shell is still being asked again for the icon it refused.
  bool asking() const { return retry_timer_.enabled(); }

 private:
  void arrived();

  HWND window_;
  HICON icon_;
  platform::tray::Shell shell_;
  const platform::InputClock& clock_;
  platform::Timer retry_timer_;
  UINT taskbar_created_ = 0;
  DWORD retries_since_ = 0;
  bool present_ = false;
  bool closing_ = false;
  bool removed_ = false;
};

}  // namespace lorvane::app
