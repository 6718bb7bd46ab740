// A settings file of hundreds of class names, which the program reads and writes a section at a
// time: the list and the file must come out exactly as key-by-key reads and writes leave them.
#include "main_window_fixture.h"

namespace lorvane::test {
namespace {

class LargeSectionTest : public BothSettingsPathsTest {
 protected:
  // 300 entries N0..N299; position 10 stored in quotes, position 20 with blanks around it.
  static std::wstring stored_value(int k) {
    if (k == 10) return L"\"N10\"";
    if (k == 20) return L"  N20  ";
    return L"N" + std::to_wstring(k);
  }

  // rewritten: the section is written back whole, and the blanks around a value, which no read
  // returns, are not kept (the quotes are).
  static std::wstring file_text(const std::wstring& count, int moved_to = -1,
                                bool rewritten = false) {
    std::wstring text = L"[Lorvane]\n前面表示設定=0\n登録数=" + count + L"\nOther=keep\n";
    for (int k = 0; k < 300; ++k) {
      std::wstring value = rewritten && k == 20 ? L"N20" : stored_value(k);
      // Move up on the last entry swaps the last two.
      if (moved_to >= 0 && k == moved_to) value = L"N299";
      if (moved_to >= 0 && k == moved_to + 1) value = L"N298";
      text += L"クラス名" + std::to_wstring(k) + L"=" + value + L"\n";
    }
    return text + L"クラス名300=\nクラス名400=Stale\n";
  }
};

TEST_P(LargeSectionTest, LoadsEveryNameAsTheKeyByKeyReadWould) {
  write_ini(file_text(L"300"));
  start();
  std::vector<std::wstring> items = list_items();
  ASSERT_EQ(items.size(), 300u);
  EXPECT_EQ(items[0], L"N0");
  EXPECT_EQ(items[10], L"N10");  // the quotes go
  EXPECT_EQ(items[20], L"N20");  // the blanks go
  EXPECT_EQ(items[299], L"N299");
}

TEST_P(LargeSectionTest, SaveChangesOnlyWhatChangedAndKeepsEverythingElseInPlace) {
  write_ini(file_text(L"300"));
  start();
  tray_event(WM_LBUTTONUP);
  context().target_list.select(299);
  click(app::id_move_up_button);
  click(app::id_save_button);
  // Unchanged keys keep their stored form (but for blanks around a value), the two moved entries
  // change where they stand, the unrelated key and the class name above the count stay.
  EXPECT_EQ(ini_bytes(), ini_file_bytes(file_text(L"300", 298, true)));
  close();
}

TEST_P(LargeSectionTest, SaveOfAShorterListRemovesTheStaleKeysAndAddsMissingOnesAtTheEnd) {
  // Positions 0..299 and a count of 300, but without the empty key at 300.
  std::wstring text = L"[Lorvane]\nOther=keep\n";
  for (int k = 0; k < 300; ++k)
    text += L"クラス名" + std::to_wstring(k) + L"=N" + std::to_wstring(k) + L"\n";
  write_ini(text + L"登録数=300\n");
  start();
  tray_event(WM_LBUTTONUP);
  for (int i = 0; i < 10; ++i) {
    context().target_list.select(context().target_list.count() - 1);
    click(app::id_delete_button);
  }
  click(app::id_save_button);
  std::wstring expected = L"[Lorvane]\nOther=keep\n";
  for (int k = 0; k < 290; ++k)
    expected += L"クラス名" + std::to_wstring(k) + L"=N" + std::to_wstring(k) + L"\n";
  expected += L"クラス名290=\n登録数=290\n";
  EXPECT_EQ(ini_bytes(), ini_file_bytes(expected));
  close();
}

INSTANTIATE_TEST_SUITE_P(BothPaths, LargeSectionTest, settings_paths, settings_path_name);

}  // namespace
}  // namespace lorvane::test
