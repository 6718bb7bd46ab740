#include "registry/settings_choice.h"

#include <gtest/gtest.h>

namespace lorvane::registry {
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

}  // namespace
}  // namespace lorvane::registry
