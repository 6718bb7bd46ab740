// The support library that the tests, the bench programs and the tools share.
#include "harness/lorvane_harness.h"

#include <gtest/gtest.h>

#include <string>

namespace lorvane::harness {
namespace {

TEST(HarnessSettingsFile, EveryLineEndBecomesCrLfOnceAndTheTextShiftJis) {
  // クラス名0=表示ソフト; 表 and ソ end in 0x5C, the byte of the backslash.
  const std::string line =
      "\x83\x4E\x83\x89\x83\x58\x96\xBC"
      "0=\x95\x5C\x8E\xA6\x83\x5C\x83\x74\x83\x67";
  EXPECT_EQ(ini_file_bytes(L"[Lorvane]\nクラス名0=表示ソフト\n"), "[Lorvane]\r\n" + line + "\r\n");
  // A line end that is already CR LF keeps its one CR; a lone CR is left as it is.
  EXPECT_EQ(ini_file_bytes(L"a\r\nb\n"), "a\r\nb\r\n");
  EXPECT_EQ(ini_file_bytes(L"\n\na\rb"), "\r\n\r\na\rb");
  EXPECT_EQ(ini_file_bytes(L""), "");

  TempFolder folder;
  ASSERT_TRUE(write_ini(folder.file(L"Lorvane.ini"), L"[Lorvane]\nクラス名0=表示ソフト\n"));
  EXPECT_EQ(read_bytes(folder.file(L"Lorvane.ini")), "[Lorvane]\r\n" + line + "\r\n");
}

TEST(HarnessFiles, AFolderGoesWithEverythingInItAndMissingFilesReadEmpty) {
  std::wstring path;
  {
    TempFolder folder(L"harness");
    path = folder.path();
    EXPECT_NE(file_name(path).find(L"lorvane-harness-"), std::wstring::npos);
    ASSERT_TRUE(::CreateDirectoryW(folder.file(L"inner").c_str(), nullptr));
    ASSERT_TRUE(write_bytes(folder.file(L"inner\\x.bin"), std::string("a\0b", 3)));
    EXPECT_EQ(read_bytes(folder.file(L"inner\\x.bin")), std::string("a\0b", 3));
    EXPECT_EQ(read_bytes(folder.file(L"missing")), "");
  }
  EXPECT_FALSE(file_exists(path));
}

}  // namespace
}  // namespace lorvane::harness
