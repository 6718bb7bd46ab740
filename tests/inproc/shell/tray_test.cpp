// The notification-area icon: which of its callbacks bring the hidden main window back, and the
// icon itself in the shell's notification area.
#include "main_window_fixture.h"

namespace lorvane::test {
namespace {

class TrayTest : public MainWindowTest {
 protected:
  bool hidden_in_tray() { return ::IsIconic(hwnd()) && !::IsWindowVisible(hwnd()); }
  bool shown_normal() {
    return ::IsWindowVisible(hwnd()) && !::IsIconic(hwnd()) && !::IsZoomed(hwnd());
  }

  // A shell still starting, as at a slow logon: it refuses the first messages about the icon,
  // then answers as the real one does, and records what it was asked.
  void use_starting_shell(int refusals) {
    refusals_ = refusals;
    tray_shell_ = [this](DWORD message, NOTIFYICONDATAA& record) {
      asked_.push_back(message);
      if (message == NIM_DELETE || refusals_ == 0)
        return platform::tray::shell_notify(message, record);
      --refusals_;
      return false;
    };
  }
  // The window, which calls the shell as it goes, before the shell's record.
  void TearDown() override { window_.reset(); }

  int refusals_ = 0;
  std::vector<DWORD> asked_;
};

TEST_F(TrayTest, OnlyAButtonReleaseOverTheIconRestores) {
  start();
  ::ShowWindow(hwnd(), SW_MINIMIZE);
  ASSERT_TRUE(hidden_in_tray());
  for (UINT code : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                    WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}) {
    tray_event(code);
    EXPECT_TRUE(hidden_in_tray()) << std::hex << code;
  }
  // The code is the low word alone, where a real mouse move carries its x coordinate.
  ::SendMessageW(hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(WM_MOUSEMOVE, WM_LBUTTONUP));
  EXPECT_TRUE(hidden_in_tray());
  pump_until_empty();
  EXPECT_TRUE(hidden_in_tray());

  for (UINT code : {WM_LBUTTONUP, WM_RBUTTONUP}) {
    tray_event(code);
    EXPECT_TRUE(shown_normal()) << std::hex << code;
    ::ShowWindow(hwnd(), SW_MINIMIZE);
    ASSERT_TRUE(hidden_in_tray());
  }
  ::SendMessageW(hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(WM_LBUTTONUP, 0x1234));
  EXPECT_TRUE(shown_normal());
}

TEST_F(TrayTest, AMaximisedWindowComesBackMaximised) {
  start();
  ::ShowWindow(hwnd(), SW_MAXIMIZE);
  RECT maximised;
  ::GetWindowRect(hwnd(), &maximised);
  ::ShowWindow(hwnd(), SW_MINIMIZE);
  ASSERT_TRUE(hidden_in_tray());
  tray_event(WM_RBUTTONUP);
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_TRUE(::IsZoomed(hwnd()));
  RECT back;
  ::GetWindowRect(hwnd(), &back);
  EXPECT_TRUE(::EqualRect(&back, &maximised));
}

TEST_F(TrayTest, ARestoreOfAShownWindowChangesNothing) {
  start();
  ::SetWindowPos(hwnd(), nullptr, 30, 40, 400, 500, SWP_NOZORDER);
  RECT before;
  ::GetWindowRect(hwnd(), &before);
  // The two releases of a double click restore twice, with the same result as one.
  for (UINT code : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) tray_event(code);
  RECT after;
  ::GetWindowRect(hwnd(), &after);
  EXPECT_TRUE(::EqualRect(&before, &after));
  EXPECT_TRUE(shown_normal());
  EXPECT_EQ(window_->saved_window_state(), platform::WindowState::normal);

  ::ShowWindow(hwnd(), SW_MAXIMIZE);
  tray_event(WM_LBUTTONUP);
  EXPECT_TRUE(::IsZoomed(hwnd()));
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
}

TEST_F(TrayTest, TheMouseOverAShownWindowDoesNotTakeTheFocus) {
  // A window wide enough for the mouse to stand at column 514 of its client area, while another
  // program's window is in front: the code of a release arrives, and changes nothing.
  start();
  ::SetWindowPos(hwnd(), nullptr, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOMOVE);
  platform::UniqueWindow owner(show_window_of_class(L"LorvaneTrayTestOther", ::DefWindowProcW,
                                                    {50, 50, 250, 250}, nullptr, Shape::normal,
                                                    Activation::activated));
  HWND other = owner.get();
  ::SetForegroundWindow(other);
  ASSERT_TRUE(pump_until([&] { return ::GetForegroundWindow() == other; }));
  tray_event(WM_LBUTTONUP);
  pump_until_empty();
  EXPECT_EQ(::GetForegroundWindow(), other);
  EXPECT_TRUE(shown_normal());
  owner.reset();

  // Back from the tray, the window comes to the front.
  ::ShowWindow(hwnd(), SW_MINIMIZE);
  ASSERT_TRUE(hidden_in_tray());
  tray_event(WM_LBUTTONUP);
  EXPECT_TRUE(pump_until([&] { return ::GetForegroundWindow() == hwnd(); }));
}

TEST_F(TrayTest, ARestoreLeavesControlRunning) {
  write_ini(L"[Lorvane]\n登録数=1\nクラス名0=NoSuchWindowClass\n");
  start();
  ASSERT_TRUE(hidden_in_tray());
  ASSERT_TRUE(context().control_timer.enabled());
  tray_event(WM_LBUTTONUP);
  EXPECT_TRUE(shown_normal());
  EXPECT_TRUE(context().control_timer.enabled());
  EXPECT_EQ(context().start_stop_button.caption(), L"制御中");
}

TEST_F(TrayTest, TheIconLivesFromStartToCloseAndComesBackWithANewTaskbar) {
  start();
  HWND window = hwnd();
  EXPECT_TRUE(tray_icon_present(window));

  // A restarted taskbar knows no icons: the window adds its own again when told.
  ASSERT_TRUE(delete_tray_icon(window));
  ASSERT_FALSE(tray_icon_present(window));
  ::SendMessageW(window, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(tray_icon_present(window));
  EXPECT_TRUE(::IsWindowVisible(window));

  close();
  EXPECT_FALSE(tray_icon_present(window));
}

TEST_F(TrayTest, ARefusedIconIsAskedForAgainAndUntilThenTheWindowStaysOnTheTaskbar) {
  use_starting_shell(3);
  write_ini(L"[Lorvane]\n登録数=1\nクラス名0=NoSuchWindowClass\n");
  start();
  // Control started and minimised the window, which has nowhere to go but the taskbar.
  EXPECT_TRUE(::IsIconic(hwnd()) && ::IsWindowVisible(hwnd()));
  EXPECT_TRUE(window_->asking_for_tray_icon());
  ASSERT_TRUE(pump_until([&] { return window_->tray_icon_present(); }, std::chrono::seconds(10)));
  EXPECT_TRUE(tray_icon_present(hwnd()));
  EXPECT_FALSE(window_->asking_for_tray_icon());
  EXPECT_TRUE(hidden_in_tray());
  // An add that timed out may have reached the shell: each retry modifies before it adds.
  EXPECT_EQ(asked_, (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_ADD, NIM_MODIFY, NIM_ADD}));
  // With the icon there, minimising goes to the tray again.
  tray_event(WM_LBUTTONUP);
  ::ShowWindow(hwnd(), SW_MINIMIZE);
  EXPECT_TRUE(hidden_in_tray());
}

// Explorer restarted while the window was hidden in the tray, and the new taskbar refuses the
// icon at first: without an icon the hidden window would be out of reach.
TEST_F(TrayTest, ARefusedReAddWhileHiddenShowsTheWindowOnTheTaskbarUntilTheIconIsBack) {
  use_starting_shell(0);
  write_ini(L"[Lorvane]\n登録数=1\nクラス名0=NoSuchWindowClass\n");
  start();
  ASSERT_TRUE(hidden_in_tray());
  ASSERT_TRUE(delete_tray_icon(hwnd()));
  refusals_ = 2;
  ::SendMessageW(hwnd(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_FALSE(window_->tray_icon_present());
  EXPECT_TRUE(::IsIconic(hwnd()) && ::IsWindowVisible(hwnd())) << "minimised on the taskbar";
  EXPECT_NE(::GetForegroundWindow(), hwnd()) << "shown without taking the user's keyboard";
  ASSERT_TRUE(pump_until([&] { return window_->tray_icon_present(); }, std::chrono::seconds(10)));
  EXPECT_TRUE(hidden_in_tray());
  EXPECT_TRUE(context().control_timer.enabled());
}

TEST_F(TrayTest, AShellThatNeverTakesTheIconIsLeftAloneAfterTwoMinutes) {
  use_starting_shell(-1);   // refuses for good
  DWORD now = 0xFFFF0000u;  // the two minutes run across the tick count's wrap
  platform::InputClock clock;
  clock.tick_count = [&] { return now; };
  start(clock);
  ASSERT_TRUE(window_->asking_for_tray_icon());
  now += app::tray_retry_period_ms - 1;
  std::size_t asked = asked_.size();
  ASSERT_TRUE(pump_until([&] { return asked_.size() > asked; }, std::chrono::seconds(5)));
  EXPECT_TRUE(window_->asking_for_tray_icon());
  now += 1;
  EXPECT_TRUE(
      pump_until([&] { return !window_->asking_for_tray_icon(); }, std::chrono::seconds(5)));
}

}  // namespace
}  // namespace lorvane::test
