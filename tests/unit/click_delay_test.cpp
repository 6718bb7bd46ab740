#include "control/click_delay.h"

#include <gtest/gtest.h>

namespace lorvane::control {
namespace {

TEST(ClickDelay, AnExactClockIsAimedAtDirectly) {
  EXPECT_EQ(click_tick_delay_ms(1.0), 20u);
  EXPECT_EQ(click_tick_delay_ms(0.5), 20u);
  EXPECT_EQ(click_tick_delay_ms(0.0), 20u) << "a clock that cannot be read counts as exact";
}

TEST(ClickDelay, ACoarseClockFiresOnAverageAtTheAim) {
  // The default clock of Windows, 15.625 ms: armed for 12, it fires between 12 and 27.6 ms.
  unsigned delay = click_tick_delay_ms(15.625);
  EXPECT_EQ(delay, 12u);
  EXPECT_NEAR(delay + 15.625 / 2, 20.0, 0.5);
  EXPECT_EQ(click_tick_delay_ms(10.0), 15u);
}

TEST(ClickDelay, NeverBelowTheShortestTimer) {
  EXPECT_EQ(click_tick_delay_ms(25.0), 10u);
  EXPECT_EQ(click_tick_delay_ms(100.0), 10u);
}

}  // namespace
}  // namespace lorvane::control
