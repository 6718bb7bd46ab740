// A registered window whose program has stopped answering must not stop the control tick: the
// moves are handed to the window's thread instead of waited for.
#include "control_test_support.h"

#include <future>

namespace lorvane::test {
namespace {

using namespace std::chrono_literals;

class HungTargetTest : public ControlTest {
 protected:
  // Runs one tick and returns how long it took. Should the tick block on the hung window, a
  // watchdog lets the window's thread go on after a few seconds, which ends the block: the test
  // then fails on the time taken instead of hanging the run.
  std::chrono::steady_clock::duration timed_tick() {
    std::promise<void> done;
    std::thread watchdog([&, finished = done.get_future()] {
      if (finished.wait_for(4s) == std::future_status::timeout) target_.resume();
    });
    auto started = std::chrono::steady_clock::now();
    tick();
    auto took = std::chrono::steady_clock::now() - started;
    done.set_value();
    watchdog.join();
    return took;
  }

  ThreadWindow target_{target_a};
};

TEST_F(HungTargetTest, TheTickDoesNotWaitForAHungWindow) {
  add_targets({target_a});
  bring_to_front(target_.hwnd());
  ASSERT_TRUE(pump_until([&] { return ::GetForegroundWindow() == target_.hwnd(); }));
  target_.hang();

  // The user is active and the hung window is in front: the bottom push.
  clock_.set_active();
  EXPECT_LT(timed_tick(), 2s);
  // The user is away: the raise.
  clock_.set_idle();
  EXPECT_LT(timed_tick(), 2s);

  // Nothing is lost: once the program answers again the moves land, the raise last.
  target_.resume();
  EXPECT_TRUE(pump_until([&] { return is_topmost(target_.hwnd()); }, 5s));
}

// Once the system counts the program as hung (no message taken for some seconds), nothing more is
// queued for it: neither push nor raise lands when it answers again. Nor does the next target
// take its raise, which the hung one would take back once it answers.
TEST_F(HungTargetTest, AProgramCountedAsHungIsLeftAloneUntilItAnswers) {
  platform::UniqueWindow next = make_window(target_b);
  add_targets({target_a, target_b});
  bring_to_front(target_.hwnd());
  ASSERT_TRUE(pump_until([&] { return ::GetForegroundWindow() == target_.hwnd(); }));
  target_.hang();
  ASSERT_TRUE(pump_until([&] { return ::IsHungAppWindow(target_.hwnd()) != FALSE; }, 15s));

  clock_.set_active();
  tick();
  clock_.set_idle();
  tick();
  EXPECT_FALSE(is_topmost(next.get()));
  target_.resume();
  // Answering again: what was asked of it while it hung has been handled.
  ASSERT_NE(::SendMessageTimeoutW(target_.hwnd(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr), 0);
  EXPECT_FALSE(is_topmost(target_.hwnd()));
  EXPECT_FALSE(is_last_visible(target_.hwnd()));

  // Answering again, it is raised at the next tick.
  ASSERT_TRUE(pump_until([&] { return ::IsHungAppWindow(target_.hwnd()) == FALSE; }));
  tick();
  EXPECT_TRUE(pump_until([&] { return is_topmost(target_.hwnd()); }, 5s));
}

}  // namespace
}  // namespace lorvane::test
