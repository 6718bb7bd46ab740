#include "registry/settings_choice.h"

#include <gtest/gtest.h>

namespace lorvane::registry {
namespace {

TEST(AnsiReachable, AFolderTheCodePageCannotHoldGoesByItsShortPathOrNotAtAll) {
  EXPECT_EQ(ansi_reachable({L"C:\\表示", true, std::nullopt, false}), L"C:\\表示");
  // A short path is used only where it is needed.
  EXPECT_EQ(ansi_reachable({L"C:\\表示", true, L"C:\\__~~~5AF", true}), L"C:\\表示");
  EXPECT_EQ(ansi_reachable({L"C:\\€uro", false, L"C:\\EURO~1", true}), L"C:\\EURO~1");
  // A volume without short names gives the long path back, which the code page cannot hold
  // either; or it gives none at all.
  EXPECT_EQ(ansi_reachable({L"C:\\€uro", false, L"C:\\€uro", false}), std::nullopt);
  EXPECT_EQ(ansi_reachable({L"C:\\€uro", false, std::nullopt, false}), std::nullopt);
}

TEST(ChooseSettingsFile, BesideTheExeWhenItCanBeUsedThereElseTheApplicationDataFolder) {
  SettingsPlaces places{L"D:\\Tools", L"D:\\Tools", BesideFile::opens, L"C:\\AppData"};
  EXPECT_EQ(choose_settings_file(places), (SettingsChoice{L"D:\\Tools\\Lorvane.ini", {}, {}}));
  places.beside = BesideFile::can_be_made;
  EXPECT_EQ(choose_settings_file(places), (SettingsChoice{L"D:\\Tools\\Lorvane.ini", {}, {}}));

  places.beside = BesideFile::unusable;
  const SettingsChoice in_app_data{L"C:\\AppData\\Lorvane\\Lorvane.ini", L"C:\\AppData\\Lorvane",
                                   L"D:\\Tools\\Lorvane.ini"};
  EXPECT_EQ(choose_settings_file(places), in_app_data);
}

TEST(ChooseSettingsFile, AnExeFolderReachedOnlyByItsShortPath) {
  SettingsPlaces places{L"D:\\€", L"D:\\_~1", BesideFile::can_be_made, L"C:\\AppData"};
  EXPECT_EQ(choose_settings_file(places).path, L"D:\\_~1\\Lorvane.ini");

  // Without a short path the file goes to the application-data folder, and starts as a copy of
  // the one beside the exe, read through the full path.
  places.exe_folder_ansi.reset();
  places.beside = BesideFile::unusable;
  EXPECT_EQ(choose_settings_file(places),
            (SettingsChoice{L"C:\\AppData\\Lorvane\\Lorvane.ini", L"C:\\AppData\\Lorvane",
                            L"D:\\€\\Lorvane.ini"}));

  // With the application-data folder out of reach too, nothing better is left than the exe's.
  places.app_data_ansi.reset();
  EXPECT_EQ(choose_settings_file(places), (SettingsChoice{L"D:\\€\\Lorvane.ini", {}, {}}));
}

}  // namespace
}  // namespace lorvane::registry
