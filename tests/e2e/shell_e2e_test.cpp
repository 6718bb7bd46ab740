// The program as a whole: its first run, a run over stored settings, a damaged settings file, the
// notification-area icon and a second start.
#include <shlobj.h>

#include <optional>
#include <thread>

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

// A virus scanner, a backup or a sync client: another program holds the settings file with no
// sharing as Lorvane starts, and lets go of it 0.8 s later.
TEST(E2eShell, ASettingsFileHeldForAMomentAtStartUpIsWaitedForAndStaysBesideTheExe) {
  Lorvane lorvane;
  const std::wstring stored =
      L"[Lorvane]\n登録数=1\nクラス名0=E2eNoSuchWindow\nクラス名1=\n前面表示設定=0\n";
  lorvane.write_ini(stored);
  wchar_t app_data[MAX_PATH] = {};
  ASSERT_TRUE(
      SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, app_data)));
  const std::wstring away = std::wstring(app_data) + L"\\Lorvane\\Lorvane.ini";
  const bool away_before = harness::file_exists(away);
  const std::string away_bytes = away_before ? harness::read_bytes(away) : std::string();

  platform::UniqueKernelHandle held = open_file(lorvane.ini_path(), GENERIC_READ, 0);
  ASSERT_TRUE(held);
  std::thread holder([&] {
    ::Sleep(800);
    held.reset();
  });
  const bool started = lorvane.start();
  holder.join();
  ASSERT_TRUE(started);
  EXPECT_EQ(lorvane.list_items(), std::vector<std::wstring>{L"E2eNoSuchWindow"});
  ASSERT_TRUE(lorvane.close());
  EXPECT_EQ(lorvane.ini_bytes(), harness::ini_file_bytes(stored));
  // Nothing went to the application data.
  EXPECT_EQ(harness::file_exists(away), away_before);
  if (away_before) {
    EXPECT_EQ(harness::read_bytes(away), away_bytes);
  }
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
