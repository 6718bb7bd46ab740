#include "platform/process_name.h"

#include "platform/unique_handles.h"

namespace lorvane::platform::process_name {

std::wstring program_of(HWND window) {
  DWORD process_id = 0;
  if (::GetWindowThreadProcessId(window, &process_id) == 0 || process_id == 0) return {};
  // The limited right is granted for processes of every integrity level, elevated ones included.
  UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  if (!process) return {};
  wchar_t path[MAX_PATH * 4];
  DWORD length = static_cast<DWORD>(sizeof path / sizeof path[0]);
  if (!::QueryFullProcessImageNameW(process.get(), 0, path, &length)) return {};
  std::wstring full(path, length);
  std::size_t slash = full.find_last_of(L"\\/");
  return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

}  // namespace lorvane::platform::process_name
