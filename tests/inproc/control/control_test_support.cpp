#include "control_test_support.h"

#include <atomic>

namespace lorvane::test {
namespace {

HWND create_window(const wchar_t* class_name, Shape shape = Shape::normal,
                   Activation activation = Activation::activated, HWND owner = nullptr) {
  // Staggered, so that the windows can be told apart on a screenshot.
  static std::atomic<int> count{0};
  int offset = (count++ % 10) * 40;
  return show_window_of_class(class_name, ::DefWindowProcW,
                              {100 + offset, 100 + offset, 400 + offset, 300 + offset}, nullptr,
                              shape, activation, owner);
}

BoxWatch* active_watch = nullptr;
MessageWatch* active_message_watch = nullptr;

std::wstring class_of(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

}  // namespace

platform::UniqueWindow make_window(const wchar_t* class_name, HWND owner) {
  return platform::UniqueWindow(
      create_window(class_name, Shape::normal, Activation::activated, owner));
}

platform::UniqueWindow make_hidden_window(const wchar_t* class_name) {
  HWND window = create_window(class_name, Shape::normal, Activation::not_activated);
  ::ShowWindow(window, SW_HIDE);
  return platform::UniqueWindow(window);
}

platform::UniqueKernelHandle ThreadWindow::make_event() {
  return platform::UniqueKernelHandle(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
}

ThreadWindow::ThreadWindow(const wchar_t* class_name, Shape shape) {
  thread_ = std::thread([this, name = std::wstring(class_name), shape] { run(name, shape); });
  ::WaitForSingleObject(ready_.get(), INFINITE);
}

ThreadWindow::~ThreadWindow() {
  ::SetEvent(quit_.get());
  thread_.join();
}

void ThreadWindow::hang() {
  ::SetEvent(hang_.get());
  ::WaitForSingleObject(hung_.get(), INFINITE);
}

void ThreadWindow::resume() { ::SetEvent(resume_.get()); }

void ThreadWindow::run(const std::wstring& class_name, Shape shape) {
  window_ = create_window(class_name.c_str(), shape);
  ::SetEvent(ready_.get());
  HANDLE waits[] = {quit_.get(), hang_.get()};
  for (;;) {
    DWORD woke =
        ::MsgWaitForMultipleObjectsEx(2, waits, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke == WAIT_OBJECT_0) break;
    if (woke == WAIT_OBJECT_0 + 1) {
      // Hung: nothing sent or posted to the window is handled until resumed.
      ::SetEvent(hung_.get());
      HANDLE wake[] = {quit_.get(), resume_.get()};
      if (::WaitForMultipleObjects(2, wake, FALSE, INFINITE) == WAIT_OBJECT_0) break;
      continue;
    }
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  ::DestroyWindow(window_);
}

lorvane::platform::InputClock FakeClock::clock() const {
  std::shared_ptr<State> state = state_;
  lorvane::platform::InputClock clock;
  clock.tick_count = [state] {
    state->calls.push_back({Call::tick_count});
    return state->now;
  };
  clock.last_input_info = [state](LASTINPUTINFO& info) {
    state->calls.push_back({Call::last_input_info, info.cbSize, info.dwTime});
    if (state->input_after && (*state->input_after)-- == 0) {
      state->last_input = state->input_at;
      state->input_after.reset();
    }
    if (state->last_input) info.dwTime = *state->last_input;
  };
  return clock;
}

void FakeClock::set(DWORD now, std::optional<DWORD> last_input) {
  state_->now = now;
  state_->last_input = last_input;
}

lorvane::platform::WindowMover RefusingMover::mover() const {
  std::shared_ptr<State> state = state_;
  lorvane::platform::WindowMover mover;
  mover.set_window_pos = [state](HWND window, HWND insert_after, UINT flags) {
    state->moved.push_back(window);
    if (std::find(state->refused.begin(), state->refused.end(), window) != state->refused.end()) {
      return platform::z_order::MoveResult{false, ERROR_ACCESS_DENIED};
    }
    auto among = [window](const std::vector<HWND>& list) {
      return std::find(list.begin(), list.end(), window) != list.end();
    };
    if (among(state->unread_still)) return platform::z_order::MoveResult{true, ERROR_SUCCESS, true};
    platform::z_order::MoveResult result =
        platform::z_order::set_window_pos(window, insert_after, flags);
    if (among(state->unread_moving)) result.unconfirmed = true;
    return result;
  };
  return mover;
}

lorvane::platform::Cloaking FakeCloaking::cloaking() const {
  std::shared_ptr<State> state = state_;
  lorvane::platform::Cloaking cloaking;
  cloaking.cloaked = [state](HWND window) {
    if (std::find(state->cloaked.begin(), state->cloaked.end(), window) != state->cloaked.end()) {
      return true;
    }
    return platform::window_visibility::cloaked(window);
  };
  return cloaking;
}

BoxWatch::BoxWatch() {
  active_watch = this;
  hook_ = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &BoxWatch::hook, nullptr, ::GetCurrentThreadId());
}

BoxWatch::~BoxWatch() {
  if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
  active_watch = nullptr;
}

// Runs when the box has handled WM_INITDIALOG: its buttons and icon are set up, and it is not
// shown yet, so nobody can have answered it.
LRESULT CALLBACK BoxWatch::hook(int code, WPARAM wparam, LPARAM lparam) {
  const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
  if (code == HC_ACTION && active_watch != nullptr && sent->message == WM_INITDIALOG &&
      class_of(sent->hwnd) == L"#32770") {
    HWND box = sent->hwnd;
    BoxView view;
    view.title = platform::window_text(box);
    view.text = message_box_text(box);
    view.owner = ::GetWindow(box, GW_OWNER);
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
      LONG style = ::GetWindowLongW(child, GWL_STYLE);
      if ((style & WS_VISIBLE) == 0) continue;
      std::wstring kind = class_of(child);
      if (_wcsicmp(kind.c_str(), L"Button") == 0) view.buttons.push_back(::GetDlgCtrlID(child));
      if (_wcsicmp(kind.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
          ::SendMessageW(child, STM_GETICON, 0, 0) != 0) {
        view.has_icon = true;
      }
    }
    view.topmost = is_topmost(box);
    view.bottom = last_visible_window();
    view.at = std::chrono::steady_clock::now();
    active_watch->boxes_.push_back(view);
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

namespace {

// An event of the range the system leaves to others, which nothing else here raises.
constexpr DWORD delivered_event = EVENT_OEM_DEFINED_START + 0x7F;
bool delivered = false;

void CALLBACK on_delivered(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  delivered = true;
}

}  // namespace

void raise_win_event(DWORD event, HWND window, LONG object) {
  platform::UniqueWinEventHook hook(::SetWinEventHook(delivered_event, delivered_event, nullptr,
                                                      &on_delivered, ::GetCurrentProcessId(), 0,
                                                      WINEVENT_OUTOFCONTEXT));
  ASSERT_TRUE(hook);
  delivered = false;
  ::NotifyWinEvent(event, window, object, CHILDID_SELF);
  ::NotifyWinEvent(delivered_event, window, OBJID_WINDOW, CHILDID_SELF);
  ASSERT_TRUE(pump_until([] { return delivered; }));
  pump_until_empty();
}

MessageWatch::MessageWatch() {
  active_message_watch = this;
  hook_ = ::SetWindowsHookExW(WH_GETMESSAGE, &MessageWatch::hook, nullptr, ::GetCurrentThreadId());
}

MessageWatch::~MessageWatch() {
  if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
  active_message_watch = nullptr;
}

LRESULT CALLBACK MessageWatch::hook(int code, WPARAM wparam, LPARAM lparam) {
  const auto* msg = reinterpret_cast<const MSG*>(lparam);
  // Only a message taken from the queue: a look that leaves it there is no delivery.
  if (code == HC_ACTION && wparam == PM_REMOVE && active_message_watch != nullptr &&
      (msg->message == WM_TIMER || msg->message == WM_INPUT)) {
    active_message_watch->taken_.push_back({msg->hwnd, msg->message});
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace lorvane::test
