#include "app/settings_home.h"

#include <gtest/gtest.h>

#include "harness/lorvane_harness.h"

namespace lorvane::app {
namespace {

TEST(CopyName, EverySpellingOfOneSettingsFileGivesOneObjectName) {
  harness::TempFolder folder;  // "lorvane-test-...": not an 8.3 name, so it has a short form
  wchar_t short_folder[MAX_PATH] = {};
  ASSERT_NE(::GetShortPathNameW(folder.path().c_str(), short_folder, MAX_PATH), 0u);
  std::wstring upper = folder.file(L"Lorvane.ini");
  ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));

  const std::wstring name = copy_name(folder.file(L"Lorvane.ini"));
  EXPECT_EQ(copy_name(upper), name);
  EXPECT_EQ(copy_name(std::wstring(short_folder) + L"\\Lorvane.ini"), name);
  EXPECT_NE(copy_name(folder.path() + L"-2\\Lorvane.ini"), name);
  // An object name has no "\" after its namespace, and a short one whatever the path.
  EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos);
  EXPECT_LT(copy_name(L"C:\\" + std::wstring(1000, L'x') + L"\\Lorvane.ini").size(), 64u);
}

TEST(CopyName, AFolderMadeAfterTheNameWasTakenKeepsTheName) {
  // A first run in the application data takes its name before the folder exists, perhaps in the
  // short spelling the ANSI functions need; a start a moment later finds the folder there.
  harness::TempFolder folder;
  wchar_t short_folder[MAX_PATH] = {};
  ASSERT_NE(::GetShortPathNameW(folder.path().c_str(), short_folder, MAX_PATH), 0u);
  const std::wstring spelled_short = std::wstring(short_folder) + L"\\Lorvane\\Lorvane.ini";
  const std::wstring before = copy_name(spelled_short);
  ASSERT_TRUE(::CreateDirectoryW(folder.file(L"Lorvane").c_str(), nullptr));
  EXPECT_EQ(copy_name(spelled_short), before);
  EXPECT_EQ(copy_name(folder.file(L"Lorvane\\Lorvane.ini")), before);
}

}  // namespace
}  // namespace lorvane::app
