// Control between ticks: the foreground hook's filter, the raised window and its return to the
// bottom, and which windows count as full-screen work.
#include "control_test_support.h"

namespace lorvane::test {
namespace {

using namespace std::chrono_literals;

TEST_F(ControlTest, AForegroundEventTicksOnlyWhenTheForegroundWindowHasChanged) {
  platform::UniqueWindow other = make_window(bystander);
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set_active();
  start_without_timer();
  bring_to_front(other.get());
  foreground_event();
  bring_to_front(a.get());
  foreground_event();
  EXPECT_TRUE(is_last_visible(a.get())) << "a foreground change runs the tick at once";

  // Raised without a change of the foreground window: the event that follows is dropped.
  ::SetWindowPos(a.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  std::size_t ticks = clock_.tick_count_calls();
  foreground_event();
  EXPECT_FALSE(is_last_visible(a.get()));
  EXPECT_EQ(clock_.tick_count_calls(), ticks);
}

TEST_F(ControlTest, AWindowLeftInFrontIsWatchedOftenEnoughThatALateClickSendsItBackAtOnce) {
  platform::UniqueWindow other = make_window(bystander);
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set_active();
  start_without_timer();
  bring_to_front(a.get());
  tick();
  ASSERT_TRUE(is_last_visible(a.get()));
  // Pushed down but still the foreground window, and nobody touches anything for a while.
  for (unsigned i = 0; i <= control::quiet_polls_before_slowing; ++i) {
    control::watch_poll(controls());
  }
  EXPECT_TRUE(controls().watch.poll_timer.enabled());
  EXPECT_LT(controls().watch.poll_timer.interval(), 100u) << "a click must go back within 100 ms";
  // The click raises it with no focus change; the next poll sees the input and pushes it.
  ::SetWindowPos(a.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  clock_.set(100100, 100100);
  control::watch_poll(controls());
  EXPECT_TRUE(is_last_visible(a.get()));
}

TEST_F(ControlTest, TheRaisedWindowGoesDownOnTheFirstInputAndIsForgotten) {
  platform::UniqueWindow other = make_window(bystander);
  add_targets({target_a});
  clock_.set_idle();
  start_without_timer();
  {
    platform::UniqueWindow gone = make_window(target_a);
    tick();
    ASSERT_EQ(controls().watch.raised, gone.get());
  }
  EXPECT_TRUE(pump_until([&] { return controls().watch.raised == nullptr; }, 2s));

  platform::UniqueWindow a = make_window(target_a);
  tick();
  ASSERT_TRUE(pump_until([&] { return is_topmost(a.get()); })) << "nobody touched anything";
  // The user comes back to another window in front (the raise could not activate it).
  clock_.set_active();
  bring_to_front(other.get());
  EXPECT_TRUE(pump_until([&] { return !is_topmost(a.get()); }, 2s));
  EXPECT_TRUE(is_last_visible(a.get()));
  EXPECT_EQ(::GetForegroundWindow(), other.get()) << "moved down without being activated";
  EXPECT_EQ(controls().watch.raised, nullptr);
  EXPECT_FALSE(controls().watch.poll_timer.enabled()) << "nothing is left to watch";

  // Stop forgets it: the user's return no longer moves it, and the hook is gone.
  clock_.set_idle();
  tick();
  ASSERT_TRUE(is_topmost(a.get()));
  click(app::id_start_stop_button);
  clock_.set_active();
  pump_for(200ms);
  EXPECT_TRUE(is_topmost(a.get()));
  EXPECT_FALSE(controls().watch.hook.has_value());
  start_without_timer();
  click(app::id_select_button);
  EXPECT_FALSE(controls().watch.hook.has_value()) << "Select stops control";
  controls().selection_timer.set_enabled(false);
}

TEST_F(ControlTest, OnlyACaptionlessWindowOfAnotherProgramOverTheWholeMonitorIsFullScreenWork) {
  // Registered as the class lookup finds them: case aside, but the whole name.
  add_targets({target_a, L"lorvanetesttargetb", L"LorvaneTestBy"});
  ThreadWindow film(bystander, Shape::full_screen);
  EXPECT_TRUE(control::full_screen_work(controls(), film.hwnd())) << "a prefix is no match";
  ThreadWindow player(target_b, Shape::full_screen);
  EXPECT_FALSE(control::full_screen_work(controls(), player.hwnd())) << "the wallpaper itself";
  EXPECT_FALSE(control::full_screen_work(controls(), ::GetDesktopWindow()));
  EXPECT_FALSE(control::full_screen_work(controls(), ::FindWindowW(L"Shell_TrayWnd", nullptr)));

  // Maximised and grown over the whole monitor, but with a title bar.
  ThreadWindow maximised(L"LorvaneTestMaximised", Shape::maximised);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(::MonitorFromWindow(maximised.hwnd(), MONITOR_DEFAULTTONEAREST), &info);
  const RECT& m = info.rcMonitor;
  ::SetWindowPos(maximised.hwnd(), nullptr, m.left - 8, m.top - 8, m.right - m.left + 16,
                 m.bottom - m.top + 16, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(::IsZoomed(maximised.hwnd()));
  EXPECT_FALSE(control::full_screen_work(controls(), maximised.hwnd()));
  // Nor without its title bar, as some players and editors show themselves maximised.
  LONG style = ::GetWindowLongW(maximised.hwnd(), GWL_STYLE);
  ::SetWindowLongW(maximised.hwnd(), GWL_STYLE, style & ~WS_CAPTION);
  ::SetWindowPos(maximised.hwnd(), nullptr, m.left - 8, m.top - 8, m.right - m.left + 16,
                 m.bottom - m.top + 16, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  ASSERT_TRUE(::IsZoomed(maximised.hwnd()));
  EXPECT_FALSE(control::full_screen_work(controls(), maximised.hwnd()));
}

}  // namespace
}  // namespace lorvane::test
