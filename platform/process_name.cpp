#include "platform/process_name.h"

#include "platform/unique_handles.h"

namespace lorvane::platform::process_name {

std::wstring image_path_of(HWND window) {
  DWORD process_id = 0;
  if (::GetWindowThreadProcessId(window, &process_id) == 0 || process_id == 0) return {};
  // The limited right is the one a process of higher integrity (an elevated program) still grants.
  UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
  if (!process) return {};
  // Long paths run past MAX_PATH; the function reports the size it filled.
  std::wstring path(32768, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) return {};
  path.resize(size);
  return path;
}

std::wstring file_name_of(std::wstring_view path) {
  std::size_t slash = path.find_last_of(L"\\/");
  return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

std::wstring program_of(HWND window) { return file_name_of(image_path_of(window)); }

}  // namespace lorvane::platform::process_name
