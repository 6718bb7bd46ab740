// Closing the main window by any means saves the list and the option and ends the window, the
// About box with it.
#include <thread>

#include "main_window_fixture.h"

namespace lorvane::test {
namespace {

class CloseSequenceTest : public MainWindowTest {};

// Records whether a window was shown, seen in every message its thread sends it.
HWND watched_window = nullptr;
bool watched_window_shown = false;

LRESULT CALLBACK watch_show(int code, WPARAM wparam, LPARAM lparam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
  if (code == HC_ACTION && sent->hwnd == watched_window && sent->message == WM_SHOWWINDOW &&
      sent->wParam != FALSE) {
    watched_window_shown = true;
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(CloseSequenceTest, ClosingWhileControlRunsSavesTheListAndTheOption) {
  write_ini(L"[Lorvane]\n登録数=1\nクラス名0=A\nクラス名1=\n");
  start();
  ASSERT_TRUE(context().control_timer.enabled());
  tray_event(WM_LBUTTONUP);
  context().target_list.append(L"B");
  click(app::id_front_display_option);
  // Nothing asks: the window is gone when the close returns.
  ::SendMessageW(hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(hwnd(), nullptr);
  EXPECT_EQ(ini_bytes(),
            ini_file_bytes(L"[Lorvane]\n登録数=2\nクラス名0=A\nクラス名1=B\nクラス名2=\n"
                           L"前面表示設定=1\n"));
}

TEST_F(CloseSequenceTest, TheEndOfTheSessionSavesAsAClose) {
  start();
  context().target_list.append(L"A");
  // Asked whether the session may end, the window agrees and keeps going until it does end.
  EXPECT_EQ(::SendMessageW(hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
  ::SendMessageW(hwnd(), WM_ENDSESSION, FALSE, 0);
  ASSERT_NE(hwnd(), nullptr);
  EXPECT_FALSE(file_exists(ini_path()));

  ::SendMessageW(hwnd(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(hwnd(), nullptr);
  EXPECT_EQ(ini_bytes(),
            ini_file_bytes(L"[Lorvane]\n登録数=1\nクラス名0=A\nクラス名1=\n前面表示設定=0\n"));
}

// A busy shell keeps the start-up waiting in its add of the icon, and the session ends in there,
// before the settings are read: the stored list must survive, not be saved over with nothing.
TEST_F(CloseSequenceTest, ASessionEndingBeforeTheStartUpLoadSavesNothing) {
  const std::wstring stored = L"[Lorvane]\n前面表示設定=1\n登録数=1\nクラス名0=A\nクラス名1=\n";
  write_ini(stored);
  tray_shell_ = [](DWORD message, NOTIFYICONDATAA& record) {
    if (message == NIM_ADD) ::SendMessageW(record.hWnd, WM_ENDSESSION, TRUE, 0);
    return false;
  };
  start();
  EXPECT_EQ(hwnd(), nullptr);
  EXPECT_EQ(ini_bytes(), ini_file_bytes(stored));
}

// The start-up still waits for a file it could not read: closing the window or the end of the
// session ends the program, and nothing is written, there or anywhere else.
TEST_F(CloseSequenceTest, ClosingOrASessionEndWhileTheStartUpWaitsWritesNothing) {
  const std::wstring stored = L"[Lorvane]\n登録数=1\nクラス名0=A\nクラス名1=\n";
  write_ini(stored);
  for (UINT message : {WM_CLOSE, WM_ENDSESSION}) {
    SCOPED_TRACE(message);
    platform::UniqueKernelHandle held = open_file(ini_path(), GENERIC_READ, 0);
    start();
    ASSERT_FALSE(window_->settings_loaded());
    ::SendMessageW(hwnd(), message, TRUE, 0);
    EXPECT_EQ(hwnd(), nullptr);
    held.reset();
    EXPECT_EQ(ini_bytes(), ini_file_bytes(stored));
    EXPECT_EQ(names_in(folder_.path()), std::vector<std::wstring>{L"Lorvane.ini"});
  }
  // A file that cannot be read for another reason: a folder under its name.
  TempFolder other;
  settings_path_ = other.file(L"Lorvane.ini");
  ASSERT_TRUE(::CreateDirectoryW(settings_path_.c_str(), nullptr));
  start();
  EXPECT_EQ(context().front_display_option.caption(), app::settings_unreadable_text);
  close();
  EXPECT_EQ(names_in(other.path()), std::vector<std::wstring>{L"Lorvane.ini"});
  EXPECT_TRUE(names_in(settings_path_).empty());
}

// Another program lets only readers in as the window is closed: the user chooses between trying
// again and quitting without saving.
TEST_F(CloseSequenceTest, AnExitSaveThatFailsAsksToTryAgainOrToQuitWithoutSaving) {
  const std::wstring stored = L"[Lorvane]\n登録数=1\nクラス名0=A\nクラス名1=\n";
  write_ini(stored);
  const std::wstring asked =
      std::wstring(app::save_in_use_text) + std::wstring(app::exit_save_choice_text);
  {
    // The program lets go while the box is open: the second try saves.
    start();
    context().target_list.append(L"B");
    platform::UniqueKernelHandle held = open_file(ini_path(), GENERIC_READ, FILE_SHARE_READ);
    MessageBoxAnswerer answerer({IDRETRY});
    bool box_seen = false;
    std::thread letting_go([&] {
      // Let go either way, so that a box that never comes fails the test instead of hanging it.
      box_seen = pump_until([&] { return !answerer.seen().empty(); });
      held.reset();
    });
    ::SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    letting_go.join();
    EXPECT_TRUE(box_seen);
    EXPECT_EQ(hwnd(), nullptr);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].text, asked);
    EXPECT_EQ(ini_bytes(),
              ini_file_bytes(L"[Lorvane]\n登録数=2\nクラス名0=A\nクラス名1=B\nクラス名2=\n"
                             L"前面表示設定=0\n"));
  }
  write_ini(stored);
  start();
  context().target_list.append(L"C");
  platform::UniqueKernelHandle held = open_file(ini_path(), GENERIC_READ, FILE_SHARE_READ);
  MessageBoxAnswerer answerer({IDRETRY, IDCANCEL});
  ::SendMessageW(hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(hwnd(), nullptr);
  EXPECT_EQ(answerer.seen().size(), 2u);
  held.reset();
  EXPECT_EQ(ini_bytes(), ini_file_bytes(stored));
}

TEST_F(CloseSequenceTest, ClosingBehindTheAboutBoxDestroysTheBoxWithoutShowingTheWindow) {
  start();
  click(app::id_about_button);
  HWND about = window_->about_box();
  ASSERT_NE(about, nullptr);
  ASSERT_FALSE(::IsWindowVisible(hwnd()));

  watched_window = hwnd();
  watched_window_shown = false;
  HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, watch_show, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  // The watch sees a show: the tray icon brings the window up beside the box, and the About
  // button hides it again.
  tray_event(WM_LBUTTONUP);
  EXPECT_TRUE(watched_window_shown);
  click(app::id_about_button);
  ASSERT_FALSE(::IsWindowVisible(hwnd()));
  ASSERT_EQ(window_->about_box(), about);

  watched_window_shown = false;
  ::SendMessageW(hwnd(), WM_CLOSE, 0, 0);
  ::UnhookWindowsHookEx(hook);

  EXPECT_EQ(hwnd(), nullptr);
  EXPECT_FALSE(::IsWindow(about));
  EXPECT_FALSE(watched_window_shown);
  EXPECT_TRUE(file_exists(ini_path()));
}

}  // namespace
}  // namespace lorvane::test
