// The settings file as the real main window reads and writes it: start-up load, Save and the exit
// save, checked against the exact bytes the profile functions leave on disk.
#include "registry/settings_file.h"
#include "control/control_cycle.h"
#include "main_window_fixture.h"

namespace lorvane::test {
namespace {

using Items = std::vector<std::wstring>;

class SettingsFileTest : public MainWindowTest {};

TEST_F(SettingsFileTest, FirstRunStartsEmptyWithTheHintAndTheExitCreatesTheFile) {
  ASSERT_FALSE(file_exists(ini_path()));
  start();
  EXPECT_EQ(controls().target_list.count(), 0);
  EXPECT_FALSE(controls().front_display_option.ticked());
  EXPECT_EQ(controls().front_display_option.caption(), control::first_use_hint);
  EXPECT_EQ(controls().start_stop_button.caption(), L"開始");
  EXPECT_FALSE(controls().control_timer.enabled());
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_FALSE(::IsIconic(hwnd()));
  EXPECT_FALSE(::IsZoomed(hwnd()));
  // Nothing is written before the first Save or exit.
  EXPECT_FALSE(file_exists(ini_path()));
  close();
  EXPECT_EQ(ini_bytes(), ini_text(L"[Lorvane]\n登録数=0\nクラス名0=\n前面表示設定=0\n"));
  // And the next start finds the empty list it left.
  start();
  EXPECT_EQ(controls().target_list.count(), 0);
}

TEST_F(SettingsFileTest, WithoutACountOrWithCountZeroTheFirstKeyIsStillRead) {
  for (const wchar_t* count_line : {L"", L"登録数=0\n"}) {
    SCOPED_TRACE(count_line);
    write_ini(std::wstring(L"[Lorvane]\n") + count_line + L"クラス名0=Notepad\nクラス名1=Other\n");
    start();
    EXPECT_EQ(list_items(), Items{L"Notepad"});
    close();
  }
}

TEST_F(SettingsFileTest, MissingKeysCloseUpAndKeysAboveTheCountAreNeitherReadNorTouched) {
  write_ini(
      L"[Lorvane]\n登録数=3\nクラス名0=A\nクラス名2=C\nクラス名3=D\nクラス名5=Stale\nクラス名9="
      L"Old\n");
  start();
  // Position 3 is the one extra key the load reads; position 1 leaves no gap.
  EXPECT_EQ(list_items(), (Items{L"A", L"C", L"D"}));
  close();
  // The new key for position 1 goes to the end of the section, as the profile functions add it;
  // the keys above the count stay exactly as they were.
  EXPECT_EQ(ini_bytes(),
            ini_text(L"[Lorvane]\n登録数=3\nクラス名0=A\nクラス名2=D\nクラス名3=\n"
                     L"クラス名5=Stale\nクラス名9=Old\nクラス名1=C\n前面表示設定=0\n"));
}

TEST_F(SettingsFileTest, SaveAfterCuttingTheListRemovesTheKeysItLeftBehind) {
  write_ini(
      L"[Lorvane]\n前面表示設定=0\n登録数=5\nクラス名0=A\nクラス名1=B\nクラス名2=C\n"
      L"クラス名3=D\nクラス名4=E\nクラス名5=\n");
  start();
  tray_event(WM_LBUTTONUP);
  controls().target_list.select(2);
  for (int i = 0; i < 3; ++i) click(app::id_delete_button);
  ASSERT_EQ(list_items(), (Items{L"A", L"B"}));
  click(app::id_save_button);
  EXPECT_EQ(ini_bytes(), ini_text(L"[Lorvane]\n前面表示設定=0\n登録数=2\nクラス名0=A\nクラス名1=B\n"
                                  L"クラス名2=\n"));
  // Save leaves the list and its selection as they are.
  EXPECT_EQ(list_items(), (Items{L"A", L"B"}));
  EXPECT_EQ(controls().target_list.selected(), 1);
}

TEST_F(SettingsFileTest, SaveAfterGrowingTheListWritesEveryEntryAndOneEmptyKey) {
  write_ini(L"[Lorvane]\n登録数=2\nクラス名0=A\nクラス名1=B\nクラス名2=\n");
  start();
  tray_event(WM_LBUTTONUP);
  controls().target_list.append(L"C");
  controls().target_list.append(L"ウィンドウ表");  // a trail byte of 0x5C in Shift-JIS
  click(app::id_save_button);
  EXPECT_EQ(ini_bytes(), ini_text(L"[Lorvane]\n登録数=4\nクラス名0=A\nクラス名1=B\nクラス名2=C\n"
                                  L"クラス名3=ウィンドウ表\nクラス名4=\n"));
  close();
  start();
  EXPECT_EQ(list_items(), (Items{L"A", L"B", L"C", L"ウィンドウ表"}));
}

TEST_F(SettingsFileTest, TheFrontDisplayTickReachesTheFileOnlyAtExitAndSurvivesARestart) {
  start();
  click(app::id_front_display_option);
  ASSERT_TRUE(controls().front_display_option.ticked());
  click(app::id_save_button);
  EXPECT_EQ(ini_bytes(), ini_text(L"[Lorvane]\n登録数=0\nクラス名0=\n"));
  close();
  EXPECT_EQ(ini_bytes(), ini_text(L"[Lorvane]\n登録数=0\nクラス名0=\n前面表示設定=1\n"));

  start();
  EXPECT_TRUE(controls().front_display_option.ticked());
  click(app::id_front_display_option);
  close();
  start();
  EXPECT_FALSE(controls().front_display_option.ticked());
}

TEST(SettingsPath, TheFolderIsTakenUnchanged) {
  EXPECT_EQ(registry::settings_path(L"C:\\x"), L"C:\\x\\Lorvane.ini");
  // A folder that already ends with a separator still gets one more.
  EXPECT_EQ(registry::settings_path(L"C:\\x\\"), L"C:\\x\\\\Lorvane.ini");
  EXPECT_EQ(registry::settings_path(L"C:\\"), L"C:\\\\Lorvane.ini");
}

}  // namespace
}  // namespace lorvane::test
