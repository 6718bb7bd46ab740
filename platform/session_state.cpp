#include "platform/session_state.h"

#include <cstring>
#include <string>

#include "platform/late_bound.h"

namespace lorvane::platform {
namespace {

// The values of the SDK's headers, spelled out so that nothing has to define the GUIDs.
constexpr GUID console_display_state = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID monitor_power_on = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
constexpr UINT session_changed = 0x02B1;  // WM_WTSSESSION_CHANGE
constexpr WPARAM console_connect = 0x1, console_disconnect = 0x2, remote_connect = 0x3,
                 remote_disconnect = 0x4, session_lock = 0x7, session_unlock = 0x8;
constexpr DWORD notify_for_this_session = 0;

bool same(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Windows 8 is 6.2. Without a manifest entry for later systems the answer stops at 6.2, which
// is all this asks.
bool windows_8_or_later() {
  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof version;
  version.dwMajorVersion = 6;
  version.dwMinorVersion = 2;
  DWORDLONG condition = ::VerSetConditionMask(0, VER_MAJORVERSION, VER_GREATER_EQUAL);
  condition = ::VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
  return ::VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION, condition) != FALSE;
}

using RegisterSession = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterSession = BOOL(WINAPI*)(HWND);

HMODULE load_wtsapi() {
  wchar_t folder[MAX_PATH];
  UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  // By its full path: never a copy that lies beside the exe.
  std::wstring path = std::wstring(folder, length) + L"\\wtsapi32.dll";
  return ::LoadLibraryW(path.c_str());
}

}  // namespace

namespace session_state {

SessionChange change_of(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == session_changed) {
    switch (wparam) {
      case session_lock: return SessionChange::locked;
      case session_unlock: return SessionChange::unlocked;
      case console_disconnect:
      case remote_disconnect: return SessionChange::disconnected;
      case console_connect:
      case remote_connect: return SessionChange::connected;
      default: return SessionChange::none;
    }
  }
  if (message != WM_POWERBROADCAST || wparam != PBT_POWERSETTINGCHANGE || lparam == 0) {
    return SessionChange::none;
  }
  const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lparam);
  if (!same(setting->PowerSetting, console_display_state) &&
      !same(setting->PowerSetting, monitor_power_on)) {
    return SessionChange::none;
  }
  if (setting->DataLength < sizeof(DWORD)) return SessionChange::none;
  DWORD state;
  std::memcpy(&state, setting->Data, sizeof state);
  // 0 off, 1 on, and for the console display 2 dimmed.
  return state == 0 ? SessionChange::display_off : SessionChange::display_on;
}

}  // namespace session_state

SessionNotifications::SessionNotifications(HWND window) : window_(window) {
  wtsapi_.reset(load_wtsapi());
  if (wtsapi_) {
    auto register_session =
        look_up<RegisterSession>(wtsapi_.get(), "WTSRegisterSessionNotification");
    session_registered_ =
        register_session != nullptr && register_session(window, notify_for_this_session) != FALSE;
  }
  const GUID& display = windows_8_or_later() ? console_display_state : monitor_power_on;
  display_.reset(::RegisterPowerSettingNotification(window, &display, DEVICE_NOTIFY_WINDOW_HANDLE));
}

SessionNotifications::~SessionNotifications() {
  if (session_registered_) {
    auto unregister_session =
        look_up<UnregisterSession>(wtsapi_.get(), "WTSUnRegisterSessionNotification");
    if (unregister_session != nullptr) unregister_session(window_);
  }
}

}  // namespace lorvane::platform
