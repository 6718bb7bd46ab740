// The support library that the tests, the bench programs and the tools share.
#include "lorvane_harness.h"

#include <gtest/gtest.h>

#include <string>

namespace lorvane::harness {
namespace {

using namespace std::chrono_literals;

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

TEST(HarnessFiles, PathsSplitAndUnixPathsGoThroughDriveZ) {
  EXPECT_EQ(folder_of(L"C:\\x\\Lorvane.exe"), L"C:\\x");
  EXPECT_EQ(file_name(L"C:\\x\\Lorvane.exe"), L"Lorvane.exe");
  EXPECT_EQ(folder_of(L"Lorvane.exe"), L"");
  EXPECT_EQ(file_name(L"Lorvane.exe"), L"Lorvane.exe");
  EXPECT_EQ(windows_path(L"/work/build/bin/Lorvane.exe"), L"Z:\\work\\build\\bin\\Lorvane.exe");
  EXPECT_EQ(windows_path(L"C:\\x/y"), L"C:\\x/y");
}

TEST(HarnessWindows, AWindowIsFoundByProcessClassCaptionAndVisibility) {
  const wchar_t* class_name = L"LorvaneHarnessTestWindow";
  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = class_name;
  ::RegisterClassW(&wc);
  HWND window = ::CreateWindowExW(0, class_name, L"Harness", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80,
                                  nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  const DWORD self = ::GetCurrentProcessId();

  EXPECT_EQ(find_window_of(self, class_name), window);
  EXPECT_EQ(find_window_of(self, class_name, L"Harness"), window);
  EXPECT_EQ(find_window_of(self, class_name, L"Other"), nullptr);
  EXPECT_EQ(find_window_of(self + 4, class_name), nullptr);             // another process's
  EXPECT_EQ(find_window_of(self, class_name, nullptr, true), nullptr);  // not shown yet
  ::ShowWindow(window, SW_SHOWNOACTIVATE);
  EXPECT_EQ(find_window_of(self, class_name, nullptr, true), window);
  ::DestroyWindow(window);
  EXPECT_EQ(find_window_of(self, class_name), nullptr);
}

TEST(HarnessProcess, AProgramThatEndsWithoutAWindowEndsTheWaitWithItsExitCode) {
  Process missing;
  EXPECT_FALSE(missing.start(L"C:\\no such folder\\none.exe"));
  EXPECT_FALSE(missing.running());
  EXPECT_EQ(missing.id(), 0u);

  // This test program again, running no test: it ends at once without a window.
  std::wstring self(MAX_PATH, L'\0');
  self.resize(::GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
  Process program;
  ASSERT_TRUE(program.start(self, L"--gtest_filter=-*"));
  EXPECT_NE(program.id(), 0u);
  EXPECT_EQ(wait_for_window(program, L"LorvaneHarnessNoSuchWindow", nullptr, false, 60s), nullptr);
  EXPECT_FALSE(program.running());
  EXPECT_EQ(program.exit_code(), 0u);

  // A released handle stays open and the process is no longer this one's to end.
  UniqueHandle handle = program.release();
  EXPECT_EQ(program.id(), 0u);
  EXPECT_EQ(::WaitForSingleObject(handle.get(), 0), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace lorvane::harness
