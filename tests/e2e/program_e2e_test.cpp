// Entries tied to their program, with real programs: copies of the target program under two file
// names, whose windows share one class.
#include "e2e_harness.h"

namespace lorvane::e2e {
namespace {

using app::id_select_button;

constexpr const wchar_t* box_moved = L"制御したいウィンドウが後ろに移動したでしょうか？";
constexpr const wchar_t* box_start = L"制御を開始しますか？";
constexpr const wchar_t* shared_with_other_programs =
    L"ほかのプログラムにも同じクラスのウィンドウがあります。制御するのは、このプログラムの"
    L"ウィンドウだけです。";

std::wstring box_text(HWND box) { return text_of(::GetDlgItem(box, 0xFFFF)); }

// The target program copied under a name of its own into a folder, with a window of the class.
class ProgramCopy {
 public:
  ProgramCopy(const TempFolder& folder, const std::wstring& file, const std::wstring& class_name) {
    std::wstring exe = folder.file(file);
    if (!::CopyFileW((bin_folder() + L"\\e2e_target.exe").c_str(), exe.c_str(), FALSE)) return;
    if (!process_.start(exe, L"--class \"" + class_name + L"\"")) return;
    window_ = wait_for_window(process_, class_name.c_str(), nullptr, true, 10s);
  }
  HWND window() const { return window_; }

 private:
  Process process_;
  HWND window_ = nullptr;
};

// The next box of the program other than the one just answered, once it shows that text.
HWND next_box(const Lorvane& lorvane, HWND previous, const std::wstring& text) {
  HWND box = nullptr;
  pump_until(
      [&] {
        box = lorvane.message_box();
        return box != nullptr && box != previous && box_text(box) == text;
      },
      10s);
  return box != nullptr && box != previous && box_text(box) == text ? box : nullptr;
}

// The wizard on a fresh start: Select, the window brought to the front, and Yes to whether it
// moved back. The box answered, or null when it never came.
HWND caught_and_confirmed(Lorvane& lorvane, HWND window) {
  if (!lorvane.start()) return nullptr;
  if (!pump_until([&] { return ::IsWindowVisible(lorvane.main()) != FALSE; }, 5s)) return nullptr;
  lorvane.click(id_select_button);
  bring_to_front(window);
  HWND moved = next_box(lorvane, nullptr, box_moved);
  if (moved != nullptr) Lorvane::answer(moved, IDYES);
  return moved;
}

TEST(E2eProgram, TheWizardTiesTheEntryToThePlayerAndTellsOfTheOtherProgram) {
  TempFolder programs(L"programs");
  const std::wstring shared = unique_class(L"LvShared");
  ProgramCopy other(programs, L"lvother.exe", shared);
  ProgramCopy player(programs, L"lvplayer.exe", shared);
  ASSERT_NE(other.window(), nullptr);
  ASSERT_NE(player.window(), nullptr);

  Lorvane lorvane;
  HWND moved = caught_and_confirmed(lorvane, player.window());
  ASSERT_NE(moved, nullptr);
  HWND note = next_box(lorvane, moved, shared_with_other_programs);
  ASSERT_NE(note, nullptr) << "the other program's window of the class is told of";
  EXPECT_NE(::GetDlgItem(note, IDOK), nullptr);
  EXPECT_EQ(::GetDlgItem(note, IDCANCEL), nullptr);
  // Registered before the note: the list shows the class and, after a tab, the program.
  EXPECT_EQ(lorvane.list_items(), std::vector<std::wstring>{shared + L"\tlvplayer.exe"});
  Lorvane::answer(note, IDOK);
  HWND start = next_box(lorvane, note, box_start);
  ASSERT_NE(start, nullptr);
  Lorvane::answer(start, IDNO);

  ASSERT_TRUE(lorvane.close());
  EXPECT_EQ(lorvane.ini_bytes(),
            sjis(L"[Lorvane]\r\n登録数=1\r\nクラス名0=" + shared +
                 L"\r\nクラス名1=\r\nプログラム名0=lvplayer.exe\r\n前面表示設定=0\r\n"));

  // The next start reads the entry back with its program.
  ASSERT_TRUE(lorvane.start());
  ASSERT_TRUE(pump_until([&] { return !lorvane.list_items().empty(); }, 5s));
  EXPECT_EQ(lorvane.list_items(), std::vector<std::wstring>{shared + L"\tlvplayer.exe"});
  ASSERT_TRUE(lorvane.close());
}

// A program name that the ANSI code page cannot hold could not come back from the file: the entry
// is registered without it, as the class in every program.
TEST(E2eProgram, AProgramNameTheCodePageCannotHoldIsNotRecorded) {
  ASSERT_EQ(::GetACP(), 932u);
  TempFolder programs(L"programs");
  const std::wstring target_class = unique_class(L"LvHangul");
  ProgramCopy player(programs, L"플레이어.exe", target_class);
  ASSERT_NE(player.window(), nullptr);

  Lorvane lorvane;
  HWND moved = caught_and_confirmed(lorvane, player.window());
  ASSERT_NE(moved, nullptr);
  HWND start = next_box(lorvane, moved, box_start);
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(lorvane.list_items(), std::vector<std::wstring>{target_class});
  Lorvane::answer(start, IDNO);
  ASSERT_TRUE(lorvane.close());
  EXPECT_EQ(lorvane.ini_bytes(), sjis(L"[Lorvane]\r\n登録数=1\r\nクラス名0=" + target_class +
                                      L"\r\nクラス名1=\r\n前面表示設定=0\r\n"));
}

}  // namespace
}  // namespace lorvane::e2e
