#include "control/full_screen.h"

#include <gtest/gtest.h>

namespace lorvane::control {
namespace {

constexpr std::uint32_t popup = 0x80000000, border = 0x00800000, overlapped = 0x00CF0000;
constexpr ScreenRect monitor{0, 0, 1920, 1080};

ForegroundFacts window_of(std::uint32_t style, ScreenRect rect, ScreenRect on = monitor) {
  return {.exists = true, .style = style, .window = rect, .monitor = on};
}

TEST(FullScreen, ACaptionlessWindowOverItsWholeMonitorOnly) {
  EXPECT_TRUE(is_full_screen_work(window_of(popup, {-5, -5, 1925, 1085}), 0));
  EXPECT_TRUE(is_full_screen_work(window_of(popup | border, monitor), 0)) << "half a title bar";
  constexpr ScreenRect left{-1280, 0, 0, 1024};  // a second monitor left of the first
  EXPECT_TRUE(is_full_screen_work(window_of(popup, left, left), 0));
  EXPECT_FALSE(is_full_screen_work(window_of(popup, monitor, left), 0));
  // Maximised with the taskbar hidden: beyond every edge, but with a title bar.
  EXPECT_FALSE(is_full_screen_work(window_of(overlapped, {-8, -8, 1928, 1088}), 0));
  for (ScreenRect short_by_one : {ScreenRect{1, 0, 1920, 1080}, ScreenRect{0, 1, 1920, 1080},
                                  ScreenRect{0, 0, 1919, 1080}, ScreenRect{0, 0, 1920, 1079}}) {
    EXPECT_FALSE(is_full_screen_work(window_of(popup, short_by_one), 0));
  }
}

// The tick reads a window's place and owner only where its frame can decide; left unread, they
// are zero, and an empty rectangle "covers" an empty monitor.
TEST(FullScreen, AWindowWithATitleBarIsDecidedWithoutItsPlace) {
  for (std::uint32_t style : {overlapped, popup, popup | border}) {
    ForegroundFacts unread;
    unread.exists = true;
    unread.style = style;
    EXPECT_EQ(frame_decides(style), style != overlapped) << style;
    if (!frame_decides(style)) {
      for (int state : {0, 1, 5, 6, 7}) EXPECT_FALSE(is_full_screen_work(unread, state)) << state;
    }
  }
}

TEST(FullScreen, TheShellsReportCountsButNeitherCountsForTheShellTheProgramOrTheTarget) {
  for (bool ForegroundFacts::*flag :
       {&ForegroundFacts::shell, &ForegroundFacts::own, &ForegroundFacts::registered}) {
    ForegroundFacts fg = window_of(popup, monitor);
    fg.*flag = true;
    EXPECT_FALSE(is_full_screen_work(fg, 5));  // QUNS_ACCEPTS_NOTIFICATIONS, as Wine answers
    EXPECT_EQ(is_full_screen_work(fg, shell_busy), flag != &ForegroundFacts::registered);
  }
  ForegroundFacts normal = window_of(overlapped, {100, 100, 900, 700});
  for (int state : {shell_busy, shell_direct3d_full_screen, shell_presentation_mode}) {
    EXPECT_TRUE(is_full_screen_work(normal, state)) << state;
    EXPECT_TRUE(is_full_screen_work(ForegroundFacts{}, state)) << state;
  }
  for (int state : {0, 1, 5, 6, 7}) EXPECT_FALSE(is_full_screen_work(normal, state)) << state;
}

// Maximised without a title bar over a hidden taskbar: the shape of full-screen work, and the
// shell calls it busy, but the user works in it. A film or a presentation still counts.
TEST(FullScreen, AMaximisedWindowIsNeverFullScreenWorkButTheShellsFullScreenStatesStillCount) {
  ForegroundFacts maximised = window_of(popup, {-8, -8, 1928, 1088});
  maximised.maximised = true;
  EXPECT_FALSE(is_full_screen_work(maximised, 0));
  EXPECT_FALSE(is_full_screen_work(maximised, shell_busy));
  EXPECT_TRUE(is_full_screen_work(maximised, shell_direct3d_full_screen));
  EXPECT_TRUE(is_full_screen_work(maximised, shell_presentation_mode));
}

}  // namespace
}  // namespace lorvane::control
