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
  // Other paths to the same folder: its "\\?\" form, and another drive that reaches it (under
  // Wine, drive Z:, as a mapped drive and its UNC path on Windows).
  EXPECT_EQ(copy_name(L"\\\\?\\" + folder.file(L"Lorvane.ini")), name);
  const std::wstring other_drive = harness::through_root_drive(folder.path());
  if (harness::running_under_wine()) {
    ASSERT_FALSE(other_drive.empty());
  }
  if (!other_drive.empty()) {
    ASSERT_NE(other_drive.substr(0, 2), folder.path().substr(0, 2));
    EXPECT_EQ(copy_name(other_drive + L"\\lorvane.INI"), name);
  }
  // An object name has no "\" after its namespace, and a short one whatever the path.
  EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos);
  EXPECT_LT(copy_name(L"C:\\" + std::wstring(1000, L'x') + L"\\Lorvane.ini").size(), 64u);
}

TEST(CopyName, AFolderThatCannotBeOpenedIsNamedByItsPathInEverySpelling) {
  // A folder not made yet (or out of reach) has no identity to read: its path names it, in the
  // long form of the nearest folder that exists, without regard to case.
  harness::TempFolder folder;
  wchar_t short_folder[MAX_PATH] = {};
  ASSERT_NE(::GetShortPathNameW(folder.path().c_str(), short_folder, MAX_PATH), 0u);
  const std::wstring spelled_short = std::wstring(short_folder) + L"\\Lorvane\\Lorvane.ini";
  std::wstring upper = folder.file(L"Lorvane\\Lorvane.ini");
  ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  EXPECT_EQ(copy_name(spelled_short), copy_name(upper));
  EXPECT_NE(copy_name(spelled_short), copy_name(folder.file(L"Lorvane.ini")));
}

}  // namespace
}  // namespace lorvane::app
