#include "platform/window_lookup.h"

#include <dwmapi.h>

#include <memory>
#include <type_traits>

#include "platform/late_bound.h"
#include "platform/text.h"

namespace lorvane::platform::window_lookup {

HWND find_window(const std::wstring& class_name) {
  return ::FindWindowA(text::to_ansi(class_name).c_str(), nullptr);
}

bool exists(HWND window) { return ::IsWindow(window) != FALSE; }

bool same_class_name(std::wstring_view a, std::wstring_view b) {
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::vector<HWND> windows_of_class(const std::wstring& class_name) {
  std::vector<HWND> windows;
  std::string name = text::to_ansi(class_name);
  for (HWND window = ::FindWindowExA(nullptr, nullptr, name.c_str(), nullptr); window != nullptr;
       window = ::FindWindowExA(nullptr, window, name.c_str(), nullptr)) {
    windows.push_back(window);
  }
  return windows;
}

namespace {

struct ModuleDeleter {
  void operator()(HMODULE module) const noexcept { ::FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

// Windows 8 and later cloak windows; where dwmapi or the attribute is missing (Windows 7, or the
// desktop composition off), nothing is cloaked. Asked rarely (the wizard's note), so the module
// is loaded for the question only, by its full path: never a copy beside the exe.
bool cloaked(HWND window) {
  wchar_t folder[MAX_PATH];
  UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  UniqueModule dwm(::LoadLibraryW((std::wstring(folder, length) + L"\\dwmapi.dll").c_str()));
  using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
  auto get = look_up<GetAttribute>(dwm.get(), "DwmGetWindowAttribute");
  if (get == nullptr) return false;
  DWORD value = 0;
  return SUCCEEDED(get(window, DWMWA_CLOAKED, &value, sizeof value)) && value != 0;
}

}  // namespace

bool seen_by_user(HWND window) {
  if (!::IsWindowVisible(window) || ::IsIconic(window)) return false;
  if (::GetWindow(window, GW_OWNER) != nullptr) return false;
  RECT rect;
  if (!::GetWindowRect(window, &rect) || ::IsRectEmpty(&rect)) return false;
  if (::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) == nullptr) return false;
  return !cloaked(window);
}

bool is_hung(HWND window) { return ::IsHungAppWindow(window) != FALSE; }

}  // namespace lorvane::platform::window_lookup
