#pragma once
// What the control and selection tests need besides the main window: top-level windows of test
// classes for the cycle to find by class name (on this thread, or on a thread of their own that
// can be made to hang), an input clock the test sets, and a record of the message boxes the
// wizard shows.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "control/control_cycle.h"
#include "main_window_fixture.h"
#include "platform/input_clock.h"
#include "platform/raw_input.h"
#include "platform/session_state.h"
#include "platform/unique_handles.h"
#include "platform/window_visibility.h"
#include "platform/z_order.h"

namespace lorvane::test {

// Class names no other program uses, so FindWindowA finds only the test's windows.
inline constexpr const wchar_t* target_a = L"LorvaneTestTargetA";
inline constexpr const wchar_t* target_b = L"LorvaneTestTargetB";
inline constexpr const wchar_t* bystander = L"LorvaneTestBystander";
inline constexpr const wchar_t* missing_class = L"LorvaneTestNoSuchWindow";

// A visible top-level window of the class, owned by the calling thread, activated as a new
// window of a program is, and owned by `owner` where one is given. Its class is registered on
// first use.
platform::UniqueWindow make_window(const wchar_t* class_name, HWND owner = nullptr);
// A top-level window of the class that is never shown, as the application window by which a
// classic framework owns its forms.
platform::UniqueWindow make_hidden_window(const wchar_t* class_name);

// A visible top-level window of the class on a thread of its own, which handles its messages
// until hang() and again after resume(). The thread is released and joined on destruction.
// Windows of another thread stand for another program's: the program's own are all on its one
// thread.
class ThreadWindow {
 public:
  explicit ThreadWindow(const wchar_t* class_name, Shape shape = Shape::normal);
  ~ThreadWindow();
  ThreadWindow(const ThreadWindow&) = delete;
  ThreadWindow& operator=(const ThreadWindow&) = delete;

  HWND hwnd() const { return window_; }
  // Returns once the thread has stopped handling messages: the window no longer answers.
  void hang();
  void resume();

 private:
  static platform::UniqueKernelHandle make_event();
  void run(const std::wstring& class_name, Shape shape);

  platform::UniqueKernelHandle ready_ = make_event();
  platform::UniqueKernelHandle hang_ = make_event();
  platform::UniqueKernelHandle hung_ = make_event();
  platform::UniqueKernelHandle resume_ = make_event();
  platform::UniqueKernelHandle quit_ = make_event();
  HWND window_ = nullptr;
  std::thread thread_;
};

// The input clock the test sets: the tick count, and the last input time the query reports, or
// none for a query that fails and leaves the record as it was. Every call is recorded.
class FakeClock {
 public:
  struct Call {
    enum Kind { tick_count, last_input_info } kind;
    DWORD cb_size = 0;  // of the record as handed to the query
    DWORD dw_time = 0;  // of the record as handed to the query
  };
  struct State {
    DWORD now = 0;
    std::optional<DWORD> last_input;
    std::vector<Call> calls;
    std::optional<std::size_t> input_after;
    DWORD input_at = 0;
  };

  FakeClock() = default;
  // The clock for the main window; it shares this object's state.
  lorvane::platform::InputClock clock() const;

  void set(DWORD now, std::optional<DWORD> last_input);
  // The user counts as active, or as idle, at any later tick.
  void set_active() { set(100000, 100000); }
  // Input that comes after this many more queries of the last input: from then on they report
  // this time.
  void input_after(std::size_t queries, DWORD last_input) {
    state_->input_after = queries;
    state_->input_at = last_input;
  }
  void set_idle() { set(100000, 0); }
  // Time passes: the tick count moves on, and so does the last input of a user at work, who
  // stays at work.
  void advance(DWORD ms) {
    if (state_->last_input == state_->now) *state_->last_input += ms;
    state_->now += ms;
  }
  std::vector<Call> calls() const { return state_->calls; }
  void clear_calls() { state_->calls.clear(); }

 private:
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

// The Z-order moves as the program makes them, counted, except for the windows the test names:
// those refuse every move with ERROR_ACCESS_DENIED, as Windows refuses an unelevated program the
// windows of a program running as administrator.
class RefusingMover {
 public:
  // The mover for the main window; it shares this object's state.
  lorvane::platform::WindowMover mover() const;
  void refuse(HWND window) { state_->refused.push_back(window); }
  // The window's program cannot be read: its moves report an unconfirmed success, and are made
  // only when the program lets them through.
  void cannot_read(HWND window, bool moves) {
    (moves ? state_->unread_moving : state_->unread_still).push_back(window);
  }
  // The moves asked of the window so far, refused ones included.
  std::size_t moves_of(HWND window) const {
    return std::count(state_->moved.begin(), state_->moved.end(), window);
  }

 private:
  struct State {
    std::vector<HWND> refused;
    std::vector<HWND> unread_moving;
    std::vector<HWND> unread_still;
    std::vector<HWND> moved;
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

// Cloaking as the desktop window manager answers it on Windows 8 and later, for the windows the
// test names; every other window is asked of the real function, which under Wine (no DWM
// cloaking) always answers no.
class FakeCloaking {
 public:
  // The cloaking for the main window; it shares this object's state.
  lorvane::platform::Cloaking cloaking() const;
  void cloak(HWND window) { state_->cloaked.push_back(window); }
  void uncloak(HWND window) { std::erase(state_->cloaked, window); }

 private:
  struct State {
    std::vector<HWND> cloaked;
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

// A message box as the wizard built it, read on the wizard's own thread as the box is set up,
// before it is shown and before anyone can answer it.
struct BoxView {
  std::wstring title;
  std::wstring text;
  HWND owner = nullptr;
  std::vector<int> buttons;  // ids of its visible buttons
  bool has_icon = false;     // a visible icon static (SS_ICON) holding an icon
  bool topmost = false;      // created in the topmost band, above the user's windows
  HWND bottom = nullptr;     // the last visible top-level window at that moment
  std::chrono::steady_clock::time_point at;
};

// Records every message box created on this thread while it lives.
class BoxWatch {
 public:
  BoxWatch();
  ~BoxWatch();
  BoxWatch(const BoxWatch&) = delete;
  BoxWatch& operator=(const BoxWatch&) = delete;
  const std::vector<BoxView>& boxes() const { return boxes_; }

 private:
  static LRESULT CALLBACK hook(int code, WPARAM wparam, LPARAM lparam);
  HHOOK hook_ = nullptr;
  std::vector<BoxView> boxes_;
};

// A window event raised through the system, as a change of the window raises it, and what it set
// off handled. Out-of-context hooks hear of events a moment later, in the order raised: the
// event is followed by one of the test's own, and once that has arrived, the messages the
// program's hooks posted are handled.
void raise_win_event(DWORD event, HWND window, LONG object);

// Counts the messages of a kind this thread takes from its queue for a window while it lives:
// the WM_TIMER of a timer the program set, the WM_INPUT the system delivered. A test knows a timer
// is armed when its message comes, and that input has arrived before it looks at what it did.
class MessageWatch {
 public:
  MessageWatch();
  ~MessageWatch();
  MessageWatch(const MessageWatch&) = delete;
  MessageWatch& operator=(const MessageWatch&) = delete;
  std::size_t count(HWND window, UINT message) const {
    return std::count_if(taken_.begin(), taken_.end(), [&](const Taken& t) {
      return t.window == window && t.message == message;
    });
  }

 private:
  struct Taken {
    HWND window;
    UINT message;
  };
  static LRESULT CALLBACK hook(int code, WPARAM wparam, LPARAM lparam);
  HHOOK hook_ = nullptr;
  std::vector<Taken> taken_;
};

// The main window with a fake input clock, and the targets registered through the list box.
class ControlTest : public MainWindowTest {
 protected:
  void SetUp() override {
    session_system_ = fake_session();
    start(clock_.clock(), mover_.mover(), cloaking_.cloaking());
  }
  // The session as the system describes it, where Wine cannot stand for Windows: the
  // registrations to refuse, a remote session, a system that tells only of the console's display,
  // and the lock state it reports (by default Wine's own answer). Every ask is counted.
  struct SessionFacts {
    int registrations_to_refuse = 0;
    bool remote = false;
    bool console_display_only = false;
    std::optional<std::optional<bool>> locked;
    int lock_asked = 0;
    int registrations_asked = 0;
  };
  platform::SessionSystem fake_session() {
    platform::SessionSystem system;
    system.register_session = [this](HWND window) {
      ++session_.registrations_asked;
      if (session_.registrations_to_refuse == 0)
        return platform::session_state::register_session(window);
      --session_.registrations_to_refuse;
      return false;
    };
    system.remote_session = [this] { return session_.remote; };
    system.session_display_known = [this] { return !session_.console_display_only; };
    system.locked = [this] {
      ++session_.lock_asked;
      return session_.locked ? *session_.locked : platform::session_state::locked();
    };
    return system;
  }
  void add_targets(const std::vector<std::wstring>& classes) {
    for (const std::wstring& name : classes) context().target_list.append(name);
  }
  void tick() { control::control_tick(context()); }
  // The tick, and whether the window is then raised: whether anyone counts as seeing the desktop,
  // with the user idle and the window the first registered one that shows.
  bool raised_at_tick(HWND window) {
    tick();
    return is_topmost(window);
  }

  // Control running as Start leaves it, but with the control timer held, so that only the hook
  // and the watch's own timer run the tick.
  void start_without_timer() {
    control::start_stop(context());
    context().control_timer.set_enabled(false);
  }
  // Target A registered and placed apart, where a click can reach it; the pointer parked; control
  // running as start_without_timer leaves it, with the user at the machine.
  platform::UniqueWindow start_with_target_to_click() {
    harness::park_pointer();
    platform::UniqueWindow a = make_window(target_a);
    ::SetWindowPos(a.get(), nullptr, 600, 100, 240, 160, SWP_NOZORDER | SWP_NOACTIVATE);
    add_targets({target_a});
    clock_.set_active();
    start_without_timer();
    return a;
  }
  // The event a foreground change raises, raised by the system for the window in front now, and
  // what it sets off handled. Wine raises no event when another program's window comes to the
  // front, and never the foreground event: the test raises the one it needs.
  void foreground_event(DWORD event = EVENT_OBJECT_FOCUS) {
    ASSERT_TRUE(control::control_running(context())) << "control is not running";
    raise_win_event(event, ::GetForegroundWindow(),
                    event == EVENT_OBJECT_FOCUS ? OBJID_CLIENT : OBJID_WINDOW);
  }
  // The raw input the process holds registered, as the system tells it: the devices named, for
  // the main window, whatever window is in front.
  ::testing::AssertionResult listening_as_registered(platform::RawDevices devices) {
    platform::raw_input::Registered r = platform::raw_input::registered();
    bool mouse = devices != platform::RawDevices::none;
    bool keyboard = devices == platform::RawDevices::mouse_and_keyboard;
    if ((r.mouse == hwnd() && r.mouse_sink) != mouse || (r.mouse == nullptr) == mouse)
      return ::testing::AssertionFailure() << "mouse registered " << (r.mouse != nullptr);
    if ((r.keyboard == hwnd() && r.keyboard_sink) != keyboard ||
        (r.keyboard == nullptr) == keyboard)
      return ::testing::AssertionFailure() << "keyboard registered " << (r.keyboard != nullptr);
    if (r.count != static_cast<UINT>(mouse) + static_cast<UINT>(keyboard))
      return ::testing::AssertionFailure() << r.count << " devices registered";
    return ::testing::AssertionSuccess();
  }

  FakeClock clock_;
  MessageWatch messages_;
  RefusingMover mover_;
  FakeCloaking cloaking_;
  SessionFacts session_;
};

}  // namespace lorvane::test
