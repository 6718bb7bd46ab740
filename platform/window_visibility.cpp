#include "platform/window_visibility.h"

#include <string>

#include "platform/late_bound.h"

namespace lorvane::platform::window_visibility {
namespace {

using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);

// A chain of owners is short; the bound guards against a loop made by another program.
constexpr int most_owners = 32;

// DWMWA_CLOAKED: Windows 8 and later know the attribute; Windows 7's DWM refuses it.
constexpr DWORD attribute_cloaked = 14;

// dwmapi from the system folder, never a copy beside the exe, loaded on the first question: the
// raise asks only while the user is away, and a run may never get there. It stays loaded for the
// life of the process, as a library the exe imported would.
GetAttribute load_get_attribute() {
  wchar_t folder[MAX_PATH];
  UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path = std::wstring(folder, length) + L"\\dwmapi.dll";
  return look_up<GetAttribute>(::LoadLibraryW(path.c_str()), "DwmGetWindowAttribute");
}

}  // namespace

bool shown(HWND window) {
  // A top-level window's own style says both: its parent, the desktop, always shows. One question
  // where IsWindowVisible and IsIconic would ask twice (each a call into the server for another
  // program's window under Wine).
  LONG style = ::GetWindowLongW(window, GWL_STYLE);
  return (style & WS_VISIBLE) != 0 && (style & WS_MINIMIZE) == 0;
}

bool unseen(HWND window) {
  if (!shown(window)) return true;
  RECT r{};
  return !::GetWindowRect(window, &r) || ::IsRectEmpty(&r);
}

HWND root_owner(HWND window) {
  // GetAncestor's GA_ROOTOWNER follows GetParent, which names the owner of a popup only; the main
  // window of a classic framework is an overlapped window, so the owners are followed themselves.
  HWND root = window;
  for (int i = 0; i < most_owners; ++i) {
    HWND owner = ::GetWindow(root, GW_OWNER);
    if (owner == nullptr) break;
    root = owner;
  }
  return root;
}

bool owned_by(HWND window, HWND owner) {
  HWND w = window;
  for (int i = 0; i < most_owners; ++i) {
    w = ::GetWindow(w, GW_OWNER);
    if (w == nullptr) return false;
    if (w == owner) return true;
  }
  return false;
}

bool owned_tool_window(HWND window) {
  return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0 &&
         ::GetWindow(window, GW_OWNER) != nullptr;
}

bool on_screen(HWND window) {
  if (!shown(window)) return false;
  HWND owner = ::GetWindow(window, GW_OWNER);
  if (owner != nullptr && !unseen(owner)) return false;
  RECT r{};
  if (!::GetWindowRect(window, &r) || ::IsRectEmpty(&r)) return false;
  return ::MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr;
}

bool cloaked(HWND window) {
  // Looked up once. Without thread-safe statics the guard is plain, which is enough: only the
  // main window's thread asks.
  static const GetAttribute get_attribute = load_get_attribute();
  if (get_attribute == nullptr) return false;
  DWORD cloak = 0;
  if (FAILED(get_attribute(window, attribute_cloaked, &cloak, sizeof cloak))) return false;
  return cloak != 0;
}

}  // namespace lorvane::platform::window_visibility
