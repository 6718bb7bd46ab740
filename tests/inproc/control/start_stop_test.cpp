// Start/Stop behind the Start/Stop button, and the control timer it runs.
#include "control_test_support.h"

namespace lorvane::test {
namespace {

using namespace std::chrono_literals;
using app::id_start_stop_button;

class StartStopTest : public ControlTest {};

const std::wstring first_use_hint =
    L"初めて使用する場合、制御を行いたいウィンドウをすぐ選択できる状態にして、選択ボタンを押してく"
    L"ださい。";

bool minimised_and_hidden(HWND window) { return ::IsIconic(window) && !::IsWindowVisible(window); }

bool normal_and_visible(HWND window) {
  return !::IsIconic(window) && !::IsZoomed(window) && ::IsWindowVisible(window);
}

TEST_F(StartStopTest, StartWithAnEmptyListShowsTheFirstUseHintAndLeavesTheCaption) {
  context().front_display_option.set_caption(L"");
  click(id_start_stop_button);
  EXPECT_EQ(context().front_display_option.caption(), first_use_hint);
  EXPECT_EQ(context().start_stop_button.caption(), L"開始");
  EXPECT_FALSE(context().control_timer.enabled());
  EXPECT_TRUE(normal_and_visible(hwnd()));

  // Control running when the list is emptied: the next press stops the timer and brings the
  // window back, and the caption still says "制御中".
  add_targets({target_a});
  click(id_start_stop_button);
  ASSERT_TRUE(pump_until([&] { return minimised_and_hidden(hwnd()); }));
  context().target_list.clear();
  context().front_display_option.set_caption(L"");
  click(id_start_stop_button);
  EXPECT_EQ(context().front_display_option.caption(), first_use_hint);
  EXPECT_EQ(context().start_stop_button.caption(), L"制御中");
  EXPECT_FALSE(context().control_timer.enabled());
  EXPECT_EQ(platform::raw_input::registered().count, 0u);
  EXPECT_TRUE(pump_until([&] { return normal_and_visible(hwnd()); }));
  // The caption is the state: a hook's message that arrives now runs a tick over nothing.
  EXPECT_TRUE(control::control_running(context()));
  ::PostMessageW(hwnd(), control::foreground_changed_message, 0, 0);
  pump_until_empty();
  EXPECT_TRUE(normal_and_visible(hwnd()));
  EXPECT_EQ(context().front_display_option.caption(), first_use_hint);
  EXPECT_EQ(platform::raw_input::registered().count, 0u);
}

TEST_F(StartStopTest, StartAndStopToggleTheCaptionTheTimerAndTheWindow) {
  add_targets({missing_class});
  std::wstring status = context().front_display_option.caption();

  click(id_start_stop_button);
  EXPECT_EQ(context().start_stop_button.caption(), L"制御中");
  EXPECT_TRUE(context().control_timer.enabled());
  EXPECT_EQ(context().control_timer.interval(), 1000u);
  // Minimised, which the resize handling turns into hiding the window.
  EXPECT_TRUE(pump_until([&] { return minimised_and_hidden(hwnd()); }));

  click(id_start_stop_button);
  EXPECT_EQ(context().start_stop_button.caption(), L"開始");
  EXPECT_FALSE(context().control_timer.enabled());
  EXPECT_TRUE(pump_until([&] { return normal_and_visible(hwnd()); }));
  // A list with entries leaves the status line alone.
  EXPECT_EQ(context().front_display_option.caption(), status);

  // Any caption other than "開始" counts as running.
  context().start_stop_button.set_caption(L"開始 ");
  click(id_start_stop_button);
  EXPECT_EQ(context().start_stop_button.caption(), L"開始");
  EXPECT_FALSE(context().control_timer.enabled());
}

// The real timer: Start runs no tick itself, the timer's ticks follow at its one-second
// interval, and Stop ends them. How long the first one takes is the bench's to measure.
TEST_F(StartStopTest, TheControlTimerTicksEverySecondFromStartUntilStop) {
  platform::UniqueWindow target = make_window(target_a);
  add_targets({target_a});
  clock_.set_idle();
  click(id_start_stop_button);
  EXPECT_EQ(context().control_timer.interval(), 1000u);
  EXPECT_FALSE(is_topmost(target.get())) << "Start ticked at once";
  ASSERT_TRUE(pump_until([&] { return is_topmost(target.get()); }, 5s));

  // Taken down behind the program's back: the next tick raises it again.
  auto take_down = [&] {
    ::SetWindowPos(target.get(), HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  };
  take_down();
  ASSERT_TRUE(pump_until([&] { return is_topmost(target.get()); }, 3s))
      << "a second tick should follow one interval later";
  click(id_start_stop_button);
  take_down();
  std::size_t timers = messages_.count(hwnd(), WM_TIMER);
  // Nothing may come across more than the next tick's interval.
  pump_for(1300ms);
  EXPECT_FALSE(is_topmost(target.get())) << "the timer ticked after Stop";
  EXPECT_EQ(messages_.count(hwnd(), WM_TIMER), timers);
}

}  // namespace
}  // namespace lorvane::test
