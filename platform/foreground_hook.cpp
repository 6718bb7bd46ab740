#include "platform/foreground_hook.h"

namespace lorvane::platform {
namespace {

// The callback has no context pointer: this is the hook it serves.
ForegroundHook* live_hook = nullptr;

void CALLBACK on_win_event(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD) noexcept {
  if (live_hook != nullptr) live_hook->on_event(event);
}

UniqueWinEventHook hook(DWORD event) {
  return UniqueWinEventHook(
      ::SetWinEventHook(event, event, nullptr, &on_win_event, 0, 0, WINEVENT_OUTOFCONTEXT));
}

}  // namespace

ForegroundHook::ForegroundHook(HWND window, UINT message)
    : window_(window), message_(message), last_seen_(::GetForegroundWindow()) {
  live_hook = this;
  foreground_ = hook(EVENT_SYSTEM_FOREGROUND);
  focus_ = hook(EVENT_OBJECT_FOCUS);
}

ForegroundHook::~ForegroundHook() {
  // Unhooked first: no event reaches a hook that is going.
  foreground_.reset();
  focus_.reset();
  if (live_hook == this) live_hook = nullptr;
}

void ForegroundHook::on_event(DWORD event) {
  // This system raises the foreground event: the focus events are noise from here on.
  if (event == EVENT_SYSTEM_FOREGROUND) focus_.reset();
  HWND foreground = ::GetForegroundWindow();
  if (foreground == last_seen_) return;
  last_seen_ = foreground;
  ::PostMessageW(window_, message_, 0, 0);
}

}  // namespace lorvane::platform
