#include "app/settings_home.h"

#include <gtest/gtest.h>

#include "harness/lorvane_harness.h"
#include "platform/file_probe.h"

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

// What names a folder's claims, from what the file system answers for it.
TEST(FolderIdentity, TheLongIdIsTakenWhereTheSystemHasItAndAZeroIdNamesNothing) {
  using platform::file_probe::FolderIdentity;
  using platform::file_probe::identity_of;
  BY_HANDLE_FILE_INFORMATION info{};
  info.dwVolumeSerialNumber = 0x1234;
  info.nFileIndexHigh = 0x5;
  info.nFileIndexLow = 0x6;
  // Windows 7, which fails FileIdInfo: the 64-bit index.
  EXPECT_EQ(identity_of(nullptr, info), (FolderIdentity{0x1234, 0, 0x500000006}));
  // Windows 8 and later: the 128-bit id, whose high half tells apart folders of a ReFS volume
  // that share the low one.
  FILE_ID_INFO id_info{};
  id_info.VolumeSerialNumber = 0xABCD00001234;
  id_info.FileId.Identifier[0] = 0x6;
  id_info.FileId.Identifier[15] = 0x1;
  EXPECT_EQ(identity_of(&id_info, info), (FolderIdentity{0xABCD00001234, 1ull << 56, 0x6}));
  // A share that answers 0 for every file, either way: no identity, so the path names the claim.
  id_info.FileId = {};
  EXPECT_FALSE(identity_of(&id_info, info));
  info.nFileIndexHigh = info.nFileIndexLow = 0;
  EXPECT_FALSE(identity_of(nullptr, info));
}

}  // namespace
}  // namespace lorvane::app
