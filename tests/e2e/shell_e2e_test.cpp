// The program as a whole: its first run, a run over stored settings, a damaged settings file, the
// notification-area icon and a second start.
#include <shlobj.h>

#include <optional>

#include "e2e_harness.h"

namespace lorvane::e2e {
namespace {

using app::id_front_display_option;
using app::id_start_stop_button;

TEST(E2eShell, FirstRunShowsTheWindowWithTheHintAndWritesTheFileOnClose) {
  Lorvane lorvane;
  ASSERT_TRUE(lorvane.start());
  HWND main = lorvane.main();
  EXPECT_TRUE(pump_until([&] { return ::IsWindowVisible(main) != FALSE; }, 5s));
  EXPECT_FALSE(::IsIconic(main));
  EXPECT_FALSE(::IsZoomed(main));
  EXPECT_EQ(text_of(main), L"Lorvane");
  EXPECT_EQ(lorvane.text(id_front_display_option), first_use_hint);
  EXPECT_EQ(lorvane.text(id_start_stop_button), caption_start);
  EXPECT_TRUE(lorvane.list_items().empty());
  EXPECT_TRUE(tray_icon_present(main));
  // Nothing is written before the exit save.
  EXPECT_FALSE(harness::file_exists(lorvane.ini_path()));

  ASSERT_TRUE(lorvane.close());
  EXPECT_EQ(lorvane.ini_bytes(),
            sjis(L"[Lorvane]\r\n登録数=0\r\nクラス名0=\r\n前面表示設定=0\r\n"));
}

TEST(E2eShell, StoredTargetsStartControlInTheTrayAndComeBackOnTheNextRun) {
  Lorvane lorvane;
  const std::wstring stored =
      L"[Lorvane]\n登録数=2\nクラス名0=E2eNoSuchWindow\nクラス名1=動画プレーヤーE2E\nクラス名2=\n"
      L"前面表示設定=1\n";
  lorvane.write_ini(stored);
  ASSERT_TRUE(lorvane.start());
  HWND main = lorvane.main();
  EXPECT_EQ(lorvane.text(id_start_stop_button), caption_controlling);
  EXPECT_FALSE(::IsWindowVisible(main));
  EXPECT_EQ(lorvane.list_items(),
            (std::vector<std::wstring>{L"E2eNoSuchWindow", L"動画プレーヤーE2E"}));
  LRESULT check = 0;
  EXPECT_TRUE(send(lorvane.item(id_front_display_option), BM_GETCHECK, 0, 0, &check));
  EXPECT_EQ(check, BST_CHECKED);
  EXPECT_TRUE(tray_icon_present(main));

  // The icon brings the window back; control goes on.
  lorvane.tray_release();
  EXPECT_TRUE(pump_until([&] { return ::IsWindowVisible(main) && !::IsIconic(main); }, 5s));
  EXPECT_FALSE(::IsZoomed(main));
  EXPECT_EQ(lorvane.text(id_start_stop_button), caption_controlling);

  ASSERT_TRUE(lorvane.close());
  EXPECT_EQ(lorvane.ini_bytes(), harness::ini_file_bytes(stored));
}

TEST(E2eShell, AHugeStoredCountStartsAndClosesQuicklyKeepingTheEntries) {
  Lorvane lorvane;
  lorvane.write_ini(L"[Lorvane]\n登録数=2147483647\nクラス名0=E2eHugeA\nクラス名1=E2eHugeB\n");
  auto begin = std::chrono::steady_clock::now();
  ASSERT_TRUE(lorvane.start());
  EXPECT_EQ(lorvane.list_items(), (std::vector<std::wstring>{L"E2eHugeA", L"E2eHugeB"}));
  EXPECT_EQ(lorvane.text(id_start_stop_button), caption_controlling);
  ASSERT_TRUE(lorvane.close(5s));
  // A walk over two billion keys would take hours; the whole run takes a moment.
  EXPECT_LT(std::chrono::steady_clock::now() - begin, 8s);
  EXPECT_EQ(
      lorvane.ini_bytes(),
      sjis(L"[Lorvane]\r\n登録数=2\r\nクラス名0=E2eHugeA\r\nクラス名1=E2eHugeB\r\nクラス名2=\r\n"
           L"前面表示設定=0\r\n"));
}

TEST(E2eShell, ANewTaskbarGetsTheIconAgain) {
  Lorvane lorvane;
  lorvane.write_ini(L"[Lorvane]\n登録数=1\nクラス名0=E2eNoSuchWindow\n");
  ASSERT_TRUE(lorvane.start());
  HWND main = lorvane.main();
  ASSERT_FALSE(::IsWindowVisible(main));
  ASSERT_TRUE(tray_icon_present(main)) << "needs the notification area of Wine's virtual desktop";

  // A restarted shell has lost every icon, and tells the programs so.
  ASSERT_TRUE(delete_tray_icon(main));
  ASSERT_FALSE(tray_icon_present(main));
  EXPECT_TRUE(send(main, ::RegisterWindowMessageW(L"TaskbarCreated")));
  EXPECT_TRUE(pump_until([&] { return tray_icon_present(main); }, 3s));

  // With the window in the tray, the icon is the way back.
  lorvane.tray_release();
  EXPECT_TRUE(pump_until([&] { return ::IsWindowVisible(main) != FALSE; }, 5s));
  EXPECT_TRUE(lorvane.close());
}

TEST(E2eShell, ASecondStartForTheSameFileBringsTheFirstBackAndEndsLeavingTheFile) {
  Lorvane lorvane;
  lorvane.write_ini(L"[Lorvane]\n登録数=1\nクラス名0=E2eNoSuchWindow\n");
  ASSERT_TRUE(lorvane.start());
  HWND main = lorvane.main();
  ASSERT_FALSE(::IsWindowVisible(main)) << "control runs from the tray";
  const std::string before = lorvane.ini_bytes();

  // By the copy's own path, and by one that differs in case only.
  std::wstring upper = lorvane.exe_path();
  ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  for (const std::wstring& exe : {lorvane.exe_path(), upper}) {
    SCOPED_TRACE(testing::Message() << exe);
    EXPECT_EQ(lorvane.start_again(exe), std::optional<DWORD>(0));
    EXPECT_TRUE(pump_until([&] { return ::IsWindowVisible(main) && !::IsIconic(main); }, 5s));
    EXPECT_TRUE(lorvane.process().running());
    EXPECT_EQ(lorvane.ini_bytes(), before);
    // Back to the tray for the next start.
    EXPECT_TRUE(send(main, WM_SYSCOMMAND, SC_MINIMIZE));
    ASSERT_TRUE(pump_until([&] { return !::IsWindowVisible(main); }, 5s));
  }
  ASSERT_TRUE(lorvane.close());

  // Once the first copy has ended, a start runs again.
  ASSERT_TRUE(lorvane.start());
  EXPECT_EQ(lorvane.list_items(), std::vector<std::wstring>{L"E2eNoSuchWindow"});
  EXPECT_TRUE(lorvane.close());
}

// The settings file in the user's application data, and what it held before a test.
class AwayFile {
 public:
  AwayFile() {
    wchar_t app_data[MAX_PATH] = {};
    if (SUCCEEDED(
            ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, app_data))) {
      path_ = std::wstring(app_data) + L"\\Lorvane\\Lorvane.ini";
    }
    existed_ = harness::file_exists(path_);
    if (existed_) bytes_ = harness::read_bytes(path_);
  }
  bool found() const { return !path_.empty(); }
  // Nothing was written there since.
  bool untouched() const {
    return harness::file_exists(path_) == existed_ &&
           (!existed_ || harness::read_bytes(path_) == bytes_);
  }

 private:
  std::wstring path_;
  bool existed_ = false;
  std::string bytes_;
};

const std::wstring held_stored =
    L"[Lorvane]\n登録数=2\nクラス名0=E2eNoSuchWindowA\nクラス名1=E2eNoSuchWindowB\nクラス名2=\n"
    L"前面表示設定=0\n";

// Another program holds the settings file with no sharing as Lorvane starts: the window shows
// while the file is held and says why it waits, with nothing to start. The hold, or none when the
// file could not be held or the program did not start.
platform::UniqueKernelHandle start_while_held(Lorvane& lorvane) {
  platform::UniqueKernelHandle held = open_file(lorvane.ini_path(), GENERIC_READ, 0);
  if (!held || !lorvane.start()) return {};
  EXPECT_TRUE(pump_until([&] { return ::IsWindowVisible(lorvane.main()) != FALSE; }));
  EXPECT_EQ(lorvane.text(id_front_display_option), settings_in_use_text);
  EXPECT_FALSE(::IsWindowEnabled(lorvane.item(id_start_stop_button)));
  return held;
}

// A virus scanner, a backup or a sync client: another program holds the settings file with no
// sharing as Lorvane starts, for 3 s. The run waits for it, and its edit goes beside the exe.
TEST(E2eShell, ASettingsFileHeldAtStartUpIsWaitedForAndAnEditReachesItBesideTheExe) {
  Lorvane lorvane;
  lorvane.write_ini(held_stored);
  AwayFile away;
  ASSERT_TRUE(away.found());
  const auto held_since = std::chrono::steady_clock::now();
  platform::UniqueKernelHandle held = start_while_held(lorvane);
  ASSERT_TRUE(held);
  // The hold's length is what the test is about: another program lets go after 3 s.
  pump_for(std::chrono::duration_cast<std::chrono::milliseconds>(held_since + 3s -
                                                                 std::chrono::steady_clock::now()));
  held.reset();

  // Then it goes on as any start with stored targets does.
  HWND main = lorvane.main();
  ASSERT_TRUE(
      pump_until([&] { return lorvane.text(id_start_stop_button) == caption_controlling; }, 10s));
  EXPECT_TRUE(pump_until([&] { return !::IsWindowVisible(main); }, 5s));
  EXPECT_EQ(lorvane.list_items(),
            (std::vector<std::wstring>{L"E2eNoSuchWindowA", L"E2eNoSuchWindowB"}));
  EXPECT_EQ(lorvane.text(id_front_display_option), front_display_caption);

  lorvane.tray_release();
  ASSERT_TRUE(pump_until([&] { return ::IsWindowVisible(main) != FALSE; }, 5s));
  send(lorvane.item(app::id_target_list), LB_SETCURSEL, 0);
  lorvane.click(app::id_move_down_button);
  ASSERT_TRUE(lorvane.close());
  const std::wstring edited =
      L"[Lorvane]\n登録数=2\nクラス名0=E2eNoSuchWindowB\nクラス名1=E2eNoSuchWindowA\nクラス名2=\n"
      L"前面表示設定=0\n";
  EXPECT_EQ(lorvane.ini_bytes(), harness::ini_file_bytes(edited));
  EXPECT_TRUE(away.untouched());

  ASSERT_TRUE(lorvane.start());
  EXPECT_EQ(lorvane.list_items(),
            (std::vector<std::wstring>{L"E2eNoSuchWindowB", L"E2eNoSuchWindowA"}));
  EXPECT_TRUE(lorvane.close());
}

// Held for as long as the user cares to wait: the program tries again each second with no end
// set, so three tries show what any number would. The user closes the waiting window, nothing is
// written anywhere, and the list is there on the next start.
TEST(E2eShell, ClosingWhileASettingsFileIsHeldWritesNothingAndTheNextStartHasTheList) {
  Lorvane lorvane;
  lorvane.write_ini(held_stored);
  AwayFile away;
  ASSERT_TRUE(away.found());
  platform::UniqueKernelHandle held = start_while_held(lorvane);
  ASSERT_TRUE(held);
  // Still waiting throughout, with nothing to edit or to start.
  auto still_waiting = [&] {
    bool locked = true;
    for (app::ControlId id : {app::id_select_button, app::id_save_button, id_start_stop_button})
      locked = locked && !::IsWindowEnabled(lorvane.item(id));
    return locked && lorvane.text(id_front_display_option) == settings_in_use_text &&
           lorvane.list_items().empty() && ::IsWindowEnabled(lorvane.item(id_front_display_option));
  };
  EXPECT_FALSE(pump_until([&] { return !still_waiting(); }, 3s, 100ms))
      << "stopped waiting while the file was held";
  ASSERT_TRUE(lorvane.close());
  held.reset();

  EXPECT_EQ(lorvane.ini_bytes(), harness::ini_file_bytes(held_stored));
  EXPECT_TRUE(away.untouched());
  ASSERT_TRUE(lorvane.start());
  EXPECT_EQ(lorvane.list_items(),
            (std::vector<std::wstring>{L"E2eNoSuchWindowA", L"E2eNoSuchWindowB"}));
  EXPECT_TRUE(lorvane.close());
}

// Another program lets only readers in from the start until after 保存 is pressed: the list loads
// at once, the status line says the list was not saved, and the next save that works takes that
// back.
TEST(E2eShell, AFileThatLetsOnlyReadersInLoadsAtOnceAndItsFailedSaveIsTold) {
  Lorvane lorvane;
  lorvane.write_ini(held_stored);
  {
    platform::UniqueKernelHandle reader =
        open_file(lorvane.ini_path(), GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(lorvane.start());
    HWND main = lorvane.main();
    ASSERT_EQ(lorvane.text(id_start_stop_button), caption_controlling);
    lorvane.tray_release();
    ASSERT_TRUE(pump_until([&] { return ::IsWindowVisible(main) != FALSE; }, 5s));
    send(lorvane.item(app::id_target_list), LB_SETCURSEL, 1);
    lorvane.click(app::id_delete_button);
    ASSERT_EQ(lorvane.list_items(), std::vector<std::wstring>{L"E2eNoSuchWindowA"});
    lorvane.click(app::id_save_button);
    EXPECT_TRUE(
        pump_until([&] { return lorvane.text(id_front_display_option) == save_in_use_text; }, 10s));
    EXPECT_EQ(lorvane.ini_bytes(), harness::ini_file_bytes(held_stored));
  }
  lorvane.click(app::id_save_button);
  EXPECT_TRUE(pump_until(
      [&] { return lorvane.text(id_front_display_option) == front_display_caption; }, 10s));
  EXPECT_EQ(lorvane.ini_bytes(),
            harness::ini_file_bytes(L"[Lorvane]\n登録数=1\nクラス名0=E2eNoSuchWindowA\n"
                                    L"クラス名1=\n前面表示設定=0\n"));
  EXPECT_TRUE(lorvane.close());
}

const std::wstring tied_stored =
    L"[Lorvane]\n登録数=2\nクラス名0=LvA\nクラス名1=LvB\nクラス名2=\nプログラム名0=lva.exe\n"
    L"前面表示設定=0\n";
// LvB moved up over LvA, which keeps its program.
const std::wstring tied_moved =
    L"[Lorvane]\n登録数=2\nクラス名0=LvB\nクラス名1=LvA\nクラス名2=\n前面表示設定=0\n"
    L"プログラム名1=lva.exe\n";

// A start over [LvA of lva.exe, LvB], brought back from the tray with LvB moved up.
::testing::AssertionResult start_and_move_lvb_up(Lorvane& lorvane) {
  if (auto started = lorvane.start(); !started) return started;
  lorvane.tray_release();
  if (!pump_until([&] { return ::IsWindowVisible(lorvane.main()) != FALSE; }, 5s))
    return ::testing::AssertionFailure() << "the window did not come back";
  send(lorvane.item(app::id_target_list), LB_SETCURSEL, 1);
  lorvane.click(app::id_move_up_button);
  if (lorvane.list_items() != std::vector<std::wstring>{L"LvB", L"LvA\tlva.exe"})
    return ::testing::AssertionFailure() << "LvB did not move up";
  return ::testing::AssertionSuccess();
}

// A scanner holds the file with no sharing for one second as 保存 is pressed: the save waits for
// it and then reads the file it writes, so the program key goes along with its entry.
TEST(E2eShell, ASaveDuringAScannersHoldWaitsAndMovesTheProgramWithItsEntry) {
  Lorvane lorvane;
  lorvane.write_ini(tied_stored);
  ASSERT_TRUE(start_and_move_lvb_up(lorvane));
  {
    platform::UniqueKernelHandle scanner = open_file(lorvane.ini_path(), GENERIC_READ, 0);
    ASSERT_TRUE(scanner);
    lorvane.press(app::id_save_button);
    // The scanner's hold is one second long, whatever the program does meanwhile.
    pump_for(1s);
  }
  EXPECT_TRUE(
      pump_until([&] { return lorvane.ini_bytes() == harness::ini_file_bytes(tied_moved); }, 10s))
      << lorvane.ini_bytes();
  EXPECT_EQ(lorvane.text(id_front_display_option), front_display_caption);
  EXPECT_TRUE(lorvane.close());
}

// The user closes the window while a scanner holds the file, and the failed exit save asks
// whether to try again; the session ends before anyone answers. The save is made then, silently,
// the box goes and the program ends.
TEST(E2eShell, ASessionEndWhileTheExitSavesBoxIsOpenSavesAndEnds) {
  Lorvane lorvane;
  lorvane.write_ini(held_stored);
  ASSERT_TRUE(lorvane.start());
  HWND main = lorvane.main();
  lorvane.tray_release();
  ASSERT_TRUE(pump_until([&] { return ::IsWindowVisible(main) != FALSE; }, 5s));
  send(lorvane.item(app::id_target_list), LB_SETCURSEL, 1);
  lorvane.click(app::id_delete_button);
  {
    platform::UniqueKernelHandle scanner = open_file(lorvane.ini_path(), GENERIC_READ, 0);
    ASSERT_TRUE(scanner);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pump_until([&] { return lorvane.message_box() != nullptr; }, 10s));
  }
  LRESULT query = 0;
  EXPECT_TRUE(send(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, &query));
  EXPECT_TRUE(query);
  EXPECT_TRUE(send(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF));
  EXPECT_EQ(lorvane.ini_bytes(),
            harness::ini_file_bytes(L"[Lorvane]\n登録数=1\nクラス名0=E2eNoSuchWindowA\n"
                                    L"クラス名1=\n前面表示設定=0\n"));
  EXPECT_TRUE(lorvane.process().wait_exit(10s));
  EXPECT_EQ(lorvane.process().exit_code(), 0u);
}

TEST(E2eShell, CopiesWithDifferentSettingsFilesRunSideBySide) {
  Lorvane first;
  Lorvane second;
  ASSERT_TRUE(first.start());
  ASSERT_TRUE(second.start());
  EXPECT_TRUE(pump_until([&] { return ::IsWindowVisible(second.main()) != FALSE; }, 5s));
  EXPECT_TRUE(first.process().running());
  EXPECT_TRUE(::IsWindowVisible(first.main()));
  ASSERT_TRUE(second.close());
  ASSERT_TRUE(first.close());
  // Each saved into its own folder.
  EXPECT_FALSE(first.ini_bytes().empty());
  EXPECT_FALSE(second.ini_bytes().empty());
}

}  // namespace
}  // namespace lorvane::e2e
