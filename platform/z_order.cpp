#include "platform/z_order.h"

#include <optional>

#include "platform/unique_handles.h"

namespace lorvane::platform::z_order {
namespace {

// The process's integrity level (the last sub-authority of its mandatory label: 0x2000 medium,
// 0x3000 high, ...), or none when its token cannot be read.
std::optional<DWORD> integrity_level(HANDLE process) {
  HANDLE raw_token = nullptr;
  if (!::OpenProcessToken(process, TOKEN_QUERY, &raw_token)) return std::nullopt;
  UniqueKernelHandle token(raw_token);
  alignas(TOKEN_MANDATORY_LABEL) BYTE buffer[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  if (!::GetTokenInformation(token.get(), TokenIntegrityLevel, buffer, sizeof buffer, &size)) {
    return std::nullopt;
  }
  PSID label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
  UCHAR count = *::GetSidSubAuthorityCount(label);
  if (count == 0) return std::nullopt;
  return *::GetSidSubAuthority(label, count - 1);
}

// Whether the window's process runs above us, so that the system refuses our moves of it. A
// process whose token we may not even read (an elevated program's, a system process's) counts
// as above; one we cannot judge for any other reason is left to the move itself.
bool runs_above_us(HWND window) {
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(window, &process_id);
  if (process_id == 0 || process_id == ::GetCurrentProcessId()) return false;
  UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED;
  std::optional<DWORD> theirs = integrity_level(process.get());
  if (!theirs) return ::GetLastError() == ERROR_ACCESS_DENIED;
  std::optional<DWORD> ours = integrity_level(::GetCurrentProcess());
  return ours && *theirs > *ours;
}

}  // namespace

MoveResult set_window_pos(HWND window, HWND insert_after, UINT flags) {
  if (::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId()) {
    if (runs_above_us(window)) return {false, ERROR_ACCESS_DENIED};
    flags |= SWP_ASYNCWINDOWPOS;
  }
  if (::SetWindowPos(window, insert_after, 0, 0, 0, 0, flags)) return {true, ERROR_SUCCESS};
  return {false, ::GetLastError()};
}

}  // namespace lorvane::platform::z_order
