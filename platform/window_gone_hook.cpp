#include "platform/window_gone_hook.h"

namespace lorvane::platform {
namespace {

// The callback has no context pointer: this is the hook it serves.
WindowGoneHook* live_hook = nullptr;

void CALLBACK on_win_event(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                           DWORD) noexcept {
  if (live_hook != nullptr) live_hook->on_event(window, object, child);
}

UniqueWinEventHook hook(DWORD first, DWORD last, DWORD process) {
  return UniqueWinEventHook(
      ::SetWinEventHook(first, last, nullptr, &on_win_event, process, 0, WINEVENT_OUTOFCONTEXT));
}

}  // namespace

WindowGoneHook::WindowGoneHook(HWND main, UINT message, HWND window)
    : main_(main), message_(message), window_(window) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  // A window already gone has no process: nothing is hooked, and the tick finds it gone.
  if (process == 0) return;
  live_hook = this;
  // EVENT_OBJECT_DESTROY and EVENT_OBJECT_HIDE lie either side of EVENT_OBJECT_SHOW, which is not
  // wanted: a hook for each.
  hidden_ = hook(EVENT_OBJECT_HIDE, EVENT_OBJECT_HIDE, process);
  minimised_ = hook(EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZESTART, process);
  destroyed_ = hook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_DESTROY, process);
}

WindowGoneHook::~WindowGoneHook() {
  // Unhooked first: no event reaches a hook that is going.
  hidden_.reset();
  minimised_.reset();
  destroyed_.reset();
  if (live_hook == this) live_hook = nullptr;
}

void WindowGoneHook::on_event(HWND window, LONG object, LONG child) {
  // Only the window itself: not its controls, its caret or its menus.
  if (window != window_ || object != OBJID_WINDOW || child != CHILDID_SELF) return;
  ::PostMessageW(main_, message_, 0, 0);
}

}  // namespace lorvane::platform
