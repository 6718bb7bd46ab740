#include "app/single_copy.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace lorvane::app {
namespace {

TEST(CopyName, EverySpellingOfOneSettingsFileGivesOneObjectName) {
  test::TempFolder folder;  // "lorvane-test-...": no 8.3 name, so it has a short form
  const std::wstring path = folder.file(L"Lorvane.ini");
  wchar_t short_folder[MAX_PATH] = {};
  ASSERT_NE(::GetShortPathNameW(folder.path().c_str(), short_folder, MAX_PATH), 0u);
  ASSERT_NE(folder.path(), short_folder);
  std::wstring upper = path;
  ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));

  const std::wstring name = copy_name(path);
  EXPECT_EQ(copy_name(upper), name);
  EXPECT_EQ(copy_name(std::wstring(short_folder) + L"\\Lorvane.ini"), name);
  EXPECT_NE(copy_name(folder.file(L"Other.ini")), name);
  EXPECT_NE(copy_name(folder.path() + L"-2\\Lorvane.ini"), name);

  // A valid object name: nothing but the namespace's "\", and short whatever the path.
  EXPECT_EQ(name.rfind(L"Local\\", 0), 0u);
  EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos);
  EXPECT_LT(copy_name(L"C:\\" + std::wstring(1000, L'x') + L"\\Lorvane.ini").size(), 64u);
}

}  // namespace
}  // namespace lorvane::app
