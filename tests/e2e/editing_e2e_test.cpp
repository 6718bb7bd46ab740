// Editing the target list in the running program and storing it; the About box.
#include "e2e_harness.h"

namespace lorvane::e2e {
namespace {

using app::id_about_button;
using app::id_delete_button;
using app::id_move_up_button;
using app::id_save_button;
using app::id_start_stop_button;
using app::id_target_list;

// Classes that no window has: control runs and each tick finds nothing to do.
TEST(E2eEditing, MoveUpDeleteAndSaveReachTheFile) {
  Lorvane lorvane;
  lorvane.write_ini(
      L"[Lorvane]\n登録数=3\nクラス名0=E2eListA\nクラス名1=E2eListB\nクラス名2=E2eListC\n"
      L"クラス名3=\n前面表示設定=0\n");
  ASSERT_TRUE(lorvane.start());
  HWND main = lorvane.main();
  lorvane.tray_release();
  ASSERT_TRUE(pump_until([&] { return ::IsWindowVisible(main) != FALSE; }, 5s));
  HWND list = lorvane.item(id_target_list);
  auto selected = [&] {
    LRESULT index = LB_ERR;
    send(list, LB_GETCURSEL, 0, 0, &index);
    return index;
  };

  ASSERT_TRUE(send(list, LB_SETCURSEL, 1));
  lorvane.click(id_move_up_button);
  EXPECT_EQ(lorvane.list_items(),
            (std::vector<std::wstring>{L"E2eListB", L"E2eListA", L"E2eListC"}));
  EXPECT_EQ(selected(), 0);

  lorvane.click(id_delete_button);
  EXPECT_EQ(lorvane.list_items(), (std::vector<std::wstring>{L"E2eListA", L"E2eListC"}));
  EXPECT_EQ(selected(), 0);

  // Save writes the list at once: the count one lower, the key above the new end gone.
  lorvane.click(id_save_button);
  const std::string saved = sjis(
      L"[Lorvane]\r\n登録数=2\r\nクラス名0=E2eListA\r\nクラス名1=E2eListC\r\nクラス名2=\r\n"
      L"前面表示設定=0\r\n");
  EXPECT_EQ(lorvane.ini_bytes(), saved);
  EXPECT_EQ(lorvane.list_items(), (std::vector<std::wstring>{L"E2eListA", L"E2eListC"}));
  EXPECT_EQ(lorvane.text(id_start_stop_button), caption_controlling);

  ASSERT_TRUE(lorvane.close());
  EXPECT_EQ(lorvane.ini_bytes(), saved);
}

TEST(E2eEditing, AboutBoxStandsInForTheMainWindowAndGivesItBackMaximised) {
  Lorvane lorvane;
  lorvane.write_ini(L"[Lorvane]\n登録数=1\nクラス名0=E2eNoSuchWindow\n");
  ASSERT_TRUE(lorvane.start());
  HWND main = lorvane.main();
  lorvane.tray_release();
  ASSERT_TRUE(pump_until([&] { return ::IsWindowVisible(main) != FALSE; }, 5s));
  ::ShowWindow(main, SW_MAXIMIZE);
  ASSERT_TRUE(pump_until([&] { return ::IsZoomed(main) != FALSE; }, 5s));

  lorvane.click(id_about_button);
  HWND about = nullptr;
  ASSERT_TRUE(pump_until(
      [&] {
        about = find_window_of(lorvane.process().id(), L"LorvaneAbout", L"Lorvane");
        return about != nullptr && ::IsWindowVisible(about);
      },
      5s));
  EXPECT_FALSE(::IsWindowVisible(main));
  HWND close_button = ::GetDlgItem(about, IDOK);
  ASSERT_NE(close_button, nullptr);
  EXPECT_EQ(text_of(close_button), L"閉じる");

  send(close_button, BM_CLICK);
  EXPECT_TRUE(pump_until([&] { return !::IsWindow(about) && ::IsWindowVisible(main); }, 5s));
  EXPECT_TRUE(::IsZoomed(main));
  EXPECT_EQ(find_window_of(lorvane.process().id(), L"LorvaneAbout"), nullptr);
  // The About box does not touch the control cycle.
  EXPECT_EQ(lorvane.text(id_start_stop_button), caption_controlling);
  ASSERT_TRUE(lorvane.close());
}

}  // namespace
}  // namespace lorvane::e2e
