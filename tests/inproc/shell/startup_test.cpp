#include <thread>

#include "app/settings_home.h"
#include "main_window_fixture.h"

namespace lorvane::test {
namespace {

TEST_F(MainWindowTest, StoredTargetsLoadAndControlStartsInTheTray) {
  write_ini(
      L"[Lorvane]\n前面表示設定=1\n登録数=2\nクラス名0=Notepad\nクラス名1="
      L"動画プレーヤー\nクラス名2=\n");
  start();
  EXPECT_EQ(list_items(), (std::vector<std::wstring>{L"Notepad", L"動画プレーヤー"}));
  EXPECT_TRUE(context().front_display_option.ticked());
  EXPECT_EQ(context().start_stop_button.caption(), L"制御中");
  EXPECT_TRUE(::IsIconic(hwnd()));
  EXPECT_FALSE(::IsWindowVisible(hwnd()));
  close();
  EXPECT_EQ(ini_bytes(), sjis(L"[Lorvane]\r\n前面表示設定=1\r\n登録数=2\r\nクラス名0="
                              L"Notepad\r\nクラス名1=動画プレーヤー\r\nクラス名2=\r\n"));
}

// Every show of a main window on this thread, as the window manager makes it.
int main_window_shows = 0;
LRESULT CALLBACK count_shows(int code, WPARAM wparam, LPARAM lparam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
  if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED &&
      (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW) != 0) {
    wchar_t class_name[64] = {};
    ::GetClassNameW(call->hwnd, class_name, 64);
    if (std::wstring(class_name) == app::main_window_class) ++main_window_shows;
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

// At every logon with stored targets: the window goes straight to the notification area, and the
// taskbar never sees it, not even for a moment.
TEST_F(MainWindowTest, AStartWithStoredTargetsNeverShowsTheWindow) {
  write_ini(L"[Lorvane]\n登録数=1\nクラス名0=NoSuchWindowClass\n");
  main_window_shows = 0;
  HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, count_shows, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  start();
  EXPECT_TRUE(::IsIconic(hwnd()));
  EXPECT_FALSE(::IsWindowVisible(hwnd()));
  EXPECT_EQ(main_window_shows, 0);
  // The icon brings it back: a show the hook sees.
  tray_event(WM_LBUTTONUP);
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_EQ(main_window_shows, 1);
  ::UnhookWindowsHookEx(hook);
  close();
}

TEST_F(MainWindowTest, TheFirstShowFollowsTheWayTheProgramWasStarted) {
  show_command_ = SW_SHOWMAXIMIZED;
  start();
  EXPECT_TRUE(::IsWindowVisible(hwnd()) && ::IsZoomed(hwnd()));
  close();
  // "Run: minimised": the window goes where a minimised one goes, the notification area.
  show_command_ = SW_SHOWMINNOACTIVE;
  start();
  EXPECT_TRUE(::IsIconic(hwnd()));
  EXPECT_FALSE(::IsWindowVisible(hwnd()));
  // And comes back from there as a window shown normally.
  tray_event(WM_LBUTTONUP);
  EXPECT_TRUE(::IsWindowVisible(hwnd()) && !::IsIconic(hwnd()) && !::IsZoomed(hwnd()));
}

TEST_F(MainWindowTest, EveryWindowOfTheProcessKeepsLiveClassIcons) {
  // The class is registered once, with the first window's icons; a window that goes (as a test's
  // does, through its destructor) must leave them to the windows that come after it.
  start();
  window_.reset();
  start();
  for (int which : {GCLP_HICON, GCLP_HICONSM}) {
    ICONINFO info{};
    auto icon = reinterpret_cast<HICON>(::GetClassLongPtrW(hwnd(), which));
    ASSERT_TRUE(icon != nullptr && ::GetIconInfo(icon, &info)) << which;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
  }
}

// A copy that runs as administrator: a normal start may not open its named objects (Wine has no
// integrity levels, so the denial is put in at the seam), but its main window takes the message.
TEST_F(MainWindowTest, ASecondStartDeniedTheCopysObjectsBringsItBackOrSaysWhy) {
  auto denied = [](const std::wstring&, DWORD& error) -> HANDLE {
    error = ERROR_ACCESS_DENIED;
    return nullptr;
  };
  write_ini(L"[Lorvane]\n登録数=1\nクラス名0=NoSuchWindowClass\n");
  start();
  ASSERT_FALSE(::IsWindowVisible(hwnd())) << "control runs from the tray";
  const std::string before = ini_bytes();
  EXPECT_FALSE(app::RunningCopyClaim(ini_path(), denied, 3000).take());
  EXPECT_TRUE(::IsWindowVisible(hwnd()) && !::IsIconic(hwnd()));

  // For another settings file no window answers, and ours stays where it is: the user learns why
  // the start ends.
  ::ShowWindow(hwnd(), SW_MINIMIZE);
  TempFolder elsewhere;
  MessageBoxAnswerer answerer({IDOK});
  EXPECT_FALSE(app::RunningCopyClaim(elsewhere.file(L"Lorvane.ini"), denied, 300).take());
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].title, L"Lorvane");
  EXPECT_EQ(answerer.seen()[0].text, app::runs_as_administrator_text);
  EXPECT_FALSE(::IsWindowVisible(hwnd()));
  EXPECT_EQ(ini_bytes(), before);
  EXPECT_TRUE(names_in(elsewhere.path()).empty());
}

// A start from the folder, spelt in upper case, in its "\\?\" form and through another drive
// that reaches it (under Wine, drive Z:, as a mapped drive and its UNC path on Windows), claims
// it from a thread of its own, as another process would: it must find this copy, bring its
// window back and end.
void expect_a_start_from_the_folder_brings_it_back(const std::wstring& folder, HWND main) {
  std::wstring upper = folder;
  ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  std::vector<std::wstring> spellings{upper, L"\\\\?\\" + folder};
  if (running_under_wine()) spellings.push_back(through_root_drive(folder));
  for (const std::wstring& spelling : spellings) {
    SCOPED_TRACE(testing::Message() << spelling);
    // Back to the tray after the spelling before.
    if (::IsWindowVisible(main)) ::SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(pump_until([&] { return !::IsWindowVisible(main); }));
    std::atomic<int> taken{-1};
    std::thread second([&] {
      taken = app::RunningCopyClaim(app::folder_claim_path(spelling),
                                    platform::running_copy::create_mutex, 3000)
                  .take();
    });
    EXPECT_TRUE(pump_until([&] { return taken.load() != -1; }));
    second.join();
    EXPECT_EQ(taken.load(), 0);
    EXPECT_TRUE(::IsWindowVisible(main) && !::IsIconic(main));
  }
}

// A start from the folder of a running copy brings it back even when it would take another
// settings file (an elevated start writes beside the exe, a normal one goes to the application
// data).
TEST_F(MainWindowTest, ASecondStartFromTheSameFolderBringsTheCopyBackWhicheverFileItWouldTake) {
  TempFolder app_data;
  settings_path_ = app_data.file(L"Lorvane.ini");
  exe_folder_ = folder_.path();
  write_ini(L"[Lorvane]\n登録数=1\nクラス名0=NoSuchWindowClass\n");
  start();
  ASSERT_FALSE(::IsWindowVisible(hwnd())) << "control runs from the tray";
  app::RunningCopyClaim folder_claim(app::folder_claim_path(folder_.path()));
  ASSERT_TRUE(folder_claim.take());
  folder_claim.publish(hwnd());

  // The other start's claim of the file beside the exe alone would not meet ours.
  EXPECT_NE(app::copy_name(folder_.file(L"Lorvane.ini")), app::copy_name(ini_path()));
  expect_a_start_from_the_folder_brings_it_back(folder_.path(), hwnd());
}

// As a start runs it: the window takes the key its folder claim worked out, and answers a start
// that spells the folder another way.
TEST_F(MainWindowTest, TheFolderClaimsKeyHandedToTheWindowBringsItBackFromAnotherSpelling) {
  TempFolder app_data;
  settings_path_ = app_data.file(L"Lorvane.ini");
  app::RunningCopyClaim folder_claim(app::folder_claim_path(folder_.path()));
  ASSERT_TRUE(folder_claim.take());
  folder_key_ = folder_claim.key();
  write_ini(L"[Lorvane]\n登録数=1\nクラス名0=NoSuchWindowClass\n");
  start();
  ASSERT_FALSE(::IsWindowVisible(hwnd())) << "control runs from the tray";
  folder_claim.publish(hwnd());

  expect_a_start_from_the_folder_brings_it_back(folder_.path(), hwnd());
}

}  // namespace
}  // namespace lorvane::test
