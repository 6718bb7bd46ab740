#include "app/message_loop.h"

#include <cstdint>

#include "app/about_box.h"
#include "control/cycle_watch.h"

namespace lorvane::app {
namespace {

bool dialog_navigation(MSG& msg) {
  HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
  if (root == nullptr) return false;
  wchar_t name[32] = {};
  ::GetClassNameW(root, name, 32);
  if (::lstrcmpW(name, MainWindow::class_name) != 0 &&
      ::lstrcmpW(name, AboutBox::class_name) != 0) {
    return false;
  }
  return ::IsDialogMessageW(root, &msg) != FALSE;
}

// The next message but WM_INPUT, waiting for one at most timeout_ms without waking for raw input.
// The wait comes first: it returns at once for what is already in the queue, seen or not.
// No message lies above 0xFFFF; a range that reached further would take WM_INPUT under Wine,
// which also tries a mouse message's code as its non-client one. What woke the wait and lies in
// neither range is taken as it comes, so that it cannot wake the wait again and again.
enum class Next { message, quit, timeout };
Next get_message_but_raw_input(MSG& msg, DWORD timeout_ms) {
  DWORD woke = ::MsgWaitForMultipleObjectsEx(0, nullptr, timeout_ms, QS_ALLINPUT & ~QS_RAWINPUT,
                                             MWMO_INPUTAVAILABLE);
  if (woke == WAIT_TIMEOUT) return Next::timeout;
  if (::PeekMessageW(&msg, nullptr, 0, WM_INPUT - 1, PM_REMOVE) ||
      ::PeekMessageW(&msg, nullptr, WM_INPUT + 1, 0xFFFF, PM_REMOVE)) {
    return msg.message == WM_QUIT ? Next::quit : Next::message;
  }
  return ::GetMessageW(&msg, nullptr, 0, 0) > 0 ? Next::message : Next::quit;
}

// What is left of a hold that ends at the tick count ends, in milliseconds; 0 once it is over.
DWORD time_left(DWORD ends, DWORD now) {
  auto left = static_cast<std::int32_t>(ends - now);
  return left > 0 ? static_cast<DWORD>(left) : 0;
}

}  // namespace

int run_message_loop(MainWindow& main_window) {
  MSG msg{};
  // Whether a hold on raw input has started, and the tick count at which it ends.
  bool holding = false;
  DWORD hold_ends = 0;
  for (;;) {
    if (!main_window.raw_input_held()) {
      holding = false;
      if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
    } else {
      DWORD now = ::GetTickCount();
      if (!holding) hold_ends = now + control::raw_input_hold_ms;
      holding = true;
      DWORD left = time_left(hold_ends, now);
      Next next = left == 0 ? Next::timeout : get_message_but_raw_input(msg, left);
      if (next == Next::quit) break;
      if (next == Next::timeout) {
        // Read now; should more be coming, the next hold starts from here.
        holding = false;
        main_window.end_raw_input_hold();
        continue;
      }
    }
    if (dialog_navigation(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace lorvane::app
