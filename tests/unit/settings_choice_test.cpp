#include "settings/settings_choice.h"

#include <gtest/gtest.h>

namespace lorvane::settings {
namespace {

// What the in-process tests cannot make under Wine, which gives every folder a short name.
TEST(ChooseSettingsFile, AFolderWithoutAShortPathTheCodePageHoldsGoesToApplicationData) {
  EXPECT_EQ(ansi_reachable({L"C:\\€", false, L"C:\\_~1", true}), L"C:\\_~1");
  // A volume without short names gives the long path back, or nothing.
  EXPECT_EQ(ansi_reachable({L"C:\\€", false, L"C:\\€", false}), std::nullopt);
  EXPECT_EQ(ansi_reachable({L"C:\\€", false, std::nullopt, false}), std::nullopt);

  // The new file starts as a copy of the one beside the exe, read through the full path.
  SettingsPlaces places{L"D:\\€", std::nullopt, BesideFile::unusable, L"C:\\AppData"};
  EXPECT_EQ(choose_settings_file(places),
            (SettingsChoice{L"C:\\AppData\\Lorvane\\Lorvane.ini", L"C:\\AppData\\Lorvane",
                            L"D:\\€\\Lorvane.ini"}));
  // With the application data out of reach too, nothing better is left than the exe's folder.
  places.app_data_ansi.reset();
  EXPECT_EQ(choose_settings_file(places), (SettingsChoice{L"D:\\€\\Lorvane.ini", {}, {}}));
}

TEST(WrittenLater, AnHourOrTwoSecondsEitherWayIsNoChange) {
  constexpr std::uint64_t s = 10'000'000;  // 100-ns units
  constexpr std::uint64_t copy = 13'000'000'000 * s;
  EXPECT_FALSE(written_later(copy, copy));
  EXPECT_FALSE(written_later(copy + 2 * s, copy));
  EXPECT_TRUE(written_later(copy + 2 * s + 1, copy));
  EXPECT_TRUE(written_later(copy + 3598 * s - 1, copy));
  // A volume that keeps local time, across a change of daylight saving time, and rounded.
  EXPECT_FALSE(written_later(copy + 3598 * s, copy));
  EXPECT_FALSE(written_later(copy + 3600 * s, copy));
  EXPECT_FALSE(written_later(copy + 3602 * s, copy));
  EXPECT_TRUE(written_later(copy + 3602 * s + 1, copy));
  // A copy written later than the original is never replaced.
  EXPECT_FALSE(written_later(copy, copy + 3 * s));
  EXPECT_FALSE(written_later(copy, copy + 3600 * s));
}

}  // namespace
}  // namespace lorvane::settings
