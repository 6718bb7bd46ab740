#include "control/idle.h"

#include <gtest/gtest.h>

namespace lorvane::control {
namespace {

constexpr std::int32_t threshold = 5000;

TEST(Idle, IdleOnlyStrictlyBeyondTheThreshold) {
  EXPECT_EQ(idle_time(15000, 10000), 5000);
  EXPECT_FALSE(is_idle(15000, 10000, threshold));
  EXPECT_TRUE(is_idle(15001, 10000, threshold));
  EXPECT_FALSE(is_idle(10000, 10000, threshold));
}

TEST(Idle, InputAfterTheTickCountIsActive) {
  // The tick count is taken before the last-input query; input in between comes out later.
  EXPECT_EQ(idle_time(1000, 1003), -3);
  EXPECT_FALSE(is_idle(1000, 1003, threshold));
}

TEST(Idle, CounterWrapAfterFortyNineDays) {
  EXPECT_EQ(idle_time(2, 0xFFFFFFFEu), 4);
  EXPECT_FALSE(is_idle(100, 0xFFFFFFFFu - 4899, threshold));  // 5000 ms across the wrap
  EXPECT_TRUE(is_idle(100, 0xFFFFFFFFu - 4900, threshold));   // 5001 ms across the wrap
  // Input just after the wrap, tick count taken just before it.
  EXPECT_EQ(idle_time(0xFFFFFFFFu, 1), -2);
  EXPECT_FALSE(is_idle(0xFFFFFFFFu, 1, threshold));
}

TEST(Idle, SignChangeAfterTwentyFourDays) {
  EXPECT_EQ(idle_time(0x80000000u, 0x7FFFFFFFu), 1);
  EXPECT_FALSE(is_idle(0x80000000u, 0x7FFFFFFFu, threshold));
  EXPECT_TRUE(is_idle(0x80000000u + 1000, 0x7FFFFFFFu - 4000, threshold));
  EXPECT_FALSE(is_idle(0x80000000u + 1000, 0x7FFFFFFFu - 3999, threshold));
}

TEST(Idle, FailedLastInputQueryCountsAsIdle) {
  // dwTime stays 0 when the query fails; the user then counts as idle once the machine has run
  // longer than the threshold...
  EXPECT_TRUE(is_idle(5001, 0, threshold));
  EXPECT_TRUE(is_idle(10u * 24 * 60 * 60 * 1000, 0, threshold));
  EXPECT_TRUE(is_idle(0x7FFFFFFFu, 0, threshold));
  // ...until the difference, read as signed, turns negative after 24.9 days.
  EXPECT_FALSE(is_idle(0x80000000u, 0, threshold));
}

}  // namespace
}  // namespace lorvane::control
