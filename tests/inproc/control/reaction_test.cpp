// Control between ticks: the foreground hook that runs the tick at once, the short poll that
// catches a click on the window in front and the user's return after the idle raise, and no
// raise over full-screen work.
#include "control_test_support.h"

namespace lorvane::test {
namespace {

using namespace std::chrono_literals;

TEST_F(ControlTest, AForegroundEventTicksOnlyWhenTheForegroundWindowHasChanged) {
  UniqueWindow other = make_window(bystander);
  UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set_active();
  start_without_timer();
  bring_to_front(other.get());
  foreground_event();

  bring_to_front(a.get());
  foreground_event();
  EXPECT_TRUE(is_last_in_z_order(a.get())) << "a foreground change runs the tick at once";

  // Raised without a change of the foreground window: the event that follows is dropped.
  ::SetWindowPos(a.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  ASSERT_EQ(::GetForegroundWindow(), a.get());
  std::size_t ticks = clock_.tick_count_calls();
  foreground_event();
  EXPECT_FALSE(is_last_in_z_order(a.get()));
  EXPECT_EQ(clock_.tick_count_calls(), ticks);

  // Away to another window and back: each change is seen, and the target goes down again.
  bring_to_front(other.get());
  foreground_event();
  bring_to_front(a.get());
  foreground_event();
  EXPECT_TRUE(is_last_in_z_order(a.get()));
}

// A click on the target that is already in front raises it without any focus change: the
// poll that runs while it is in front sees the click as input and ticks.
TEST_F(ControlTest, InputWhileATargetIsInFrontPushesItDownAgain) {
  UniqueWindow other = make_window(bystander);
  UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set(100000, 99000);
  start_without_timer();
  bring_to_front(other.get());
  foreground_event();
  bring_to_front(a.get());
  foreground_event();
  ASSERT_TRUE(is_last_in_z_order(a.get()));
  ASSERT_TRUE(controls().watch.poll_timer.enabled());

  ::SetWindowPos(a.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  pump_for(150ms);
  EXPECT_FALSE(is_last_in_z_order(a.get())) << "no input: the poll leaves it";
  clock_.set(100100, 100050);
  EXPECT_TRUE(pump_until([&] { return is_last_in_z_order(a.get()); }, 2s));

  // Another window in front and nothing raised: the next tick stops the poll.
  bring_to_front(other.get());
  foreground_event();
  EXPECT_FALSE(controls().watch.poll_timer.enabled());
}

TEST_F(ControlTest, TheFirstInputAfterTheRaiseMovesTheRaisedWindowDownEvenBehindAnother) {
  UniqueWindow other = make_window(bystander);
  UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set_idle();
  start_without_timer();
  tick();
  ASSERT_TRUE(is_topmost(a.get()));
  EXPECT_EQ(controls().watch.raised, a.get());

  // Nothing moves it while nobody touches anything, and the user is idle still.
  pump_for(150ms);
  EXPECT_TRUE(is_topmost(a.get()));

  // The raise could not activate it: another window is in front when the user comes back.
  clock_.set_active();
  bring_to_front(other.get());
  EXPECT_TRUE(pump_until([&] { return !is_topmost(a.get()); }, 2s));
  EXPECT_TRUE(is_last_in_z_order(a.get()));
  EXPECT_EQ(::GetForegroundWindow(), other.get()) << "moved down without being activated";
  // Forgotten once down: nothing is left to poll for.
  EXPECT_EQ(controls().watch.raised, nullptr);
  EXPECT_FALSE(controls().watch.poll_timer.enabled());
}

TEST_F(ControlTest, TheRaisedWindowIsForgottenWhenItClosesAndWhenControlStops) {
  add_targets({target_a});
  clock_.set_idle();
  start_without_timer();
  {
    UniqueWindow gone = make_window(target_a);
    tick();
    ASSERT_EQ(controls().watch.raised, gone.get());
  }
  EXPECT_TRUE(pump_until([&] { return controls().watch.raised == nullptr; }, 2s));
  tick();  // nothing live, nothing in front
  EXPECT_FALSE(controls().watch.poll_timer.enabled());

  // Stop leaves the raised window where it is, and the user's return no longer moves it.
  UniqueWindow a = make_window(target_a);
  tick();
  ASSERT_TRUE(is_topmost(a.get()));
  click(app::id_start_stop_button);
  EXPECT_FALSE(controls().watch.hook.has_value());
  EXPECT_FALSE(controls().watch.poll_timer.enabled());
  clock_.set_active();
  pump_for(200ms);
  EXPECT_TRUE(is_topmost(a.get()));

  // Select stops control and unhooks as well.
  start_without_timer();
  ASSERT_TRUE(controls().watch.hook.has_value());
  click(app::id_select_button);
  EXPECT_FALSE(controls().watch.hook.has_value());
  controls().selection_timer.set_enabled(false);
}

TEST_F(ControlTest, OnlyACaptionlessWindowOfAnotherProgramOverTheWholeMonitorIsFullScreenWork) {
  add_targets({target_a, target_b});
  ThreadWindow film(bystander, Shape::full_screen);
  EXPECT_TRUE(control::full_screen_work(controls(), film.hwnd()));

  // Maximised, and as large as the monitor, but with a title bar.
  ThreadWindow maximised(L"LorvaneTestMaximised", Shape::maximised);
  HMONITOR monitor = ::MonitorFromWindow(maximised.hwnd(), MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(monitor, &info);
  const RECT& m = info.rcMonitor;
  ::SetWindowPos(maximised.hwnd(), nullptr, m.left - 8, m.top - 8, m.right - m.left + 16,
                 m.bottom - m.top + 16, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(::IsZoomed(maximised.hwnd()));
  EXPECT_FALSE(control::full_screen_work(controls(), maximised.hwnd()));

  // The registered player shown full screen is the wallpaper, not the user's work.
  ThreadWindow player(target_b, Shape::full_screen);
  EXPECT_FALSE(control::full_screen_work(controls(), player.hwnd()));

  // The desktop and the taskbar cover the screen without a title bar; so may the program's own.
  EXPECT_FALSE(control::full_screen_work(controls(), ::GetDesktopWindow()));
  HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  if (taskbar != nullptr) {
    EXPECT_FALSE(control::full_screen_work(controls(), taskbar));
  }
  if (::GetShellWindow() != nullptr) {
    EXPECT_FALSE(control::full_screen_work(controls(), ::GetShellWindow()));
  }
  UniqueWindow own = make_window(L"LorvaneTestOwnFullScreen");
  ::SetWindowLongW(own.get(), GWL_STYLE, WS_POPUP | WS_VISIBLE);
  ::SetWindowPos(own.get(), nullptr, m.left, m.top, m.right - m.left, m.bottom - m.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  EXPECT_FALSE(control::full_screen_work(controls(), own.get()));
  EXPECT_FALSE(control::full_screen_work(controls(), nullptr));
}

TEST_F(ControlTest, NoRaiseWhileAFullScreenWindowIsInFrontAndItComesBackOnceItCloses) {
  UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set_idle();
  {
    ThreadWindow film(bystander, Shape::full_screen);
    bring_to_front(film.hwnd());
    ASSERT_TRUE(pump_until([&] { return ::GetForegroundWindow() == film.hwnd(); }));
    tick();
    EXPECT_FALSE(is_topmost(a.get()));
  }
  bring_to_front(hwnd());
  tick();
  EXPECT_TRUE(is_topmost(a.get()));
}

}  // namespace
}  // namespace lorvane::test
