#include "control/full_screen.h"

#include <gtest/gtest.h>

namespace lorvane::control {
namespace {

constexpr std::uint32_t popup = 0x80000000, border = 0x00800000, overlapped = 0x00CF0000,
                        maximize = 0x01000000;
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
  // A borderless window whose place or monitor could not be read is not full screen: two empty
  // rectangles lie at the same place.
  EXPECT_FALSE(is_full_screen_work(window_of(popup, {}, {}), 0));
  EXPECT_FALSE(is_full_screen_work(window_of(popup, {}, {}), shell_busy));
}

// The facts as the tick reads them: where the frame cannot decide, its place and owner are left
// at zero, and whether it is the shell's too unless the shell's report needs it.
ForegroundFacts as_read(ForegroundFacts fg, int state) {
  if (frame_decides(fg.style)) return fg;
  ForegroundFacts unread;
  unread.exists = fg.exists;
  unread.registered = fg.registered;
  unread.maximised = fg.maximised;
  unread.style = fg.style;
  if (shell_decides(state)) unread.shell = fg.shell;
  return unread;
}

// Left unread, the facts are zero, and an empty rectangle "covers" an empty monitor: what is left
// unread never changes the answer, in any state of the shell.
TEST(FullScreen, WhatTheTickLeavesUnreadNeverChangesTheAnswer) {
  ForegroundFacts desktop = window_of(popup, monitor),
                  titled_desktop = window_of(overlapped, monitor);
  desktop.shell = titled_desktop.shell = true;
  ForegroundFacts own = window_of(overlapped, monitor);
  own.own = true;
  const ForegroundFacts windows[] = {window_of(overlapped, {100, 100, 900, 700}),
                                     window_of(overlapped, {-8, -8, 1928, 1088}),
                                     window_of(popup, monitor),
                                     window_of(popup | border, {100, 100, 900, 700}),
                                     desktop,
                                     titled_desktop,
                                     own};
  for (int state = 0; state <= 7; ++state) {
    for (const ForegroundFacts& fg : windows) {
      EXPECT_EQ(is_full_screen_work(as_read(fg, state), state), is_full_screen_work(fg, state))
          << "state " << state << ", style " << fg.style << ", shell " << fg.shell;
    }
  }
  // A window with a title bar, nothing of its place read, counts only by the shell's report.
  for (std::uint32_t style : {overlapped, popup, popup | border}) {
    ForegroundFacts unread;
    unread.exists = true;
    unread.style = style;
    EXPECT_EQ(frame_decides(style), style != overlapped) << style;
    if (!frame_decides(style)) {
      for (int state : {0, 1, shell_busy, 5, 6, 7}) {
        EXPECT_FALSE(is_full_screen_work(unread, state)) << state;
      }
    }
  }
}

// With some overlays on, the shell reports busy all the time, whatever is in front: the window
// in front decides by its own frame and place.
TEST(FullScreen, TheShellBusyAloneDecidesNothing) {
  ForegroundFacts desktop = window_of(popup, monitor);
  desktop.shell = true;
  EXPECT_FALSE(is_full_screen_work(desktop, shell_busy)) << "the desktop in front";
  EXPECT_FALSE(is_full_screen_work(window_of(overlapped, {100, 100, 900, 700}), shell_busy))
      << "an ordinary window";
  EXPECT_FALSE(is_full_screen_work(ForegroundFacts{}, shell_busy)) << "nothing in front";
  EXPECT_TRUE(is_full_screen_work(window_of(popup, {-5, -5, 1925, 1085}), shell_busy))
      << "a borderless window over its monitor";
  EXPECT_FALSE(is_full_screen_work(window_of(popup, {0, 0, 1919, 1080}), shell_busy))
      << "a borderless window short of it";
}

// Presentation mode is the user asking for quiet, whatever is in front; a Direct3D program full
// screen counts unless the desktop or the taskbar is in front. Neither counts for the target.
TEST(FullScreen, PresentationModeAndDirect3DFullScreenStillDecide) {
  ForegroundFacts taskbar = window_of(popup, {0, 1040, 1920, 1080});
  taskbar.shell = true;
  ForegroundFacts desktop = window_of(popup, monitor);
  desktop.shell = true;
  ForegroundFacts own = window_of(overlapped, {100, 100, 900, 700});
  own.own = true;
  ForegroundFacts maximised = window_of(overlapped | maximize, {-8, -8, 1928, 1088});
  maximised.maximised = true;
  ForegroundFacts ordinary = window_of(overlapped, {100, 100, 900, 700});
  for (const ForegroundFacts& fg : {ordinary, maximised, own, ForegroundFacts{}}) {
    EXPECT_TRUE(is_full_screen_work(fg, shell_presentation_mode));
    EXPECT_TRUE(is_full_screen_work(fg, shell_direct3d_full_screen));
  }
  for (const ForegroundFacts& shell : {desktop, taskbar}) {
    EXPECT_TRUE(is_full_screen_work(shell, shell_presentation_mode));
    EXPECT_FALSE(is_full_screen_work(shell, shell_direct3d_full_screen));
  }
  ForegroundFacts target = window_of(popup, monitor);
  target.registered = true;
  for (int state : {shell_busy, shell_direct3d_full_screen, shell_presentation_mode, 5}) {
    EXPECT_FALSE(is_full_screen_work(target, state)) << state;
  }
  for (int state : {0, 1, 5, 6, 7}) EXPECT_FALSE(is_full_screen_work(ordinary, state)) << state;
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
