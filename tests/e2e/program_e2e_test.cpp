// Entries tied to their program, with real programs: copies of the target program under two file
// names, whose windows share one class.
#include "e2e_harness.h"

namespace lorvane::e2e {
namespace {

using app::id_front_display_option;
using app::id_select_button;
using app::id_start_stop_button;

constexpr const wchar_t* box_moved = L"制御したいウィンドウが後ろに移動したでしょうか？";
constexpr const wchar_t* box_start = L"制御を開始しますか？";
constexpr const wchar_t* shared_with_other_programs =
    L"ほかのプログラムにも同じクラスのウィンドウがあります。制御するのは、このプログラムの"
    L"ウィンドウだけです。";

std::wstring box_text(HWND box) { return text_of(::GetDlgItem(box, 0xFFFF)); }

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
  const std::wstring shared = unique_class(L"LvShared");
  TargetCopy other_exe(L"lvother.exe");
  TargetCopy player_exe(L"lvplayer.exe");
  Target other(shared, L"", other_exe.exe());
  Target player(shared, L"", player_exe.exe());
  ASSERT_TRUE(other.started());
  ASSERT_TRUE(player.started());

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
  const std::wstring target_class = unique_class(L"LvHangul");
  TargetCopy player_exe(L"플레이어.exe");
  Target player(target_class, L"", player_exe.exe());
  ASSERT_TRUE(player.started());

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

// A player made with a classic framework owns its main window by an application window: shown but
// of no size (classic Delphi), or hidden (Visual Basic 6). Over a desktop kept last, as Windows
// keeps it, the wizard registers it, counting a window of the same shape in another program for
// its note; the push sends it behind the user's window, the idle raise puts it in front, and the
// user's return brings it down again. Each player starts after the user's window, as it would.
void classic_player_is_controlled(const std::wstring& owner_shape) {
  park_pointer();
  nudge_pointer();
  DesktopStandIn desktop;
  ASSERT_TRUE(desktop.started());
  Target work(unique_class(L"E2eWork"));
  ASSERT_TRUE(work.started());
  const std::wstring player_class = unique_class(L"TPlayerForm");
  TargetCopy other_exe(L"lvother.exe");
  Target other(player_class, L"--owner " + owner_shape, other_exe.exe());
  Target player(player_class, L"--owner " + owner_shape);
  ASSERT_TRUE(other.started());
  ASSERT_TRUE(player.started());
  HWND p = player.window();
  HWND w = work.window();
  HWND owner = ::GetWindow(p, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  RECT r{};
  ASSERT_TRUE(::GetWindowRect(owner, &r));
  ASSERT_TRUE(owner_shape == L"hidden" ? !::IsWindowVisible(owner) : ::IsRectEmpty(&r) != FALSE);

  Lorvane lorvane;
  HWND moved = caught_and_confirmed(lorvane, p);
  ASSERT_NE(moved, nullptr);
  // The move is handed to the player's own thread, so that the box may come before it lands.
  EXPECT_TRUE(pump_until([&] { return is_below(p, w); })) << "the test move";
  HWND note = next_box(lorvane, moved, shared_with_other_programs);
  ASSERT_NE(note, nullptr) << "the other program's player counts as a window the user can see";
  Lorvane::answer(note, IDOK);
  HWND start = next_box(lorvane, note, box_start);
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(lorvane.list_items(), std::vector<std::wstring>{player_class + L"\te2e_target.exe"});
  Lorvane::answer(start, IDYES);
  ASSERT_TRUE(
      pump_until([&] { return lorvane.text(id_start_stop_button) == caption_controlling; }));

  nudge_pointer();
  bring_to_front(p);
  EXPECT_TRUE(pump_until([&] { return is_below(p, w) && is_last_visible(p); }, 3s));
  EXPECT_TRUE(is_below(p, other.window()));

  nudge_pointer();
  ASSERT_TRUE(pump_until([&] { return is_topmost(p); }, 12s));
  EXPECT_TRUE(is_below(w, p));
  EXPECT_FALSE(is_topmost(other.window()));

  nudge_pointer();
  EXPECT_TRUE(pump_until([&] { return !is_topmost(p) && is_below(p, w); }, 3s));
  ASSERT_TRUE(lorvane.close());
}

TEST(E2eProgram, APlayerOwnedByAWindowOfNoSizeIsRegisteredPushedRaisedAndBroughtDown) {
  classic_player_is_controlled(L"sizeless");
}

TEST(E2eProgram, APlayerOwnedByAHiddenWindowIsRegisteredPushedRaisedAndBroughtDown) {
  classic_player_is_controlled(L"hidden");
}

// Start, Search and the Action Center of Windows 10 and 11 are CoreWindows of programs under the
// Windows folder's SystemApps. One there, in the list with its program, is passed over by the
// push and the raise, and the wizard never takes it.
TEST(E2eProgram, ACoreWindowOfTheSystemsAppsIsNeverMoved) {
  park_pointer();
  nudge_pointer();
  DesktopStandIn desktop;
  ASSERT_TRUE(desktop.started());
  wchar_t windows[MAX_PATH] = {};
  ASSERT_GT(::GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
  TargetCopy host_exe(L"StartMenuExperienceHost.exe", std::wstring(windows) + L"\\SystemApps");
  const std::wstring core = L"Windows.UI.Core.CoreWindow";
  const std::wstring player_class = unique_class(L"E2ePlayer");
  Target player(player_class);
  Target work(unique_class(L"E2eWork"));
  Target host(core, L"", host_exe.exe());
  ASSERT_TRUE(player.started());
  ASSERT_TRUE(work.started());
  ASSERT_TRUE(host.started());
  HWND h = host.window();
  HWND w = work.window();
  HWND p = player.window();

  Lorvane lorvane;
  lorvane.write_ini(L"[Lorvane]\n登録数=2\nクラス名0=" + core + L"\nクラス名1=" + player_class +
                    L"\nクラス名2=\nプログラム名0=StartMenuExperienceHost.exe\n前面表示設定=0\n");
  ASSERT_TRUE(lorvane.start());

  // In front, it is passed over, and the status line says why.
  nudge_pointer();
  bring_to_front(h);
  ASSERT_TRUE(pump_until([&] {
    return lorvane.text(id_front_display_option) ==
           L"「" + core + L"」はタスクバーかデスクトップのウィンドウのため、動かさずに飛ばします。";
  }));
  // Nothing may happen to it across the next tick.
  pump_for(1500ms);
  EXPECT_TRUE(is_below(w, h));
  EXPECT_FALSE(is_last_visible(h));

  // While the user is away, the next entry's player is raised in its place.
  nudge_pointer();
  ASSERT_TRUE(pump_until([&] { return is_topmost(p); }, 12s));
  EXPECT_FALSE(is_topmost(h));
  nudge_pointer();
  ASSERT_TRUE(pump_until([&] { return !is_topmost(p); }, 3s));

  // The wizard waits on while it is in front: no question, and it is not moved.
  lorvane.tray_release();
  ASSERT_TRUE(pump_until([&] { return ::IsWindowVisible(lorvane.main()) != FALSE; }, 5s));
  lorvane.click(id_select_button);
  bring_to_front(h);
  ASSERT_TRUE(pump_until([&] { return ::GetForegroundWindow() == h; }, 3s));
  // Nothing may happen across the wizard's tick, six seconds after Select, and the tick after.
  pump_for(std::chrono::milliseconds(6000 + 1500));
  EXPECT_EQ(lorvane.message_box(), nullptr);
  EXPECT_EQ(::GetForegroundWindow(), h);
  EXPECT_TRUE(is_below(w, h));
  ASSERT_TRUE(lorvane.close());
}

}  // namespace
}  // namespace lorvane::e2e
