#include "platform/session_state.h"

#include <cstring>
#include <string>

#include "platform/late_bound.h"

namespace lorvane::platform {
namespace {

// The values of the SDK's headers, spelled out so that nothing has to define the GUIDs.
constexpr GUID console_display_state = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID session_display_status = {
    0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};
constexpr GUID monitor_power_on = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
constexpr UINT session_changed = 0x02B1;  // WM_WTSSESSION_CHANGE
constexpr WPARAM console_connect = 0x1, console_disconnect = 0x2, remote_connect = 0x3,
                 remote_disconnect = 0x4, session_lock = 0x7, session_unlock = 0x8;
constexpr DWORD notify_for_this_session = 0;
// The session's record of WTSQuerySessionInformationW: WTSSessionInfoEx, its level 1, and where
// the lock flag lies in it (after the level, padded for the record's 64-bit members, the session
// id and its connection state). Pinned here: the MinGW headers lack the record.
constexpr int session_info_ex = 25;
constexpr DWORD current_session = static_cast<DWORD>(-1);
constexpr DWORD info_level_1 = 1;
constexpr std::size_t session_flags_at = 16;

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
using QuerySession = BOOL(WINAPI*)(HANDLE, DWORD, int, LPWSTR*, DWORD*);
using FreeMemory = void(WINAPI*)(void*);

// Loaded by SessionNotifications for as long as control runs, which is when anything asks.
HMODULE loaded_wtsapi() { return ::GetModuleHandleW(L"wtsapi32.dll"); }

// The session's own record, where the system answers with one.
std::optional<bool> locked_by_record() {
  auto query = look_up<QuerySession>(loaded_wtsapi(), "WTSQuerySessionInformationW");
  auto free_memory = look_up<FreeMemory>(loaded_wtsapi(), "WTSFreeMemory");
  if (query == nullptr || free_memory == nullptr) return std::nullopt;
  LPWSTR buffer = nullptr;
  DWORD bytes = 0;
  if (!query(nullptr, current_session, session_info_ex, &buffer, &bytes) || buffer == nullptr) {
    return std::nullopt;
  }
  std::optional<bool> answer;
  DWORD level = 0;
  LONG flags = 0;
  if (bytes >= session_flags_at + sizeof flags) {
    const auto* record = reinterpret_cast<const BYTE*>(buffer);
    std::memcpy(&level, record, sizeof level);
    std::memcpy(&flags, record + session_flags_at, sizeof flags);
    if (level == info_level_1)
      answer = session_state::locked_by_flags(flags, !windows_8_or_later());
  }
  free_memory(buffer);
  return answer;
}

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
  if (!same(setting->PowerSetting, session_display_status) &&
      !same(setting->PowerSetting, console_display_state) &&
      !same(setting->PowerSetting, monitor_power_on)) {
    return SessionChange::none;
  }
  if (setting->DataLength < sizeof(DWORD)) return SessionChange::none;
  DWORD state;
  std::memcpy(&state, setting->Data, sizeof state);
  // 0 off, 1 on, and for the console's and the session's display 2 dimmed.
  return state == 0 ? SessionChange::display_off : SessionChange::display_on;
}

bool register_session(HWND window) {
  auto call = look_up<RegisterSession>(loaded_wtsapi(), "WTSRegisterSessionNotification");
  return call != nullptr && call(window, notify_for_this_session) != FALSE;
}

bool remote_session() { return ::GetSystemMetrics(SM_REMOTESESSION) != 0; }

bool session_display_known() { return windows_8_or_later(); }

std::optional<bool> locked_by_flags(LONG flags, bool windows_7) {
  if (flags != 0 && flags != 1) return std::nullopt;  // WTS_SESSIONSTATE_UNKNOWN
  return (flags == 0) != windows_7;
}

std::optional<bool> locked() {
  if (std::optional<bool> answer = locked_by_record()) return answer;
  // The secure desktop of the lock screen is closed to the session's programs.
  HDESK input = ::OpenInputDesktop(0, FALSE, DESKTOP_SWITCHDESKTOP);
  if (input != nullptr) {
    ::CloseDesktop(input);
    return false;
  }
  if (::GetLastError() == ERROR_ACCESS_DENIED) return true;
  return std::nullopt;
}

}  // namespace session_state

SessionNotifications::SessionNotifications(HWND window, const SessionSystem& system)
    : window_(window), system_(system) {
  wtsapi_.reset(load_wtsapi());
  session_registered_ = system_.register_session(window);
  // Where the session's own display state cannot be registered, the console's stands in.
  if (system_.session_display_known()) {
    display_.reset(::RegisterPowerSettingNotification(window, &session_display_status,
                                                      DEVICE_NOTIFY_WINDOW_HANDLE));
    display_is_console_ = display_ == nullptr;
  }
  if (display_ == nullptr) {
    const GUID& console = windows_8_or_later() ? console_display_state : monitor_power_on;
    display_.reset(
        ::RegisterPowerSettingNotification(window, &console, DEVICE_NOTIFY_WINDOW_HANDLE));
  }
}

bool SessionNotifications::retry_session() {
  if (session_registered_) return false;
  session_registered_ = system_.register_session(window_);
  return session_registered_;
}

SessionNotifications::~SessionNotifications() {
  if (session_registered_) {
    auto unregister_session =
        look_up<UnregisterSession>(wtsapi_.get(), "WTSUnRegisterSessionNotification");
    if (unregister_session != nullptr) unregister_session(window_);
  }
}

}  // namespace lorvane::platform
