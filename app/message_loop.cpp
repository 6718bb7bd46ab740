#include "app/message_loop.h"

#include <optional>

#include "app/window_names.h"

namespace lorvane::app {
namespace {

bool dialog_navigation(MSG& msg) {
  HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
  if (root == nullptr) return false;
  wchar_t name[32] = {};
  ::GetClassNameW(root, name, 32);
  if (::lstrcmpW(name, main_window_class) != 0 && ::lstrcmpW(name, about_box_class) != 0) {
    return false;
  }
  return ::IsDialogMessageW(root, &msg) != FALSE;
}

// What woke the wait and lies in neither range of the peeks is taken as it comes, by the peeks
// themselves: a sent message or a WinEvent is handled inside them. So it cannot wake the wait
// again and again; should the wait still wake twice in a row with nothing to take, the hold ends
// rather than spin.
// No message lies above 0xFFFF; a range that reached further would take WM_INPUT under Wine,
// which also tries a mouse message's code as its non-client one.
bool take_but_raw_input(MSG& msg) {
  return ::PeekMessageW(&msg, nullptr, 0, WM_INPUT - 1, PM_REMOVE) ||
         ::PeekMessageW(&msg, nullptr, WM_INPUT + 1, 0xFFFF, PM_REMOVE);
}

}  // namespace

HeldNext next_while_held(MSG& msg, control::RawInputHold& hold, const WaitReturned& returned) {
  bool woke_empty = false;
  for (;;) {
    std::optional<DWORD> left = hold.wait_left(::GetTickCount());
    if (left.value_or(0) == 0) return HeldNext::over;
    // The wait comes first: it returns at once for what is already in the queue, seen or not.
    DWORD woke =
        ::MsgWaitForMultipleObjectsEx(0, nullptr, *left, held_wake_mask, MWMO_INPUTAVAILABLE);
    if (returned) returned();
    if (woke == WAIT_TIMEOUT) return HeldNext::over;
    if (woke == WAIT_FAILED) return HeldNext::failed;
    if (take_but_raw_input(msg)) return msg.message == WM_QUIT ? HeldNext::quit : HeldNext::message;
    if (woke_empty) return HeldNext::over;
    woke_empty = true;
  }
}

int run_message_loop(control::RawInputHold* hold, const WaitReturned& returned) {
  MSG msg{};
  for (;;) {
    if (hold == nullptr || !hold->wait_left(::GetTickCount())) {
      BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
      if (returned) returned();
      if (got <= 0) break;
    } else {
      HeldNext next = next_while_held(msg, *hold, returned);
      if (next == HeldNext::quit) break;
      if (next == HeldNext::failed) hold->wait_failed();
      if (next == HeldNext::over) hold->take();
      if (next != HeldNext::message) continue;
    }
    if (dialog_navigation(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace lorvane::app
