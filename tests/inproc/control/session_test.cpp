// What nobody seeing the desktop stops: a locked or disconnected session and a dark display, told
// of by the system's messages to the real window (Wine sends none of them), and the session's
// state asked at the tick where a message may not have come.
#include <functional>
#include <optional>

#include "control_test_support.h"

namespace lorvane::test {
namespace {

using platform::RawDevices;

class SessionTest : public ControlTest {};

// What the system sends when the session is locked, unlocked, disconnected or connected, and
// when the display's power state changes: Wine sends none of them.
void session_change(HWND main, WPARAM code) { ::SendMessageW(main, WM_WTSSESSION_CHANGE, code, 0); }

void display_state(HWND main, const GUID& setting, DWORD state) {
  struct {
    GUID setting;
    DWORD length;
    DWORD data;
  } message{setting, sizeof(DWORD), state};
  ::SendMessageW(main, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                 reinterpret_cast<LPARAM>(&message));
}

constexpr GUID console_display = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID monitor_power = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
constexpr GUID session_display = {
    0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};
constexpr GUID other_setting = {
    0x8619b916, 0xe004, 0x4dd8, {0x9b, 0x66, 0xda, 0xe8, 0x6f, 0x80, 0x66, 0x98}};

TEST_F(SessionTest, WhileNobodyCanSeeTheDesktopNothingIsRaisedAndNothingWaits) {
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set_idle();
  start_without_timer();
  // Each way of not being seen takes the raised window down and keeps it down at the ticks;
  // its end lets the next tick raise it again.
  struct Case {
    const char* what;
    std::function<void()> begin;
    std::function<void()> end;
  };
  HWND main = hwnd();
  const Case cases[] = {
      {"locked",
       [&] {
         session_.locked = std::optional<bool>(true);  // as the tick will find it
         session_change(main, WTS_SESSION_LOCK);
       },
       [&] {
         session_.locked = std::optional<bool>(false);
         session_change(main, WTS_SESSION_UNLOCK);
       }},
      {"console disconnected", [&] { session_change(main, WTS_CONSOLE_DISCONNECT); },
       [&] { session_change(main, WTS_CONSOLE_CONNECT); }},
      {"remote disconnected", [&] { session_change(main, WTS_REMOTE_DISCONNECT); },
       [&] { session_change(main, WTS_REMOTE_CONNECT); }},
      {"display off", [&] { display_state(main, console_display, 0); },
       [&] { display_state(main, console_display, 2); }},  // dimmed: someone may look
      {"monitor off (Windows 7)", [&] { display_state(main, monitor_power, 0); },
       [&] { display_state(main, monitor_power, 1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    tick();
    ASSERT_TRUE(is_topmost(a.get()));
    ASSERT_TRUE(listening_as_registered(RawDevices::mouse_and_keyboard));
    c.begin();
    EXPECT_FALSE(is_topmost(a.get()));
    EXPECT_TRUE(listening_as_registered(RawDevices::none));
    tick();
    EXPECT_FALSE(is_topmost(a.get())) << "no idle raise";
    // A registered window in front is still pushed, but no click on it is waited for.
    clock_.set_active();
    bring_to_front(a.get());
    tick();
    EXPECT_TRUE(is_last_visible(a.get()));
    EXPECT_TRUE(listening_as_registered(RawDevices::none));
    clock_.set_idle();
    c.end();
  }
  // Other power settings and session codes change nothing.
  tick();
  display_state(main, other_setting, 0);
  session_change(main, WTS_SESSION_LOGON);
  EXPECT_TRUE(is_topmost(a.get()));

  // Two at once: the session unlocked with the display still off is still unseen.
  session_change(main, WTS_SESSION_LOCK);
  display_state(main, console_display, 0);
  session_change(main, WTS_SESSION_UNLOCK);
  EXPECT_FALSE(raised_at_tick(a.get()));
  // Stop forgets what it heard: a new start may not hear of it again.
  click(app::id_start_stop_button);
  start_without_timer();
  EXPECT_TRUE(raised_at_tick(a.get()));
}

// Windows 7 tells only of the console's monitor, which reads off for the whole of a Remote
// Desktop session: there it says nothing about whether anyone looks. Whether the session is
// remote is read again as sessions connect and disconnect.
TEST_F(SessionTest, TheConsolesDisplayIsIgnoredInARemoteSession) {
  session_.console_display_only = true;
  session_.remote = true;
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set_idle();
  start_without_timer();
  HWND main = hwnd();
  display_state(main, monitor_power, 0);
  tick();
  EXPECT_TRUE(is_topmost(a.get())) << "raised in the remote session";

  // The user walks to the console: the remote session ends, the console connects.
  session_change(main, WTS_REMOTE_DISCONNECT);
  EXPECT_FALSE(is_topmost(a.get()));
  session_.remote = false;
  session_change(main, WTS_CONSOLE_CONNECT);
  EXPECT_FALSE(raised_at_tick(a.get())) << "the console's monitor is off";
  display_state(main, monitor_power, 1);
  EXPECT_TRUE(raised_at_tick(a.get()));
  display_state(main, monitor_power, 0);
  // And back to the remote desktop.
  session_change(main, WTS_CONSOLE_DISCONNECT);
  session_.remote = true;
  session_change(main, WTS_REMOTE_CONNECT);
  tick();
  EXPECT_TRUE(is_topmost(a.get()));
  click(app::id_start_stop_button);

  // Where the session's own display is told of (Windows 8 and later), its off counts everywhere.
  session_.console_display_only = false;
  click(app::id_start_stop_button);
  ASSERT_TRUE(control::control_running(context()));
  ASSERT_TRUE(raised_at_tick(a.get()));
  display_state(main, session_display, 0);
  EXPECT_FALSE(is_topmost(a.get())) << "brought down at once";
  EXPECT_FALSE(raised_at_tick(a.get()));
  display_state(main, session_display, 2);
  EXPECT_TRUE(raised_at_tick(a.get()));
}

// Early at logon the session's notifications are refused; the tick asks again until they hold,
// and then asks whether a lock came meanwhile. A lock whose unlock never arrives is asked about
// at every tick until the session reads unlocked; while it is not locked, nothing asks.
TEST_F(SessionTest, ASessionRegisteredLateAndAnUnlockUnheardAreAskedAtTheTick) {
  session_.registrations_to_refuse = 2;
  session_.locked = std::optional<bool>(false);
  platform::UniqueWindow a = make_window(target_a);
  add_targets({target_a});
  clock_.set_idle();
  start_without_timer();
  EXPECT_EQ(session_.registrations_asked, 1);
  tick();
  EXPECT_EQ(session_.registrations_asked, 2) << "refused: asked again at the tick";
  EXPECT_TRUE(is_topmost(a.get()));
  // Locked meanwhile, unheard: found as soon as the registration holds.
  session_.locked = std::optional<bool>(true);
  tick();
  EXPECT_EQ(session_.registrations_asked, 3);
  EXPECT_FALSE(is_topmost(a.get()));

  // Still locked at the next ticks; the question it cannot answer changes nothing.
  int asked = session_.lock_asked;
  tick();
  session_.locked = std::optional<bool>(std::nullopt);
  tick();
  EXPECT_EQ(session_.lock_asked, asked + 2);
  EXPECT_FALSE(is_topmost(a.get()));
  // Unlocked without a word: the tick after it raises again.
  session_.locked = std::optional<bool>(false);
  tick();
  EXPECT_TRUE(is_topmost(a.get()));
  asked = session_.lock_asked;
  tick();
  tick();
  EXPECT_EQ(session_.lock_asked, asked) << "asked while not locked";
  EXPECT_EQ(session_.registrations_asked, 3) << "asked again once it held";

  // A lock heard, its unlock not: the same.
  session_change(hwnd(), WTS_SESSION_LOCK);
  session_.locked = std::optional<bool>(true);
  EXPECT_FALSE(raised_at_tick(a.get()));
  session_.locked = std::optional<bool>(false);
  EXPECT_TRUE(raised_at_tick(a.get()));

  // Started while the session is locked: nothing is raised until it reads unlocked.
  click(app::id_start_stop_button);
  ::SetWindowPos(a.get(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  session_.locked = std::optional<bool>(true);
  click(app::id_start_stop_button);
  ASSERT_TRUE(control::control_running(context()));
  EXPECT_FALSE(raised_at_tick(a.get()));
}

// Wine has no lock screen: the real question reads the session unlocked, or cannot tell.
TEST_F(SessionTest, TheRealLockStateReadsUnlockedUnderWine) {
  std::optional<bool> locked = platform::session_state::locked();
  EXPECT_NE(locked, std::optional<bool>(true));
  EXPECT_EQ(platform::session_state::locked_by_flags(0, false), std::optional<bool>(true));
  EXPECT_EQ(platform::session_state::locked_by_flags(0, true), std::optional<bool>(false));
  EXPECT_EQ(platform::session_state::locked_by_flags(1, true), std::optional<bool>(true));
  EXPECT_EQ(platform::session_state::locked_by_flags(-1, false), std::nullopt);
}

}  // namespace
}  // namespace lorvane::test
