#pragma once
// Whether anyone can see the desktop: the session locked or disconnected (terminal services'
// session notifications), the display off (power setting notifications). The system tells a
// window of each change; the window hands the message to change_of.
#include <windows.h>

#include <functional>
#include <optional>

#include "platform/unique_handles.h"

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

// WTSRegisterSessionNotification for the window, from wtsapi32 as the process has loaded it:
// true when it holds. Early at logon it fails (RPC_S_INVALID_BINDING) until the session's
// services run.
bool register_session(HWND window);
// Whether this is a Remote Desktop session (SM_REMOTESESSION).
bool remote_session();
// Windows 8 and later tell each session of its own display (GUID_SESSION_DISPLAY_STATUS); 7 tells
// only of the console's.
bool session_display_known();
// Whether the session is locked: the session's own record (WTSSessionInfoEx) where wtsapi32 is
// loaded and answers, else whether the input desktop may be opened; none when neither can tell.
std::optional<bool> locked();
// The lock flag of the session's record: WTS_SESSIONSTATE_LOCK (0) or _UNLOCK (1), which
// Windows 7 reports the other way round.
std::optional<bool> locked_by_flags(LONG flags, bool windows_7);

}  // namespace session_state

// What the session notifications cannot say, asked of the system. A seam that tests replace:
// Wine has no remote sessions and no lock screen, and its registration never fails.
struct SessionSystem {
  std::function<bool(HWND)> register_session = session_state::register_session;
  std::function<bool()> remote_session = session_state::remote_session;
  std::function<bool()> session_display_known = session_state::session_display_known;
  std::function<std::optional<bool>()> locked = session_state::locked;
};

// The window's registrations for both kinds of notification, ended when the owner goes. The
// session functions live in wtsapi32, which the program does not import: it is loaded from the
// system folder and its functions looked up. The display's state is the session's own
// (GUID_SESSION_DISPLAY_STATUS) from Windows 8 on, GUID_MONITOR_POWER_ON on Windows 7, which
// describes the console's monitor. Registering sends the display's present state at once.
class SessionNotifications {
 public:
  SessionNotifications(HWND window, const SessionSystem& system);
  ~SessionNotifications();
  SessionNotifications(const SessionNotifications&) = delete;
  SessionNotifications& operator=(const SessionNotifications&) = delete;

  // The display state heard is the physical console's, which reads off for the whole of a remote
  // session and on a machine without a monitor.
  bool display_is_console() const { return display_is_console_; }
  // A registration that failed is tried again: true when it holds from now on.
  bool retry_session();

 private:
  HWND window_;
  const SessionSystem& system_;
  bool display_is_console_ = true;
  // Unloaded after the session registration has ended, which needs its functions.
  UniqueModule wtsapi_;
  bool session_registered_ = false;
  UniquePowerNotify display_;
};

}  // namespace lorvane::platform
