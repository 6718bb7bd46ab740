#include "main_window_fixture.h"

namespace lorvane::test {
namespace {

TEST_F(MainWindowTest, StoredTargetsLoadAndControlStartsInTheTray) {
  write_ini(
      L"[Lorvane]\n前面表示設定=1\n登録数=2\nクラス名0=Notepad\nクラス名1="
      L"動画プレーヤー\nクラス名2=\n");
  start();
  EXPECT_EQ(list_items(), (std::vector<std::wstring>{L"Notepad", L"動画プレーヤー"}));
  EXPECT_TRUE(controls().front_display_option.ticked());
  EXPECT_EQ(controls().start_stop_button.caption(), L"制御中");
  EXPECT_TRUE(::IsIconic(hwnd()));
  EXPECT_FALSE(::IsWindowVisible(hwnd()));
  close();
  EXPECT_EQ(ini_bytes(), sjis(L"[Lorvane]\r\n前面表示設定=1\r\n登録数=2\r\nクラス名0="
                              L"Notepad\r\nクラス名1=動画プレーヤー\r\nクラス名2=\r\n"));
}

}  // namespace
}  // namespace lorvane::test
