// Whether a tick finds the user idle, read from how it places a registered window that is not the
// foreground window: idle raises it topmost, active leaves it alone.
#include "control_test_support.h"

namespace lorvane::test {
namespace {

struct IdleCase {
  const char* name;
  DWORD now;
  std::optional<DWORD> last_input;  // none: the query fails and leaves dwTime as it was
  bool idle;
};

const IdleCase idle_cases[] = {
    {"exactly the threshold", 10000, 5000, false},
    {"one past the threshold", 10001, 5000, true},
    {"input after the tick count was taken", 100, 200, false},
    {"counter wrapped, 4196 ms", 100, 0xFFFFF000, false},
    {"counter wrapped, 10192 ms", 2000, 0xFFFFE000, true},
    {"sign change, 512 ms", 0x80000100, 0x7FFFFF00, false},
    {"sign change, 8192 ms", 0x80001000, 0x7FFFF000, true},
    {"input after the tick count, across the sign change", 0x7FFFFF00, 0x80000100, false},
    {"failed query at 5000 ms", 5000, std::nullopt, false},
    {"failed query at 5001 ms", 5001, std::nullopt, true},
};

class IdleDecisionTest : public ControlTest {
 protected:
  // One tick with the clock as given; true when it raised the target.
  bool tick_raises(DWORD now, std::optional<DWORD> last_input) {
    ::SetWindowPos(target_.get(), HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    bring_to_front(hwnd());
    clock_.set(now, last_input);
    tick();
    return is_topmost(target_.get());
  }

  platform::UniqueWindow target_ = make_window(target_a);
};

TEST_F(IdleDecisionTest, IdleOnlyStrictlyBeyondTheThresholdAcrossWrapAndSignChange) {
  add_targets({target_a});
  for (const IdleCase& c : idle_cases) {
    EXPECT_EQ(tick_raises(c.now, c.last_input), c.idle) << c.name;
  }
}

TEST_F(IdleDecisionTest, TheThresholdIsReadFromTheIdleThresholdBoxAtEachTick) {
  add_targets({target_a});
  context().idle_threshold_box.set_text(L"8000");
  EXPECT_FALSE(tick_raises(10000, 2000));
  EXPECT_TRUE(tick_raises(10001, 2000));
  context().idle_threshold_box.set_text(L"5000");
  EXPECT_TRUE(tick_raises(10000, 2000));
}

TEST_F(IdleDecisionTest, TheTickCountIsTakenFirstAndTheRecordIsFreshAndSized) {
  platform::UniqueWindow second = make_window(target_b);
  add_targets({missing_class, target_a, target_b});
  using Call = FakeClock::Call;

  // Active: one pair of queries for the whole tick, taken at the first live entry, though two
  // entries are live.
  clock_.set_active();
  tick();
  std::vector<Call> calls = clock_.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].kind, Call::tick_count);
  EXPECT_EQ(calls[1].kind, Call::last_input_info);
  EXPECT_EQ(calls[1].cb_size, 8u);
  EXPECT_EQ(calls[1].dw_time, 0u);

  // The next tick starts from a zeroed record again, not from the last reading of the one
  // before, so a failing query counts as idle; and the raise ends the tick before the later
  // entry is looked at.
  clock_.clear_calls();
  clock_.set(6000, std::nullopt);
  tick();
  calls = clock_.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].dw_time, 0u);
  EXPECT_TRUE(is_topmost(target_.get()));
  EXPECT_FALSE(is_topmost(second.get()));
}

TEST_F(IdleDecisionTest, TheFrontDisplayOptionSkipsTheClockAndTheRaise) {
  add_targets({target_a});
  context().front_display_option.set_ticked(true);
  EXPECT_FALSE(tick_raises(100000, 0));
  EXPECT_TRUE(clock_.calls().empty());
  // Unticking takes effect at the next tick.
  context().front_display_option.set_ticked(false);
  EXPECT_TRUE(tick_raises(100000, 0));
}

}  // namespace
}  // namespace lorvane::test
