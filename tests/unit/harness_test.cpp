// The support library that the tests, the bench programs and the tools share.
#include "harness/lorvane_harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// The Z-order assertions of every control test rest on these queries: "at the bottom" is what the
// user sees there, so a hidden window below does not count, and a gone window is nowhere.
TEST(HarnessWindows, AWindowOfAClassComesUpAsAskedAndTheZOrderQueriesAgree) {
  const RECT place{120, 120, 420, 320};
  platform::UniqueWindow front(show_window_of_class(L"LorvaneHarnessFront", ::DefWindowProcW, place,
                                                    nullptr, Shape::normal, Activation::activated));
  ASSERT_TRUE(front);
  ASSERT_TRUE(pump_until([&] { return ::GetForegroundWindow() == front.get(); }));
  platform::UniqueWindow quiet(
      show_window_of_class(L"LorvaneHarnessQuiet", ::DefWindowProcW, place));
  ASSERT_TRUE(quiet);
  EXPECT_TRUE(::IsWindowVisible(quiet.get()));
  EXPECT_EQ(::GetForegroundWindow(), front.get()) << "shown without taking the foreground";

  // A second window of a registered class; over the whole virtual screen, without a title bar.
  platform::UniqueWindow film(show_window_of_class(L"LorvaneHarnessQuiet", ::DefWindowProcW, place,
                                                   nullptr, Shape::full_screen));
  ASSERT_TRUE(film);
  RECT r{};
  ::GetWindowRect(film.get(), &r);
  EXPECT_EQ(r.left, ::GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(r.right - r.left, ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(r.bottom - r.top, ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
  EXPECT_EQ(::GetWindowLongW(film.get(), GWL_STYLE) & WS_CAPTION, 0);
  platform::UniqueWindow maximised(show_window_of_class(L"LorvaneHarnessFront", ::DefWindowProcW,
                                                        place, nullptr, Shape::maximised));
  EXPECT_TRUE(::IsZoomed(maximised.get()));

  ::SetWindowPos(quiet.get(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(last_visible_window(), quiet.get());
  EXPECT_TRUE(is_last_visible(quiet.get()));
  EXPECT_FALSE(is_last_visible(front.get()));
  EXPECT_TRUE(is_below(quiet.get(), front.get()));
  EXPECT_FALSE(is_below(front.get(), quiet.get()));
  EXPECT_GT(z_position(quiet.get()), z_position(front.get()));

  ::ShowWindow(quiet.get(), SW_HIDE);
  EXPECT_FALSE(is_last_visible(quiet.get()));
  EXPECT_NE(last_visible_window(), quiet.get());
  HWND gone = quiet.get();
  quiet.reset();
  EXPECT_EQ(z_position(gone), -1);
  EXPECT_FALSE(is_below(gone, front.get()));
  EXPECT_FALSE(is_last_visible(nullptr));
}

// Boxes shown one after another, as a wizard's questions are: each is answered once, in the
// script's order.
TEST(HarnessMessageBoxes, EachBoxIsAnsweredOnceInTheScriptsOrder) {
  MessageBoxAnswerer answerer({IDNO, IDYES, IDCANCEL});
  EXPECT_EQ(::MessageBoxW(nullptr, L"first", L"Lorvane", MB_YESNO), IDNO);
  EXPECT_EQ(::MessageBoxW(nullptr, L"second", L"Lorvane", MB_YESNO), IDYES);
  EXPECT_EQ(::MessageBoxW(nullptr, L"third", L"Lorvane", MB_OKCANCEL), IDCANCEL);
  std::vector<SeenBox> seen = answerer.seen();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].text, L"first");
  EXPECT_EQ(seen[1].text, L"second");
  EXPECT_EQ(seen[2].text, L"third");
  EXPECT_EQ(seen[2].answer, IDCANCEL);
}

}  // namespace
}  // namespace lorvane::harness
