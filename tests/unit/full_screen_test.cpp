#include "control/full_screen.h"

#include <gtest/gtest.h>

namespace lorvane::control {
namespace {

constexpr std::uint32_t popup = 0x80000000;         // WS_POPUP
constexpr std::uint32_t border = 0x00800000;        // WS_BORDER
constexpr std::uint32_t dialog_frame = 0x00400000;  // WS_DLGFRAME
constexpr std::uint32_t overlapped_window = 0x00CF0000;
constexpr int accepts_notifications = 5;  // QUNS_ACCEPTS_NOTIFICATIONS, what Wine reports
constexpr ScreenRect monitor{0, 0, 1920, 1080};

ForegroundFacts window_of(std::uint32_t style, ScreenRect rect, ScreenRect on = monitor) {
  ForegroundFacts fg;
  fg.exists = true;
  fg.style = style;
  fg.window = rect;
  fg.monitor = on;
  return fg;
}

TEST(FullScreen, ACaptionlessWindowOverItsWholeMonitorCounts) {
  EXPECT_TRUE(is_full_screen_work(window_of(popup, monitor), 0));
  // Larger than the monitor, as some games make it; half a title bar is no title bar.
  EXPECT_TRUE(is_full_screen_work(window_of(popup, {-5, -5, 1925, 1085}), 0));
  EXPECT_TRUE(is_full_screen_work(window_of(popup | border, monitor), 0));
  EXPECT_TRUE(is_full_screen_work(window_of(popup | dialog_frame, monitor), 0));
  // A second monitor left of the first: its own rectangle is the measure.
  constexpr ScreenRect left{-1280, 0, 0, 1024};
  EXPECT_TRUE(is_full_screen_work(window_of(popup, left, left), accepts_notifications));
  EXPECT_FALSE(is_full_screen_work(window_of(popup, monitor, left), 0));
}

TEST(FullScreen, ATitleBarOrAnUncoveredEdgeDoesNotCount) {
  // Maximised with the taskbar hidden: the frame lies beyond every edge, the title bar is there.
  EXPECT_FALSE(is_full_screen_work(window_of(overlapped_window, {-8, -8, 1928, 1088}), 0));
  // Covering the work area only (the taskbar shows), or one pixel short on any side.
  EXPECT_FALSE(is_full_screen_work(window_of(popup, {0, 0, 1920, 1040}), 0));
  EXPECT_FALSE(is_full_screen_work(window_of(popup, {1, 0, 1920, 1080}), 0));
  EXPECT_FALSE(is_full_screen_work(window_of(popup, {0, 1, 1920, 1080}), 0));
  EXPECT_FALSE(is_full_screen_work(window_of(popup, {0, 0, 1919, 1080}), 0));
  EXPECT_FALSE(is_full_screen_work(window_of(popup, {0, 0, 1920, 1079}), 0));
}

TEST(FullScreen, TheShellTheProgramItselfAndTheRegisteredWindowNeverCount) {
  for (bool ForegroundFacts::*flag :
       {&ForegroundFacts::shell, &ForegroundFacts::own, &ForegroundFacts::registered}) {
    ForegroundFacts fg = window_of(popup, monitor);
    fg.*flag = true;
    EXPECT_FALSE(is_full_screen_work(fg, accepts_notifications));
  }
  EXPECT_FALSE(is_full_screen_work(ForegroundFacts{}, 0)) << "no foreground window";
}

TEST(FullScreen, TheShellsReportOfFullScreenWorkCountsUnlessTheTargetIsInFront) {
  ForegroundFacts normal = window_of(overlapped_window, {100, 100, 900, 700});
  for (int state : {shell_busy, shell_direct3d_full_screen, shell_presentation_mode}) {
    EXPECT_TRUE(is_full_screen_work(normal, state)) << state;
    EXPECT_TRUE(is_full_screen_work(ForegroundFacts{}, state)) << state;
    ForegroundFacts player = window_of(popup, monitor);
    player.registered = true;
    EXPECT_FALSE(is_full_screen_work(player, state)) << state;
  }
  // Not present (1), accepting notifications (5), quiet time (6), an app (7), or no answer (0).
  for (int state : {0, 1, 5, 6, 7}) EXPECT_FALSE(is_full_screen_work(normal, state)) << state;
}

}  // namespace
}  // namespace lorvane::control
