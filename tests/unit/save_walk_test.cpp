#include "settings/save_walk.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>

namespace lorvane::settings {
namespace {

// The walk in a form that reads at a glance: "w0 w1 e2 r3" writes entries 0 and 1, writes the
// empty value at 2 and removes 3.
std::string walk(std::int32_t stored, std::int32_t n, const std::vector<std::int32_t>& present) {
  std::string out;
  for (const SaveStep& step : save_walk(stored, n, present)) {
    if (!out.empty()) out += ' ';
    switch (step.kind) {
      case SaveStep::Kind::write_entry: out += 'w'; break;
      case SaveStep::Kind::write_empty: out += 'e'; break;
      case SaveStep::Kind::remove: out += 'r'; break;
    }
    out += std::to_string(step.position);
  }
  return out;
}

using Positions = std::vector<std::int32_t>;

// "w0 r2": writes the program of entry 0 and removes the key at 2.
std::string programs(const std::vector<bool>& has_program, const Positions& present) {
  std::string out;
  for (const ProgramStep& step : program_walk(has_program, present)) {
    if (!out.empty()) out += ' ';
    out += step.kind == ProgramStep::Kind::write ? 'w' : 'r';
    out += std::to_string(step.position);
  }
  return out;
}

TEST(ProgramWalk, AKeyIsWrittenForAProgramAndRemovedOnlyWhereTheFileHoldsIt) {
  // A list without programs over a file without program keys touches nothing.
  EXPECT_EQ(programs({false, false}, {}), "");
  EXPECT_EQ(programs({true, false, true}, {}), "w0 w2");
  EXPECT_EQ(programs({true, false, true}, {1, 2}), "w0 r1 w2");
  // Keys at or above the count go, however far up; duplicates of a key are one step.
  EXPECT_EQ(programs({false, true}, {5, 0, 2, 5, INT32_MAX}), "r0 w1 r2 r5 r2147483647");
  EXPECT_EQ(programs({}, {0}), "r0");
}

TEST(SaveWalk, EmptyListWritesOnlyTheEmptyKeyAtPositionZero) {
  EXPECT_EQ(walk(0, 0, {}), "e0");
  EXPECT_EQ(walk(3, 0, {0, 1, 2, 3}), "e0 r1 r2 r3");
}

TEST(SaveWalk, ShorterListRemovesTheKeysItLeftBehind) {
  EXPECT_EQ(walk(5, 2, {0, 1, 2, 3, 4, 5}), "w0 w1 e2 r3 r4 r5");
  // Only keys the file holds need a removal; position 2 is written empty, never removed.
  EXPECT_EQ(walk(5, 2, {0, 1, 2, 4}), "w0 w1 e2 r4");
}

TEST(SaveWalk, LongerListWritesOverTheOldEmptyKey) {
  EXPECT_EQ(walk(2, 4, {0, 1, 2}), "w0 w1 w2 w3 e4");
  EXPECT_EQ(walk(3, 3, {0, 1, 2, 3, 4}), "w0 w1 w2 e3");
}

TEST(SaveWalk, CountOfZeroOrBelowWalksToTheListOnly) {
  // A count of 0 is an absent count: keys above the list stay where they are.
  EXPECT_EQ(walk(0, 2, {0, 1, 2, 3, 4, 5, 6}), "w0 w1 e2");
  EXPECT_EQ(walk(-5, 2, {0, 1, 2, 3}), "w0 w1 e2");
  EXPECT_EQ(walk(INT32_MIN, 1, {0, 1, 2}), "w0 e1");
}

TEST(SaveWalk, HugeDamagedCountStaysAsShortAsTheFile) {
  EXPECT_EQ(walk(INT32_MAX, 1, {0, 1, 7, INT32_MAX}), "w0 e1 r7 r2147483647");
  EXPECT_EQ(save_walk(INT32_MAX, 0, {0, 1, 2}).size(), 3u);
}

TEST(SaveWalk, KeysAboveTheStoredCountAreLeftAlone) {
  EXPECT_EQ(walk(3, 1, {0, 1, 2, 3, 4, 9}), "w0 e1 r2 r3");
}

TEST(SaveWalk, PresentPositionsInAnyOrderAndRepeatedAreRemovedOnceInOrder) {
  EXPECT_EQ(walk(6, 1, {5, 3, 3, 0, 6, 5, 2, -1}), "w0 e1 r2 r3 r5 r6");
}

TEST(LoadPositions, AbsentOrZeroCountReadsPositionZeroOnly) {
  EXPECT_EQ(load_positions(0, {0, 1, 2}), (Positions{0}));
  EXPECT_EQ(load_positions(0, {1, 2}), (Positions{}));
}

TEST(LoadPositions, ReadsUpToAndIncludingTheCountSkippingAbsentKeys) {
  EXPECT_EQ(load_positions(3, {0, 2, 3}), (Positions{0, 2, 3}));
  EXPECT_EQ(load_positions(3, {3, 8, 0, 4, 2}), (Positions{0, 2, 3}));
  EXPECT_EQ(load_positions(5, {4, 1, 4, 0}), (Positions{0, 1, 4}));
}

TEST(LoadPositions, NegativeCountReadsLikeZero) {
  EXPECT_EQ(load_positions(-1, {0, 1}), (Positions{0}));
  EXPECT_EQ(load_positions(INT32_MIN, {0, 1}), (Positions{0}));
}

TEST(LoadPositions, HugeCountReadsOnlyThePresentKeys) {
  EXPECT_EQ(load_positions(INT32_MAX, {3, 0, INT32_MAX, 40}), (Positions{0, 3, 40, INT32_MAX}));
}

// A file as a map from position to value, changed by a save and read back by a load: what comes
// back is exactly the list, whatever the file held before.
std::vector<std::string> save_then_load(std::map<std::int32_t, std::string> file,
                                        std::int32_t stored, const std::vector<std::string>& list) {
  Positions present;
  for (const auto& [k, value] : file) present.push_back(k);
  auto n = static_cast<std::int32_t>(list.size());
  for (const SaveStep& step : save_walk(stored, n, present)) {
    switch (step.kind) {
      case SaveStep::Kind::write_entry:
        file[step.position] = list[static_cast<std::size_t>(step.position)];
        break;
      case SaveStep::Kind::write_empty: file[step.position] = ""; break;
      case SaveStep::Kind::remove: file.erase(step.position); break;
    }
  }
  present.clear();
  for (const auto& [k, value] : file) present.push_back(k);
  std::vector<std::string> loaded;
  for (std::int32_t k : load_positions(n, present)) {
    if (!file[k].empty()) loaded.push_back(file[k]);  // an empty value is an absent key
  }
  return loaded;
}

TEST(SaveWalk, SavedListLoadsBackUnchanged) {
  std::map<std::int32_t, std::string> five{{0, "A"}, {1, "B"}, {2, "C"},
                                           {3, "D"}, {4, "E"}, {5, ""}};
  EXPECT_EQ(save_then_load(five, 5, {"X", "Y"}), (std::vector<std::string>{"X", "Y"}));
  EXPECT_EQ(save_then_load(five, 5, {}), (std::vector<std::string>{}));
  std::map<std::int32_t, std::string> two{{0, "A"}, {1, "B"}, {2, ""}, {7, "stale"}};
  EXPECT_EQ(save_then_load(two, 2, {"A", "B", "C", "D"}),
            (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(save_then_load(two, 0, {"Q"}), (std::vector<std::string>{"Q"}));
}

}  // namespace
}  // namespace lorvane::settings
