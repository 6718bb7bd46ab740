// Control between ticks: the foreground hook's filter, the click on a registered window in front,
// the raised window and its return to the bottom, and which windows count as full-screen work.
#include <atomic>

#include "app/message_loop.h"
#include "control_test_support.h"

namespace lorvane::test {
namespace {

using namespace std::chrono_literals;
using platform::RawDevices;

class ReactionTest : public ControlTest {};

// A left click there, and the pointer parked again.
void click_point(POINT at) { harness::click_at(at); }

POINT client_point(HWND window, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(window, &p);
  return p;
}

TEST_F(ReactionTest, AForegroundEventTicksOnlyWhenTheForegroundWindowHasChanged) {
  platform::UniqueWindow other = make_window(bystander);
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set_active();
  start_without_timer();
  bring_to_front(other.get());
  foreground_event();
  bring_to_front(a.get());
  foreground_event();
  // Its activation may raise it again after the push: the tick after it puts it back.
  EXPECT_TRUE(pump_until([&] { return is_last_visible(a.get()); }))
      << "a foreground change runs the tick at once";

  // Raised without a change of the foreground window: the event that follows is dropped.
  ::SetWindowPos(a.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  std::size_t moves = mover_.moves_of(a.get());
  foreground_event();
  EXPECT_FALSE(is_last_visible(a.get()));
  EXPECT_EQ(mover_.moves_of(a.get()), moves) << "no tick ran";

  // Where the system raises the foreground event, the focus events go; the foreground events
  // still tick on a change.
  bring_to_front(other.get());
  foreground_event(EVENT_SYSTEM_FOREGROUND);
  bring_to_front(a.get());
  moves = mover_.moves_of(a.get());
  foreground_event(EVENT_OBJECT_FOCUS);
  EXPECT_EQ(mover_.moves_of(a.get()), moves) << "a focus event heard after a foreground event";
  foreground_event(EVENT_SYSTEM_FOREGROUND);
  EXPECT_TRUE(pump_until([&] { return is_last_visible(a.get()); }));
}

TEST_F(ReactionTest, ARegisteredWindowClickedToTheFrontGoesBackAtOnce) {
  // Real clicks of this process on its own windows: Wine raises focus events for those.
  harness::park_pointer();
  platform::UniqueWindow a = make_window(target_a);
  ::SetWindowPos(a.get(), nullptr, 0, 0, 240, 160, SWP_NOZORDER | SWP_NOACTIVATE);
  add_targets({target_a});
  clock_.set_active();
  start_without_timer();
  tray_event(WM_LBUTTONUP);
  ASSERT_TRUE(pump_until([&] { return ::IsWindowVisible(hwnd()) && !::IsIconic(hwnd()); }));
  ::SetWindowPos(hwnd(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  auto clicked_and_pushed = [&] {
    std::size_t moves = mover_.moves_of(a.get());
    click_point(client_point(a.get(), 40, 40));
    return pump_until([&] {
      return ::GetForegroundWindow() == a.get() && mover_.moves_of(a.get()) > moves &&
             is_last_visible(a.get());
    });
  };
  ASSERT_TRUE(clicked_and_pushed());
  ASSERT_TRUE(harness::click_to_front(hwnd(), client_point(hwnd(), 5, 5)));
  EXPECT_TRUE(clicked_and_pushed()) << "the main window in between is a change too";

  // Switched to from another program's window, as a user goes from their work to the player.
  platform::UniqueWindow other = make_window(bystander);
  ::SetWindowPos(other.get(), nullptr, 300, 0, 240, 160, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(harness::click_to_front(other.get(), client_point(other.get(), 40, 40)));
  EXPECT_TRUE(clicked_and_pushed()) << "switched to from another window";
  EXPECT_TRUE(is_below(a.get(), other.get()));
}

TEST_F(ReactionTest, AClickOnTheRegisteredWindowInFrontSendsItBackPointerMovesDoNothing) {
  platform::UniqueWindow a = start_with_target_to_click();
  platform::UniqueWindow other = make_window(bystander);
  EXPECT_TRUE(listening_as_registered(RawDevices::none)) << "nothing in front to watch";
  bring_to_front(a.get());
  tick();
  ASSERT_TRUE(is_last_visible(a.get()));
  EXPECT_TRUE(listening_as_registered(RawDevices::mouse));

  // Raised by its own program, with no input: nothing runs between ticks, and the pointer
  // passing over it changes nothing.
  ::SetWindowPos(a.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  std::size_t moves = mover_.moves_of(a.get());
  std::size_t inputs = messages_.count(hwnd(), WM_INPUT);
  harness::point_at(client_point(a.get(), 60, 60));
  harness::nudge_pointer();
  ASSERT_TRUE(pump_until([&] { return messages_.count(hwnd(), WM_INPUT) > inputs; }));
  pump_until_empty();
  EXPECT_FALSE(is_last_visible(a.get()));
  EXPECT_EQ(mover_.moves_of(a.get()), moves) << "no tick ran";

  // The click on it: the tick runs shortly after, and once more after the button came up; then
  // the click's timer stops.
  click_point(client_point(a.get(), 60, 60));
  EXPECT_TRUE(pump_until([&] { return is_last_visible(a.get()); }, 2s));
  EXPECT_TRUE(pump_until([&] { return mover_.moves_of(a.get()) >= moves + 2; }, 2s));
  EXPECT_GE(messages_.count(hwnd(), WM_TIMER), 1u);
  // Readings 100 ms apart: a timer left armed, of 20 ms, would have come in between.
  EXPECT_TRUE(pump_until_settled(
      [&] { return std::vector<std::intptr_t>{std::intptr_t(messages_.count(hwnd(), WM_TIMER))}; },
      2s, 100ms));

  // Another window in front: the mouse is let go at the tick that finds it.
  bring_to_front(other.get());
  foreground_event();
  EXPECT_TRUE(listening_as_registered(RawDevices::none));
  harness::park_pointer();
}

// Handles this thread's raw input alone, every other message left queued, until a button's press
// has come: what it set off has run, and nothing else has (the clicked window still has its
// button message waiting).
bool heard_button_down(HWND main) {
  auto deadline = std::chrono::steady_clock::now() + 2s;
  MSG msg{};
  while (std::chrono::steady_clock::now() < deadline) {
    if (!::PeekMessageW(&msg, main, WM_INPUT, WM_INPUT, PM_REMOVE)) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_RAWINPUT);
      continue;
    }
    bool down = platform::raw_input::read(msg.lParam).button_down;
    ::DispatchMessageW(&msg);
    if (down) return true;
  }
  return false;
}

// Windows may count a one-shot timer's delay from its clock's last tick: the click's tick may come
// at once, before the clicked window's own program has raised it, and find nothing to move. The
// test delivers the timer's message at once, as such a clock would, and raises the window as its
// program would after that: the push still comes, with the button held and nothing else to come.
TEST_F(ReactionTest, AClicksTickThatCameBeforeTheRaiseComesOnceMore) {
  platform::UniqueWindow a = start_with_target_to_click();
  // A window of the user's, for the target to lie above or below.
  platform::UniqueWindow other = make_window(bystander);
  bring_to_front(a.get());
  tick();
  ASSERT_TRUE(is_last_visible(a.get()));
  ASSERT_TRUE(listening_as_registered(RawDevices::mouse));
  POINT at = client_point(a.get(), 60, 60);
  std::size_t inputs = messages_.count(hwnd(), WM_INPUT);
  harness::point_at(at);
  ASSERT_TRUE(pump_until([&] { return messages_.count(hwnd(), WM_INPUT) > inputs; }));

  // Held down until the button comes up below, whatever fails meanwhile.
  harness::press_at(at);
  EXPECT_TRUE(heard_button_down(hwnd()));
  ::PostMessageW(hwnd(), WM_TIMER, app::click_timer_id, 0);
  MSG early{};
  if (::PeekMessageW(&early, hwnd(), WM_TIMER, WM_TIMER, PM_REMOVE)) ::DispatchMessageW(&early);
  EXPECT_TRUE(is_last_visible(a.get())) << "raised before its tick";
  ::SetWindowPos(a.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  EXPECT_TRUE(pump_until([&] { return is_last_visible(a.get()); }, 2s)) << "no tick came after";

  // The button comes up: its tick, and no more timers, though the window is never raised again.
  std::size_t timers = messages_.count(hwnd(), WM_TIMER);
  harness::release_button();
  ASSERT_TRUE(pump_until([&] { return messages_.count(hwnd(), WM_TIMER) > timers; }, 2s));
  EXPECT_TRUE(pump_until_settled(
      [&] { return std::vector<std::intptr_t>{std::intptr_t(messages_.count(hwnd(), WM_TIMER))}; },
      2s, 100ms));
  EXPECT_TRUE(is_last_visible(a.get()));
  harness::park_pointer();
}

// Once the window in front is watched, input after the first waits in the queue until the hold
// is over, and is then read in one go: a click among pointer moves runs the tick at once.
TEST_F(ReactionTest, InputWhileTheWindowInFrontIsWatchedIsHeldAndReadInOneGo) {
  platform::UniqueWindow a = start_with_target_to_click();
  // A window of the user's, for the target to lie above or below.
  platform::UniqueWindow other = make_window(bystander);
  bring_to_front(a.get());
  tick();
  ASSERT_TRUE(listening_as_registered(RawDevices::mouse));
  control::RawInputHold& hold = context().raw_input_hold;
  EXPECT_EQ(hold.wait_left(::GetTickCount()), std::nullopt) << "nothing came yet";
  harness::point_at(client_point(a.get(), 60, 60));
  ASSERT_TRUE(pump_until([&] { return hold.wait_left(::GetTickCount()).has_value(); }, 2s));

  // What comes now stays queued: nothing here reads it before the hold is over. The click raises
  // the window as its program would.
  ::SetWindowPos(a.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  harness::nudge_pointer();
  click_point(client_point(a.get(), 60, 60));
  ASSERT_FALSE(is_last_visible(a.get()));
  // Over, the hold reads it all: the click pushes the window at once, before any message.
  std::size_t timers = messages_.count(hwnd(), WM_TIMER);
  hold.take();
  EXPECT_TRUE(is_last_visible(a.get())) << "the click ran the tick at once";
  EXPECT_TRUE(pump_until([&] { return messages_.count(hwnd(), WM_TIMER) > timers; }, 2s))
      << "and arms the one after its raise";
  EXPECT_TRUE(hold.wait_left(::GetTickCount()).has_value())
      << "input came: the next hold begins from the next ask";

  // A hold that finds nothing queued ends for good: the next input comes as it arrives. (Wine's
  // display driver echoes pointer input a moment later: a hold that reads it holds on.)
  EXPECT_TRUE(pump_until(
      [&] {
        hold.take();
        return !hold.wait_left(::GetTickCount());
      },
      2s));
  EXPECT_TRUE(listening_as_registered(RawDevices::mouse));
  control::start_stop(context());
  EXPECT_TRUE(listening_as_registered(RawDevices::none));
  harness::park_pointer();
}

// A message sent to the window during a hold is handled inside the wait, which then waits on
// for the rest of the hold: the input that comes meanwhile stays queued, and the hold ends at its
// time, though no other message comes to end the wait.
TEST_F(ReactionTest, AMessageSentDuringAHoldKeepsItsInputQueuedAndItsEnd) {
  platform::UniqueWindow a = start_with_target_to_click();
  bring_to_front(a.get());
  tick();
  ASSERT_TRUE(listening_as_registered(RawDevices::mouse));
  HWND main = hwnd();
  constexpr UINT gave_up = WM_APP + 77;
  platform::UniqueKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  platform::UniqueKernelHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::atomic<bool> sent{false};
  DWORD loop_thread = ::GetCurrentThreadId();
  std::thread other([&] {
    ::SetEvent(ready.get());
    ::SendMessageW(main, WM_NULL, 0, 0);
    sent = true;
    harness::nudge_pointer();
    // Only a wait that never ends gets this far: it gets a message to end it.
    if (::WaitForSingleObject(done.get(), 10000) == WAIT_TIMEOUT)
      ::PostThreadMessageW(loop_thread, gave_up, 0, 0);
  });
  ::WaitForSingleObject(ready.get(), INFINITE);
  // A hold long enough for the other thread to send within it, whatever the machine's load.
  control::RawInputHold hold([](const platform::RawInputEvent&) {}, 2000, 2000);
  hold.hold();
  std::vector<UINT> taken;
  MSG msg{};
  app::HeldNext next;
  while ((next = app::next_while_held(msg, hold)) == app::HeldNext::message) {
    taken.push_back(msg.message);
    if (msg.message == gave_up) break;
    ::DispatchMessageW(&msg);
  }
  ::SetEvent(done.get());
  other.join();
  EXPECT_EQ(next, app::HeldNext::over);
  EXPECT_TRUE(sent) << "the sent message was handled within the hold";
  EXPECT_EQ(std::count(taken.begin(), taken.end(), WM_INPUT), 0) << "raw input taken singly";
  EXPECT_EQ(std::count(taken.begin(), taken.end(), gave_up), 0) << "the hold outlived its end";
  harness::park_pointer();
}

TEST_F(ReactionTest, TheRaisedWindowGoesDownOnTheFirstKeyAndIsForgotten) {
  harness::park_pointer();
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set_idle();
  start_without_timer();
  tick();
  ASSERT_TRUE(is_topmost(a.get()));
  EXPECT_TRUE(listening_as_registered(RawDevices::mouse_and_keyboard));
  pump_until_empty();
  ASSERT_TRUE(is_topmost(a.get())) << "nobody touched anything";

  // The user is back at the keyboard; no tick runs in between, only the key's raw input.
  clock_.set_active();
  harness::press_key();
  EXPECT_TRUE(pump_until([&] { return !is_topmost(a.get()); }, 2s));
  EXPECT_TRUE(is_last_visible(a.get()));
  // The tick after the return finds the window still in front if the raise activated it.
  EXPECT_TRUE(listening_as_registered(::GetForegroundWindow() == a.get() ? RawDevices::mouse
                                                                         : RawDevices::none));
}

// Where the system tells of it, the raised window that stops showing is replaced at once, without
// waiting for the tick. Wine 8 raises no event at a hook filtered by process when a window is
// hidden, minimised or closed: the test raises the event as the system would.
TEST_F(ReactionTest, TheRaisedWindowHiddenMinimisedOrClosedIsReplacedAtOnce) {
  harness::park_pointer();
  platform::UniqueWindow a = make_window(target_a);
  platform::UniqueWindow b1 = make_window(target_b);
  add_targets({target_a, target_b});
  clock_.set_idle();
  start_without_timer();
  tick();
  ASSERT_TRUE(is_topmost(a.get()));
  std::size_t raises = mover_.moves_of(a.get());
  auto event = [&](DWORD what, HWND window, LONG object) { raise_win_event(what, window, object); };

  // Its caret, or another window of its program: nothing runs. (Taken out of the topmost band
  // behind the program's back, it would be raised again by any tick.)
  ::SetWindowPos(a.get(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  ::ShowWindow(b1.get(), SW_MINIMIZE);
  event(EVENT_OBJECT_HIDE, a.get(), OBJID_CARET);
  event(EVENT_SYSTEM_MINIMIZESTART, b1.get(), OBJID_WINDOW);
  EXPECT_FALSE(is_topmost(a.get())) << "a tick raised it again";
  EXPECT_EQ(mover_.moves_of(a.get()), raises);
  ::ShowWindow(b1.get(), SW_SHOWNOACTIVATE);

  ::ShowWindow(a.get(), SW_HIDE);
  event(EVENT_OBJECT_HIDE, a.get(), OBJID_WINDOW);
  EXPECT_TRUE(is_topmost(b1.get()));
  EXPECT_FALSE(is_topmost(a.get()));

  platform::UniqueWindow b2 = make_window(target_b);
  ::SetWindowPos(b2.get(), b1.get(), 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  ::ShowWindow(b1.get(), SW_MINIMIZE);
  event(EVENT_SYSTEM_MINIMIZESTART, b1.get(), OBJID_WINDOW);
  EXPECT_TRUE(is_topmost(b2.get()));
  EXPECT_FALSE(is_topmost(b1.get()));

  HWND closed = b2.get();
  b2.reset();
  event(EVENT_OBJECT_DESTROY, closed, OBJID_WINDOW);
  EXPECT_TRUE(listening_as_registered(RawDevices::none)) << "nothing is left to wait for";
}

TEST_F(ReactionTest, InputAsTheWindowGoesUpBringsItDownAtOnce) {
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set_idle();
  start_without_timer();
  // The tick finds the user idle and raises; the user's hand comes before raw input listens.
  clock_.input_after(1, 100000);
  tick();
  EXPECT_FALSE(is_topmost(a.get()));
  EXPECT_TRUE(listening_as_registered(::GetForegroundWindow() == a.get() ? RawDevices::mouse
                                                                         : RawDevices::none))
      << "nothing waits for the user's return";
}

TEST_F(ReactionTest, TheTickBringsTheRaisedWindowDownWhenTheUserCameBackUnheard) {
  platform::UniqueWindow other = make_window(bystander);
  add_targets({target_a});
  clock_.set_idle();
  start_without_timer();
  {
    platform::UniqueWindow gone = make_window(target_a);
    tick();
    ASSERT_TRUE(is_topmost(gone.get()));
  }
  // Closed while it waited: forgotten at the next tick, and nothing waits any more.
  tick();
  EXPECT_TRUE(listening_as_registered(RawDevices::none));

  platform::UniqueWindow a = make_window(target_a);
  tick();
  ASSERT_TRUE(is_topmost(a.get()));
  // Touch or pen input raw input does not report: the idle clock says the user is back.
  bring_to_front(other.get());
  clock_.set_active();
  tick();
  EXPECT_FALSE(is_topmost(a.get()));
  EXPECT_TRUE(is_last_visible(a.get()));
  EXPECT_TRUE(listening_as_registered(RawDevices::none));
}

TEST_F(ReactionTest, NothingStaysArmedOnceControlStops) {
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set_idle();
  start_without_timer();
  tick();
  ASSERT_TRUE(is_topmost(a.get()));
  ASSERT_TRUE(listening_as_registered(RawDevices::mouse_and_keyboard));

  // Stop forgets the raised window where it lies: the user's return no longer moves it, and no
  // foreground change is heard.
  click(app::id_start_stop_button);
  EXPECT_EQ(platform::raw_input::registered().count, 0u);
  clock_.set_active();
  harness::press_key();
  std::size_t moves = mover_.moves_of(a.get());
  bring_to_front(a.get());
  raise_win_event(EVENT_SYSTEM_FOREGROUND, a.get(), OBJID_WINDOW);
  EXPECT_TRUE(is_topmost(a.get()));
  EXPECT_EQ(mover_.moves_of(a.get()), moves);
  // Across the click's delay and the control timer's interval: no timer of the watch is left to
  // come.
  std::size_t timers = messages_.count(hwnd(), WM_TIMER);
  pump_for(1100ms);
  EXPECT_EQ(messages_.count(hwnd(), WM_TIMER), timers);

  // Select stops control too, with a registered window in front and its click watched.
  ::SetWindowPos(a.get(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  start_without_timer();
  bring_to_front(a.get());
  tick();
  ASSERT_TRUE(listening_as_registered(RawDevices::mouse));
  click(app::id_select_button);
  EXPECT_EQ(platform::raw_input::registered().count, 0u) << "Select stops control";
  context().selection_timer.set_enabled(false);
}

TEST_F(ReactionTest, OnlyACaptionlessWindowOfAnotherProgramOverTheWholeMonitorIsFullScreenWork) {
  // Registered as the class lookup finds them: case aside, but the whole name.
  add_targets({target_a, L"lorvanetesttargetb", L"LorvaneTestBy"});
  ThreadWindow film(bystander, Shape::full_screen);
  EXPECT_TRUE(control::full_screen_work(context(), film.hwnd())) << "a prefix is no match";
  ThreadWindow player(target_b, Shape::full_screen);
  EXPECT_FALSE(control::full_screen_work(context(), player.hwnd())) << "the wallpaper itself";
  EXPECT_FALSE(control::full_screen_work(context(), ::GetDesktopWindow()));
  EXPECT_FALSE(control::full_screen_work(context(), ::FindWindowW(L"Shell_TrayWnd", nullptr)));

  // Maximised and grown over the whole monitor, but with a title bar.
  ThreadWindow maximised(L"LorvaneTestMaximised", Shape::maximised);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(::MonitorFromWindow(maximised.hwnd(), MONITOR_DEFAULTTONEAREST), &info);
  const RECT& m = info.rcMonitor;
  ::SetWindowPos(maximised.hwnd(), nullptr, m.left - 8, m.top - 8, m.right - m.left + 16,
                 m.bottom - m.top + 16, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(::IsZoomed(maximised.hwnd()));
  EXPECT_FALSE(control::full_screen_work(context(), maximised.hwnd()));
  // Nor without its title bar, as some players and editors show themselves maximised.
  LONG style = ::GetWindowLongW(maximised.hwnd(), GWL_STYLE);
  ::SetWindowLongW(maximised.hwnd(), GWL_STYLE, style & ~WS_CAPTION);
  ::SetWindowPos(maximised.hwnd(), nullptr, m.left - 8, m.top - 8, m.right - m.left + 16,
                 m.bottom - m.top + 16, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  ASSERT_TRUE(::IsZoomed(maximised.hwnd()));
  EXPECT_FALSE(control::full_screen_work(context(), maximised.hwnd()));
}

}  // namespace
}  // namespace lorvane::test
