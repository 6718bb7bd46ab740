#include "settings/list_edits.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>

namespace lorvane::settings {
namespace {

// A list of one-letter entries and its selection, edited as the list box is.
struct Edited {
  std::string entries;
  int selected;
  bool operator==(const Edited&) const = default;
};

void PrintTo(const Edited& e, std::ostream* os) { *os << e.entries << " sel " << e.selected; }

Edited apply_swap(const std::optional<Swap>& swap, Edited list) {
  if (!swap) return list;
  std::swap(list.entries[static_cast<std::size_t>(swap->first)],
            list.entries[static_cast<std::size_t>(swap->second)]);
  list.selected = swap->select;
  return list;
}

Edited move_up(Edited list) {
  return apply_swap(plan_move_up(list.selected, static_cast<int>(list.entries.size())), list);
}
Edited move_down(Edited list) {
  return apply_swap(plan_move_down(list.selected, static_cast<int>(list.entries.size())), list);
}
Edited delete_selected(Edited list) {
  auto removal = plan_delete(list.selected, static_cast<int>(list.entries.size()));
  if (!removal) return list;
  list.entries.erase(static_cast<std::size_t>(removal->position), 1);
  list.selected = removal->select;
  return list;
}

TEST(ListEdits, MovesKeepTheMovedEntrySelected) {
  EXPECT_EQ(move_up({"ABC", 1}), (Edited{"BAC", 0}));
  EXPECT_EQ(move_down({"ABC", 1}), (Edited{"ACB", 2}));
  EXPECT_EQ(move_up({"ABC", 2}), (Edited{"ACB", 1}));
  EXPECT_EQ(move_down({"ABC", 0}), (Edited{"BAC", 1}));
}

TEST(ListEdits, MovesPastEitherEndChangeNothing) {
  EXPECT_FALSE(plan_move_up(0, 3));
  EXPECT_FALSE(plan_move_down(2, 3));
  EXPECT_FALSE(plan_move_up(0, 1));
  EXPECT_FALSE(plan_move_down(0, 1));
  EXPECT_EQ(move_up({"ABC", 0}), (Edited{"ABC", 0}));
  EXPECT_EQ(move_down({"ABC", 2}), (Edited{"ABC", 2}));
}

TEST(ListEdits, DeleteSelectsTheFollowingEntryOrElseTheNewLast) {
  EXPECT_EQ(delete_selected({"ABC", 0}), (Edited{"BC", 0}));
  EXPECT_EQ(delete_selected({"ABC", 1}), (Edited{"AC", 1}));
  EXPECT_EQ(delete_selected({"ABC", 2}), (Edited{"AB", 1}));
  EXPECT_EQ(delete_selected({"A", 0}), (Edited{"", -1}));
}

TEST(ListEdits, NoSelectionOrOneOutsideTheListDoesNothing) {
  for (int count : {0, 1, 3}) {
    for (int selected : {-1, -2, count, count + 1}) {
      SCOPED_TRACE(testing::Message() << "selected " << selected << " of " << count);
      EXPECT_FALSE(plan_move_up(selected, count));
      EXPECT_FALSE(plan_move_down(selected, count));
      EXPECT_FALSE(plan_delete(selected, count));
    }
  }
}

TEST(ListEdits, LongestListEditsAtItsEnds) {
  auto last = plan_delete(255, 256);
  ASSERT_TRUE(last);
  EXPECT_EQ(last->position, 255);
  EXPECT_EQ(last->select, 254);
  auto down = plan_move_down(254, 256);
  ASSERT_TRUE(down);
  EXPECT_EQ(down->second, 255);
  EXPECT_FALSE(plan_move_down(255, 256));
}

}  // namespace
}  // namespace lorvane::settings
