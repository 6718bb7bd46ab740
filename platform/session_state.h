#pragma once
// Whether anyone can see the desktop: the session locked or disconnected (terminal services'
// session notifications), the display off (power setting notifications). The system tells a
// window of each change; the window hands the message to change_of.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace lorvane::platform {

enum class SessionChange {
  none,  // not such a message, or not a change this program follows
  locked,
  unlocked,
  disconnected,
  connected,
  display_off,
  display_on,  // on, or dimmed: someone may still be looking
};

namespace session_state {

// The change a WM_WTSSESSION_CHANGE or WM_POWERBROADCAST tells of.
SessionChange change_of(UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace session_state

// The window's registrations for both kinds of notification, ended when the owner goes. The
// session functions live in wtsapi32, which the program does not import: it is loaded from the
// system folder and its functions looked up. The display's state is GUID_CONSOLE_DISPLAY_STATE
// from Windows 8 on, GUID_MONITOR_POWER_ON on Windows 7. Registering sends the display's
// present state at once.
class SessionNotifications {
 public:
  explicit SessionNotifications(HWND window);
  ~SessionNotifications();
  SessionNotifications(const SessionNotifications&) = delete;
  SessionNotifications& operator=(const SessionNotifications&) = delete;

  bool session_registered() const { return session_registered_; }
  bool display_registered() const { return display_ != nullptr; }

 private:
  struct ModuleFreer {
    void operator()(HMODULE module) const noexcept { ::FreeLibrary(module); }
  };
  struct PowerNotifyCloser {
    void operator()(HPOWERNOTIFY notify) const noexcept {
      ::UnregisterPowerSettingNotification(notify);
    }
  };
  HWND window_;
  // Unloaded after the session registration has ended, which needs its functions.
  std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer> wtsapi_;
  bool session_registered_ = false;
  std::unique_ptr<void, PowerNotifyCloser> display_;
};

}  // namespace lorvane::platform
