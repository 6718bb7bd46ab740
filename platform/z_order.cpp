#include "platform/z_order.h"

#include <optional>

#include "platform/unique_handles.h"

namespace lorvane::platform::z_order {
namespace {

// The process's integrity level (the last sub-authority of its mandatory label: 0x2000 medium,
// 0x3000 high, ...), or none when its token cannot be read, with the reason in error.
std::optional<DWORD> integrity_level(HANDLE process, DWORD& error) {
  HANDLE raw_token = nullptr;
  if (!::OpenProcessToken(process, TOKEN_QUERY, &raw_token)) {
    error = ::GetLastError();
    return std::nullopt;
  }
  UniqueKernelHandle token(raw_token);
  alignas(TOKEN_MANDATORY_LABEL) BYTE buffer[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  if (!::GetTokenInformation(token.get(), TokenIntegrityLevel, buffer, sizeof buffer, &size)) {
    error = ::GetLastError();
    return std::nullopt;
  }
  PSID label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
  UCHAR count = *::GetSidSubAuthorityCount(label);
  if (count == 0) return std::nullopt;
  return *::GetSidSubAuthority(label, count - 1);
}

// Whether the process runs above us, so that the system refuses our moves of its windows. A
// process whose token we may not read (an elevated program's, a system process's) counts as
// above. One we may not even open is not known: a program of another user at our level, or one
// that guards its process, refuses that too, and its windows may well move.
enum Rights : int { ours_or_below, above, unknown };

Rights rights_of(DWORD process_id) {
  UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED ? unknown : ours_or_below;
  DWORD error = ERROR_SUCCESS;
  std::optional<DWORD> theirs = integrity_level(process.get(), error);
  if (!theirs) return error == ERROR_ACCESS_DENIED ? above : ours_or_below;
  std::optional<DWORD> ours = integrity_level(::GetCurrentProcess(), error);
  return ours && *theirs > *ours ? above : ours_or_below;
}

// Where the window lives: its thread, and its process when that is another program's (0 for our
// own windows, and for a window that is gone).
struct Owner {
  DWORD thread = 0;
  DWORD other_process = 0;
};

Owner owner_of(HWND window) {
  DWORD process_id = 0;
  DWORD thread_id = ::GetWindowThreadProcessId(window, &process_id);
  return {thread_id, process_id == ::GetCurrentProcessId() ? 0 : process_id};
}

MoveResult move(HWND window, HWND insert_after, UINT flags, const Owner& owner, Rights rights) {
  if (rights == above) return {false, ERROR_ACCESS_DENIED};
  if (owner.thread != ::GetCurrentThreadId()) flags |= SWP_ASYNCWINDOWPOS;
  if (::SetWindowPos(window, insert_after, 0, 0, 0, 0, flags)) {
    return {true, ERROR_SUCCESS, rights == unknown};
  }
  return {false, ::GetLastError()};
}

}  // namespace

MoveResult set_window_pos(HWND window, HWND insert_after, UINT flags) {
  Owner owner = owner_of(window);
  Rights rights = owner.other_process != 0 ? rights_of(owner.other_process) : ours_or_below;
  return move(window, insert_after, flags, owner, rights);
}

HWND next_below(HWND window) { return ::GetWindow(window, GW_HWNDNEXT); }

HWND next_above(HWND window) { return ::GetWindow(window, GW_HWNDPREV); }

bool lies_below(HWND window, HWND other) {
  for (HWND w = next_below(other); w != nullptr; w = next_below(w)) {
    if (w == window) return true;
  }
  return false;
}

bool is_topmost(HWND window) {
  return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

MoveResult RememberingMover::operator()(HWND window, HWND insert_after, UINT flags) {
  Owner owner = owner_of(window);
  if (owner.other_process == 0) return move(window, insert_after, flags, owner, ours_or_below);
  if (window != checked_window_ || owner.other_process != checked_process_) {
    checked_window_ = window;
    checked_process_ = owner.other_process;
    checked_rights_ = rights_of(owner.other_process);
  }
  return move(window, insert_after, flags, owner, static_cast<Rights>(checked_rights_));
}

}  // namespace lorvane::platform::z_order
