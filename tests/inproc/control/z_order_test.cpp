// The control tick's two moves on real windows: the idle raise of the first live target, and the
// bottom push of a target the user has brought to the front.
#include "control_test_support.h"

namespace lorvane::test {
namespace {

class ZOrderTest : public ControlTest {};

using namespace std::chrono_literals;

// The windows laid at the bottom in this order, right above the desktop stand-in that keeps
// itself last, and laid again while the late messages of an activation raise one meanwhile.
bool lay_on_desktop(const std::vector<HWND>& windows, HWND desktop) {
  auto laid = [&] {
    for (std::size_t i = 0; i < windows.size(); ++i) {
      HWND next = i + 1 < windows.size() ? windows[i + 1] : desktop;
      if (::GetWindow(windows[i], GW_HWNDNEXT) != next) return false;
    }
    return true;
  };
  return pump_until([&] {
    if (laid()) return true;
    for (HWND w : windows) {
      ::SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    return false;
  });
}

TEST_F(ZOrderTest, EntriesWithNoWindowAreSkippedAndTheFirstLiveOneIsRaised) {
  add_targets({missing_class, target_a, target_b});
  clock_.set_idle();
  tick();

  // Windows opened after Start are handled from the next tick on.
  platform::UniqueWindow b = make_window(target_b);
  platform::UniqueWindow a = make_window(target_a);
  bring_to_front(b.get());
  tick();
  EXPECT_TRUE(is_topmost(a.get()));
  EXPECT_FALSE(is_topmost(b.get()));
  EXPECT_LT(z_position(a.get()), z_position(b.get()));
  EXPECT_LT(z_position(a.get()), z_position(hwnd()));
  EXPECT_EQ(::GetForegroundWindow(), b.get()) << "the raise leaves the keyboard where it was";

  // Every tick while idle raises the same window again, and the later one stays untouched.
  ::SetWindowPos(a.get(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  tick();
  EXPECT_TRUE(is_topmost(a.get()));
  EXPECT_FALSE(is_topmost(b.get()));
}

TEST_F(ZOrderTest, TheForegroundTargetGoesBelowEveryWindowAndOthersStay) {
  platform::UniqueWindow other = make_window(bystander);
  platform::UniqueWindow b = make_window(target_b);
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a, target_b});

  // Raised while the user was away ...
  clock_.set_idle();
  tick();
  ASSERT_TRUE(is_topmost(a.get()));

  // ... then the user is back and clicks it. B lies above the bystander and the main window
  // without being the foreground window.
  bring_to_front(b.get());
  bring_to_front(a.get());
  ASSERT_EQ(::GetForegroundWindow(), a.get());
  int b_before = z_position(b.get());
  ASSERT_LT(b_before, z_position(other.get()));
  ASSERT_LT(b_before, z_position(hwnd()));
  clock_.set_active();
  tick();
  EXPECT_TRUE(is_last_visible(a.get()));
  EXPECT_FALSE(is_topmost(a.get()));
  EXPECT_LT(z_position(b.get()), z_position(other.get()));
  EXPECT_LT(z_position(b.get()), z_position(hwnd()));
  EXPECT_FALSE(is_last_visible(b.get()));

  // Still the foreground window: the next tick pushes it down again.
  ASSERT_EQ(::GetForegroundWindow(), a.get());
  ::SetWindowPos(a.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  ASSERT_FALSE(is_last_visible(a.get()));
  tick();
  EXPECT_TRUE(is_last_visible(a.get()));
}

// A move that would change nothing is not made: once the window lies where the move puts it, the
// tick only looks, and moves it again as soon as anything comes past it.
TEST_F(ZOrderTest, AWindowAlreadyWhereTheMoveWouldPutItIsNotMovedAgain) {
  platform::UniqueWindow other = make_window(bystander);
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a});

  clock_.set_idle();
  tick();
  tick();
  ASSERT_TRUE(is_topmost(a.get()));
  EXPECT_EQ(mover_.moves_of(a.get()), 1u) << "raised again while nothing was above it";
  ::SetWindowPos(other.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  tick();
  EXPECT_EQ(mover_.moves_of(a.get()), 2u);
  EXPECT_TRUE(is_below(other.get(), a.get()));
  ::SetWindowPos(other.get(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);

  clock_.set_active();
  bring_to_front(a.get());
  tick();
  tick();
  EXPECT_TRUE(is_last_visible(a.get()));
  EXPECT_FALSE(is_topmost(a.get()));
  EXPECT_EQ(mover_.moves_of(a.get()), 3u) << "pushed again while nothing was below it";
  // A hidden window that goes to the bottom after it is nothing the user sees over it; a window
  // the user can see takes its place.
  ::ShowWindow(other.get(), SW_HIDE);
  ::SetWindowPos(other.get(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  ASSERT_EQ(::GetForegroundWindow(), a.get());
  ASSERT_TRUE(is_below(other.get(), a.get()));
  tick();
  EXPECT_EQ(mover_.moves_of(a.get()), 3u) << "pushed again over a hidden window";
  ::ShowWindow(other.get(), SW_SHOWNOACTIVATE);
  ASSERT_EQ(::GetForegroundWindow(), a.get());
  ASSERT_TRUE(is_below(other.get(), a.get()));
  tick();
  EXPECT_EQ(mover_.moves_of(a.get()), 4u);
  EXPECT_TRUE(is_below(a.get(), other.get()));

  // Left where it is, it still counts as the registered window in front, whose clicks are watched.
  // (Wine puts the main window at the bottom as it hides: the first tick pushes once more.)
  start_without_timer();
  ASSERT_EQ(::GetForegroundWindow(), a.get());
  tick();
  std::size_t moves = mover_.moves_of(a.get());
  tick();
  EXPECT_EQ(mover_.moves_of(a.get()), moves);
  EXPECT_TRUE(listening_as_registered(platform::RawDevices::mouse));
}

// At the top is where the user sees nothing above it: the raised window's own palette, which
// Windows keeps above it, and a hidden topmost window (another program's tooltip) leave it there.
TEST_F(ZOrderTest, ARaisedWindowUnderItsOwnPaletteOrAHiddenTopmostWindowIsNotRaisedAgain) {
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set_idle();
  tick();
  ASSERT_TRUE(is_topmost(a.get()));
  platform::UniqueWindow palette = make_window(bystander, a.get());
  platform::UniqueWindow tooltip = make_hidden_window(bystander);
  ::SetWindowPos(tooltip.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  ASSERT_TRUE(is_below(a.get(), palette.get()));
  ASSERT_TRUE(is_below(a.get(), tooltip.get()));
  std::size_t moves = mover_.moves_of(a.get());
  tick();
  tick();
  EXPECT_EQ(mover_.moves_of(a.get()), moves) << "raised again under windows nobody sees over it";
  EXPECT_TRUE(is_topmost(a.get()));

  // The tooltip shows: it lies over the window now, which goes up again.
  ::ShowWindow(tooltip.get(), SW_SHOWNOACTIVATE);
  tick();
  EXPECT_TRUE(is_below(tooltip.get(), a.get()));
}

TEST_F(ZOrderTest, TheFrontDisplayOptionStopsTheRaiseButNotThePush) {
  platform::UniqueWindow b = make_window(target_b);
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a, target_b});
  context().front_display_option.set_ticked(true);
  clock_.set_idle();
  bring_to_front(a.get());
  tick();
  EXPECT_TRUE(is_last_visible(a.get()));
  EXPECT_FALSE(is_topmost(a.get()));
  EXPECT_FALSE(is_topmost(b.get()));
}

TEST_F(ZOrderTest, TheMainWindowIsNeverPushedButMayBeRaised) {
  platform::UniqueWindow other = make_window(bystander);
  add_targets({app::MainWindow::class_name});
  bring_to_front(hwnd());
  ASSERT_EQ(::GetForegroundWindow(), hwnd());
  int before = z_position(hwnd());
  clock_.set_active();
  tick();
  EXPECT_EQ(z_position(hwnd()), before);
  EXPECT_LT(z_position(hwnd()), z_position(other.get()));
  EXPECT_EQ(::GetForegroundWindow(), hwnd());

  clock_.set_idle();
  tick();
  EXPECT_TRUE(is_topmost(hwnd()));

  // Nor does the user's return after the raise move it down.
  start_without_timer();
  tick();
  EXPECT_TRUE(listening_as_registered(platform::RawDevices::none)) << "nothing waits for the user";
  clock_.set_active();
  tick();
  EXPECT_TRUE(is_topmost(hwnd()));
}

TEST_F(ZOrderTest, OfSeveralWindowsOfOneClassTheOneInFrontIsPushedAndLaterRaised) {
  platform::UniqueWindow first = make_window(target_a);
  platform::UniqueWindow second = make_window(target_a);
  add_targets({target_a});
  // The user works in one of them while the other lies above it.
  bring_to_front(first.get());
  ::SetWindowPos(second.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  ASSERT_EQ(::GetForegroundWindow(), first.get());
  // The class lookup would return the upper one; the push takes the one in front.
  ASSERT_EQ(::FindWindowW(target_a, nullptr), second.get());
  int second_before = z_position(second.get());
  clock_.set_active();
  tick();
  EXPECT_TRUE(is_last_visible(first.get()));
  EXPECT_EQ(z_position(second.get()), second_before);

  // The raise takes the one the user worked in, though the other lies higher.
  clock_.set_idle();
  tick();
  EXPECT_TRUE(is_topmost(first.get()));
  EXPECT_FALSE(is_topmost(second.get()));
}

// A form's owner changes while the form lives (WinForms changes it with ShowInTaskbar or Owner,
// classic Delphi with PopupParent): the push moves the owner the window has now, which Windows
// keeps below it.
TEST_F(ZOrderTest, AWindowWhoseOwnerChangedIsPushedWithItsNewOwner) {
  platform::UniqueWindow first_owner = make_hidden_window(bystander);
  platform::UniqueWindow second_owner = make_hidden_window(bystander);
  platform::UniqueWindow work = make_window(bystander);
  platform::UniqueWindow a = make_window(target_a, first_owner.get());
  add_targets({target_a});
  clock_.set_active();
  ASSERT_EQ(::GetForegroundWindow(), a.get());
  tick();
  ASSERT_TRUE(is_last_visible(a.get()));

  // Owned now by a window that lies above the user's work.
  ::SetWindowLongPtrW(a.get(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(second_owner.get()));
  ASSERT_EQ(::GetWindow(a.get(), GW_OWNER), second_owner.get());
  ::SetWindowPos(second_owner.get(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  bring_to_front(a.get());
  ASSERT_TRUE(is_below(work.get(), second_owner.get()));
  tick();
  EXPECT_TRUE(is_last_visible(a.get()));
  EXPECT_TRUE(is_below(a.get(), work.get()));
}

// A window of another thread is placed asynchronously: the move lands once its thread gets to it.
TEST_F(ZOrderTest, AWindowOfAnotherThreadIsMovedToo) {
  ThreadWindow target(target_a);
  platform::UniqueWindow other = make_window(bystander);
  add_targets({target_a});
  bring_to_front(target.hwnd());
  ASSERT_TRUE(pump_until([&] { return ::GetForegroundWindow() == target.hwnd(); }));

  clock_.set_active();
  tick();
  EXPECT_TRUE(pump_until([&] { return is_last_visible(target.hwnd()); }, 5s));

  clock_.set_idle();
  tick();
  EXPECT_TRUE(pump_until([&] { return is_topmost(target.hwnd()); }, 5s));
  EXPECT_FALSE(is_topmost(other.get()));
}

// A window of a program running as administrator refuses every move (the seam stands for it).
TEST_F(ZOrderTest, AWindowThatRefusesToMoveIsNeitherPushedNorRaisedAndTheStatusLineSaysSoOnce) {
  platform::UniqueWindow b = make_window(target_b);
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a, target_b});
  mover_.refuse(a.get());
  start_without_timer();
  const std::wstring refused = control::unmovable_text(target_a);

  // The user works in A: the push is refused, and nothing polls for it.
  clock_.set_active();
  bring_to_front(a.get());
  tick();
  EXPECT_FALSE(is_last_visible(a.get()));
  EXPECT_TRUE(listening_as_registered(platform::RawDevices::none));
  EXPECT_EQ(context().front_display_option.caption(), refused);
  // Said once until control stops.
  context().front_display_option.set_caption(L"前面表示しない。");
  tick();
  EXPECT_EQ(context().front_display_option.caption(), L"前面表示しない。");

  // The user is away: B, the next live target, is raised in A's place, and waits for the user.
  clock_.set_idle();
  tick();
  EXPECT_FALSE(is_topmost(a.get()));
  EXPECT_TRUE(is_topmost(b.get()));

  // Stopped and started again, it is said afresh.
  control::start_stop(context());
  start_without_timer();
  tick();
  EXPECT_EQ(context().front_display_option.caption(), refused);
}

// A program whose process we may not open (another user's, or one guarding its process) is not
// known to run as administrator: its windows are moved as any, and the ticks after look whether
// the moves took.
//
// Over a desktop kept last, as Windows keeps it: a pushed window never lies last of all there.
TEST_F(ZOrderTest, AWindowOfAnUnreadableProgramIsMovedAndRefusedOnlyWhenItsMovesNeverTake) {
  DesktopStandIn desktop;
  ASSERT_TRUE(desktop.started());
  platform::UniqueWindow b = make_window(target_b);
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a, target_b});
  mover_.cannot_read(a.get(), true);
  start_without_timer();
  const std::wstring option = context().front_display_option.caption();

  // Its moves take: pushed time after time, each looked at a tick later, and raised, as any
  // other window; the status line says nothing.
  constexpr int pushes = control::MoveCheck::misses_before_refused + 1;
  clock_.set_active();
  for (int i = 0; i < pushes; ++i) {
    bring_to_front(a.get());
    tick();
    // The stand-in, another program, puts itself back last meanwhile.
    EXPECT_TRUE(pump_until([&] { return is_last_visible(a.get()); }, 2s)) << "push " << i;
    EXPECT_TRUE(is_below(a.get(), b.get())) << "push " << i;
    clock_.advance(control::MoveCheck::look_after_ms);
    tick();
  }
  EXPECT_EQ(mover_.moves_of(a.get()), static_cast<std::size_t>(pushes));
  EXPECT_EQ(context().front_display_option.caption(), option);
  clock_.set_idle();
  for (int i = 0; i < control::MoveCheck::misses_before_refused + 1; ++i) {
    tick();
    clock_.advance(control::MoveCheck::look_after_ms);
  }
  EXPECT_TRUE(is_topmost(a.get()));
  EXPECT_EQ(context().front_display_option.caption(), option);
  control::start_stop(context());

  // Its moves never take: each tick tries again until it counts as refused; then B is raised in
  // its place and the status line says A cannot be moved, without a reason it does not know.
  ::SetWindowPos(a.get(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  mover_.cannot_read(a.get(), false);
  start_without_timer();
  for (int i = 0; i < control::MoveCheck::misses_before_refused; ++i) {
    // Its raise reports success: the user's return is waited for, though it never took.
    EXPECT_TRUE(listening_as_registered(i == 0 ? platform::RawDevices::none
                                               : platform::RawDevices::mouse_and_keyboard))
        << "tick " << i;
    tick();
    clock_.advance(control::MoveCheck::look_after_ms);
  }
  EXPECT_FALSE(is_topmost(b.get()));
  std::size_t tries = mover_.moves_of(a.get());
  tick();
  EXPECT_FALSE(is_topmost(a.get()));
  EXPECT_TRUE(is_topmost(b.get()));
  EXPECT_EQ(context().front_display_option.caption(), control::cannot_move_text(target_a));
  EXPECT_NE(context().front_display_option.caption(), control::unmovable_text(target_a));
  tick();
  EXPECT_EQ(mover_.moves_of(a.get()), tries) << "a refusing window is no longer moved";
}

// The player lies on the desktop already, right above it, when it is pushed: as the wizard's test
// move leaves it, or an earlier run. Nothing can put it lower, so its place tells nothing of the
// push; its program showing it again before a tick has passed is no refusal either.
TEST_F(ZOrderTest, AnUnreadableWindowPushedFromRightAboveTheDesktopIsNeverCountedAsRefused) {
  DesktopStandIn desktop;
  ASSERT_TRUE(desktop.started());
  platform::UniqueWindow work = make_window(bystander);
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  mover_.cannot_read(a.get(), true);
  const std::wstring option = context().front_display_option.caption();
  clock_.set_active();
  for (int i = 0; i < control::MoveCheck::misses_before_refused; ++i) {
    bring_to_front(a.get());
    ASSERT_TRUE(lay_on_desktop({a.get()}, desktop.window()));
    ASSERT_EQ(::GetForegroundWindow(), a.get());
    tick();
    EXPECT_TRUE(is_last_visible(a.get())) << "round " << i;
    // The user goes back to work, and the player's program shows it over the work.
    bring_to_front(work.get());
    ::SetWindowPos(a.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    clock_.advance(control::MoveCheck::look_after_ms);
    tick();
  }
  bring_to_front(a.get());
  tick();
  EXPECT_TRUE(is_last_visible(a.get())) << "still pushed";
  EXPECT_EQ(context().front_display_option.caption(), option);
}

// A window whose moves never take, lying at the bottom as the user sees it (only a hidden window
// between it and the desktop): where it lies tells nothing of the push. It is caught once it lies
// above the user's work and stays there.
TEST_F(ZOrderTest, AWindowAtTheBottomAsSeenGivesNoVerdictAndARefusingOneIsCaughtLater) {
  DesktopStandIn desktop;
  ASSERT_TRUE(desktop.started());
  platform::UniqueWindow work = make_window(bystander);
  platform::UniqueWindow hidden = make_hidden_window(bystander);
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  mover_.cannot_read(a.get(), false);
  const std::wstring option = context().front_display_option.caption();
  clock_.set_active();
  for (int i = 0; i <= control::MoveCheck::misses_before_refused; ++i) {
    bring_to_front(work.get());
    tick();
    bring_to_front(a.get());
    ASSERT_TRUE(lay_on_desktop({a.get(), hidden.get()}, desktop.window()));
    tick();
    clock_.advance(control::MoveCheck::look_after_ms);
    tick();
  }
  EXPECT_EQ(context().front_display_option.caption(), option);

  bring_to_front(a.get());
  for (int i = 0; i <= control::MoveCheck::misses_before_refused; ++i) {
    tick();
    clock_.advance(control::MoveCheck::look_after_ms);
  }
  EXPECT_EQ(context().front_display_option.caption(), control::cannot_move_text(target_a));
}

}  // namespace
}  // namespace lorvane::test
