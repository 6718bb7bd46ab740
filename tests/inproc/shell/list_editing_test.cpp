// Move up, Move down and Delete pressed on the real list box, and what Save makes of the result.
#include "main_window_fixture.h"

namespace lorvane::test {
namespace {

using Items = std::vector<std::wstring>;

class ListEditingTest : public MainWindowTest {
 protected:
  void SetUp() override { start(); }

  // The entries and the selection after pressing the button on the list with that selection.
  void expect_press(app::ControlId button, const Items& items, int selected, const Items& after,
                    int selected_after) {
    set_list(items, selected);
    click(button);
    EXPECT_EQ(list_items(), after);
    EXPECT_EQ(context().target_list.selected(), selected_after);
  }

  static Items numbered(int n) {
    Items items;
    for (int i = 0; i < n; ++i) items.push_back(L"Class" + std::to_wstring(i));
    return items;
  }
};

const Items abc{L"A", L"B", L"C"};

TEST_F(ListEditingTest, MovesTakeTheSelectionWithTheEntry) {
  expect_press(app::id_move_up_button, abc, 1, {L"B", L"A", L"C"}, 0);
  expect_press(app::id_move_up_button, abc, 2, {L"A", L"C", L"B"}, 1);
  expect_press(app::id_move_down_button, abc, 1, {L"A", L"C", L"B"}, 2);
  expect_press(app::id_move_down_button, abc, 0, {L"B", L"A", L"C"}, 1);
}

TEST_F(ListEditingTest, MovesPastEitherEndAndPressesWithoutASelectionChangeNothing) {
  expect_press(app::id_move_up_button, abc, 0, abc, 0);
  expect_press(app::id_move_down_button, abc, 2, abc, 2);
  expect_press(app::id_move_up_button, {L"A"}, 0, {L"A"}, 0);
  expect_press(app::id_move_down_button, {L"A"}, 0, {L"A"}, 0);
  for (app::ControlId button :
       {app::id_move_up_button, app::id_move_down_button, app::id_delete_button}) {
    SCOPED_TRACE(button);
    expect_press(button, abc, -1, abc, -1);
    expect_press(button, {}, -1, {}, -1);
  }
}

TEST_F(ListEditingTest, DeleteSelectsTheEntryThatFollowsOrElseTheNewLast) {
  expect_press(app::id_delete_button, abc, 0, {L"B", L"C"}, 0);
  expect_press(app::id_delete_button, abc, 1, {L"A", L"C"}, 1);
  expect_press(app::id_delete_button, abc, 2, {L"A", L"B"}, 1);
  expect_press(app::id_delete_button, {L"A"}, 0, {}, -1);
}

TEST_F(ListEditingTest, DeleteKeepsTheOrderOfLongLists) {
  for (int n : {256, 300}) {
    SCOPED_TRACE(n);
    Items items = numbered(n);
    for (int s : {0, 150, n - 1}) {
      Items after = items;
      after.erase(after.begin() + s);
      expect_press(app::id_delete_button, items, s, after, s < n - 1 ? s : n - 2);
    }
  }
}

TEST_F(ListEditingTest, SaveAfterDeleteLowersTheCountAndDropsTheKeysAboveIt) {
  set_list({L"A", L"B", L"C", L"D", L"E"});
  click(app::id_save_button);
  ASSERT_EQ(ini_bytes(),
            ini_file_bytes(L"[Lorvane]\n登録数=5\nクラス名0=A\nクラス名1=B\nクラス名2=C\n"
                           L"クラス名3=D\nクラス名4=E\nクラス名5=\n"));
  context().target_list.select(1);
  click(app::id_delete_button);
  click(app::id_save_button);
  EXPECT_EQ(ini_bytes(),
            ini_file_bytes(L"[Lorvane]\n登録数=4\nクラス名0=A\nクラス名1=C\nクラス名2=D\n"
                           L"クラス名3=E\nクラス名4=\n"));
  // Down to nothing: the count 0 and one empty key.
  for (int i = 0; i < 4; ++i) {
    context().target_list.select(0);
    click(app::id_delete_button);
  }
  click(app::id_save_button);
  EXPECT_EQ(ini_bytes(), ini_file_bytes(L"[Lorvane]\n登録数=0\nクラス名0=\n"));
}

TEST_F(ListEditingTest, EditsReachTheFileAtExitWithoutASave) {
  set_list(abc, 2);
  click(app::id_move_up_button);
  close();
  EXPECT_EQ(ini_bytes(),
            ini_file_bytes(L"[Lorvane]\n登録数=3\nクラス名0=A\nクラス名1=C\nクラス名2=B\n"
                           L"クラス名3=\n前面表示設定=0\n"));
}

}  // namespace
}  // namespace lorvane::test
