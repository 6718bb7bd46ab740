// The About box: it takes the main window's place while open and gives it back as it was.
#include "app/twips.h"
#include "main_window_fixture.h"

namespace lorvane::test {
namespace {

class AboutBoxTest : public MainWindowTest {
 protected:
  // Presses the About button and returns the box it opened.
  HWND open_about() {
    click(app::id_about_button);
    return window_->about_box();
  }
};

BOOL CALLBACK count_about_box(HWND window, LPARAM counter) {
  wchar_t name[32] = {};
  ::GetClassNameW(window, name, 32);
  if (::lstrcmpW(name, L"LorvaneAbout") == 0) ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

int about_boxes() {
  int n = 0;
  ::EnumWindows(count_about_box, reinterpret_cast<LPARAM>(&n));
  return n;
}

TEST_F(AboutBoxTest, OpensInPlaceOfTheMainWindowAndItsButtonGivesItBack) {
  start();
  HWND about = open_about();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about_boxes(), 1);
  EXPECT_EQ(::FindWindowW(L"LorvaneAbout", L"Lorvane"), about);
  EXPECT_TRUE(::IsWindowVisible(about));
  EXPECT_FALSE(::IsWindowVisible(hwnd()));
  EXPECT_EQ(::GetParent(about), nullptr);

  int dpi = static_cast<int>(::GetDpiForWindow(about));
  RECT client;
  ::GetClientRect(about, &client);
  EXPECT_EQ(client.right, app::twips_to_pixels(3630, dpi));
  EXPECT_EQ(client.bottom, app::twips_to_pixels(1410, dpi));

  HWND close_button = ::GetDlgItem(about, IDOK);
  ASSERT_NE(close_button, nullptr);
  EXPECT_EQ(platform::window_text(close_button), L"閉じる");
  EXPECT_EQ(::GetFocus(), close_button);

  ::SendMessageW(close_button, BM_CLICK, 0, 0);
  EXPECT_FALSE(::IsWindow(about));
  EXPECT_EQ(about_boxes(), 0);
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_FALSE(::IsIconic(hwnd()));
  EXPECT_FALSE(::IsZoomed(hwnd()));
}

TEST_F(AboutBoxTest, AMaximisedWindowComesBackMaximisedWhicheverWayTheBoxCloses) {
  start();
  ::ShowWindow(hwnd(), SW_MAXIMIZE);
  RECT maximised;
  ::GetWindowRect(hwnd(), &maximised);

  HWND about = open_about();
  ASSERT_NE(about, nullptr);
  ::SendMessageW(::GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_TRUE(::IsZoomed(hwnd()));

  // The close box of its title bar does the same as its button.
  about = open_about();
  ASSERT_NE(about, nullptr);
  ::SendMessageW(about, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(about));
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_TRUE(::IsZoomed(hwnd()));
  RECT back;
  ::GetWindowRect(hwnd(), &back);
  EXPECT_TRUE(::EqualRect(&back, &maximised));
  EXPECT_EQ(window_->saved_window_state(), platform::WindowState::maximised);
}

TEST_F(AboutBoxTest, PressedAgainBesideTheOpenBoxItHidesTheWindowAndKeepsOneBox) {
  start();
  HWND about = open_about();
  ASSERT_NE(about, nullptr);
  tray_event(WM_LBUTTONUP);
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_TRUE(::IsWindowVisible(about));

  EXPECT_EQ(open_about(), about);
  EXPECT_FALSE(::IsWindowVisible(hwnd()));
  EXPECT_TRUE(::IsWindowVisible(about));
  EXPECT_EQ(about_boxes(), 1);

  ::SendMessageW(about, WM_CLOSE, 0, 0);
  EXPECT_EQ(about_boxes(), 0);
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
}

TEST_F(AboutBoxTest, ClosingItAfterATrayRestoreLeavesTheWindowShown) {
  start();
  HWND about = open_about();
  ASSERT_NE(about, nullptr);
  tray_event(WM_RBUTTONUP);
  ::SendMessageW(::GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
  EXPECT_FALSE(::IsWindow(about));
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_FALSE(::IsIconic(hwnd()));
}

TEST_F(AboutBoxTest, TheControlCycleIsNotTouched) {
  // Stopped.
  start();
  open_about();
  EXPECT_FALSE(context().control_timer.enabled());
  ::SendMessageW(window_->about_box(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(context().control_timer.enabled());
  EXPECT_EQ(context().start_stop_button.caption(), L"開始");
  close();

  // Running, with the window brought back from the tray.
  write_ini(L"[Lorvane]\n登録数=1\nクラス名0=NoSuchWindowClass\n");
  start();
  tray_event(WM_LBUTTONUP);
  ASSERT_TRUE(context().control_timer.enabled());
  HWND about = open_about();
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(context().control_timer.enabled());
  ::SendMessageW(::GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(context().control_timer.enabled());
  EXPECT_EQ(context().start_stop_button.caption(), L"制御中");
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
}

}  // namespace
}  // namespace lorvane::test
