// The hold on raw input over a queue the test fills: how long the message loop may wait, across
// the tick count's wrap, and what is read when, in one go.
#include "control/raw_input_hold.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace lorvane::control {
namespace {

using platform::RawInputEvent;

constexpr RawInputEvent move{.mouse = true};
constexpr RawInputEvent button{.mouse = true, .button_down = true};
constexpr RawInputEvent key{.keyboard = true};
// Across the tick count's wrap.
constexpr DWORD asked = 0xFFFFFFF0u;

class RawInputHoldTest : public ::testing::Test {
 protected:
  // What waits in the queue, read in one go.
  RawInputEvent waiting_;
  // What reached the reader, read by read.
  std::vector<RawInputEvent> read_;
  RawInputHold hold_{[this](const RawInputEvent& input) { read_.push_back(input); },
                     first_raw_input_hold_ms, raw_input_hold_ms,
                     [this] { return std::exchange(waiting_, {}); }};
};

TEST_F(RawInputHoldTest, TheHoldRunsFromTheFirstAskAndAFirstHoldIsShort) {
  EXPECT_EQ(hold_.wait_left(asked), std::nullopt) << "nothing held";
  hold_.hold();
  ASSERT_EQ(hold_.wait_left(asked), first_raw_input_hold_ms);
  EXPECT_EQ(hold_.wait_left(asked + 5), first_raw_input_hold_ms - 5) << "a later ask keeps its end";
  EXPECT_EQ(hold_.wait_left(asked + first_raw_input_hold_ms), 0u) << "its time is up";
  EXPECT_EQ(hold_.wait_left(asked + 1000), 0u);
}

TEST_F(RawInputHoldTest, WhatWaitedIsReadInOneGoAndTheNextHoldsAreLongUntilOneFindsNone) {
  hold_.hold();
  hold_.wait_left(asked);
  waiting_ = move;
  waiting_ |= button;
  hold_.take();
  ASSERT_EQ(read_.size(), 1u) << "read in one go";
  EXPECT_TRUE(read_[0].mouse && read_[0].button_down);
  EXPECT_FALSE(waiting_.any());
  EXPECT_EQ(hold_.wait_left(asked), std::nullopt) << "the next hold begins when asked for";

  hold_.hold();
  EXPECT_EQ(hold_.wait_left(asked), raw_input_hold_ms) << "input keeps coming";
  hold_.take();
  EXPECT_EQ(read_.size(), 1u) << "nothing came: nothing is read";
  hold_.hold();
  EXPECT_EQ(hold_.wait_left(asked), first_raw_input_hold_ms);
  // Input kept coming, and then clicks are no longer watched: nothing waits, and the next hold
  // is short again.
  waiting_ = key;
  hold_.take();
  hold_.hold();
  hold_.release();
  EXPECT_EQ(hold_.wait_left(asked), std::nullopt);
  hold_.hold();
  EXPECT_EQ(hold_.wait_left(asked), first_raw_input_hold_ms);
}

TEST_F(RawInputHoldTest, UnheldWhatCameWithAMessageIsReadWithItHeldItWaits) {
  waiting_ = button;
  RawInputEvent came = hold_.with_what_came(move);
  EXPECT_TRUE(came.mouse && came.button_down) << "the click's buttons follow its move";
  hold_.hold();
  waiting_ = button;
  came = hold_.with_what_came(move);
  EXPECT_FALSE(came.button_down);
  EXPECT_TRUE(waiting_.button_down) << "left for the hold's end";
  EXPECT_TRUE(read_.empty());
}

TEST_F(RawInputHoldTest, AFailedWaitReadsWhatWasKeptAndNothingIsHeldAgain) {
  hold_.hold();
  waiting_ = key;
  hold_.wait_failed();
  ASSERT_EQ(read_.size(), 1u);
  EXPECT_TRUE(read_[0].keyboard);
  hold_.hold();
  EXPECT_EQ(hold_.wait_left(asked), std::nullopt) << "the wait would fail again";
  waiting_ = button;
  EXPECT_TRUE(hold_.with_what_came(move).button_down) << "input comes as it arrives";
}

}  // namespace
}  // namespace lorvane::control
