// Which window the real program moves, among real programs: of two programs whose windows share a
// class, only the registered program's; of the windows of a registered class, one the user can
// see; and never the taskbar, whatever the list holds.
#include "e2e_harness.h"

namespace lorvane::e2e {
namespace {

using app::id_front_display_option;

// Windows of the shell's taskbar class: Wine's virtual desktop has a real one, in its own process.
constexpr const wchar_t* taskbar_class = L"Shell_TrayWnd";

// An entry tied to its program: the key "プログラム名" with the entry's position.
TEST(E2eWhichWindow, OfTwoProgramsWithWindowsOfOneClassOnlyTheRegisteredOneIsMoved) {
  // Over a desktop kept last, as Windows keeps it.
  DesktopStandIn desktop;
  ASSERT_TRUE(desktop.started());
  park_pointer();
  nudge_pointer();
  const std::wstring shared = unique_class(L"LvShared");
  TargetCopy player_exe(L"lvplayer.exe");
  TargetCopy other_exe(L"lvother.exe");
  Target player(shared, L"", player_exe.exe());
  Target other(shared, L"", other_exe.exe());
  ASSERT_TRUE(player.started());
  ASSERT_TRUE(other.started());
  HWND p = player.window();
  HWND o = other.window();

  Lorvane lorvane;
  lorvane.write_ini(L"[Lorvane]\n登録数=1\nクラス名0=" + shared +
                    L"\nプログラム名0=lvplayer.exe\nクラス名1=\n前面表示設定=0\n");
  ASSERT_TRUE(lorvane.start());

  // The other program's window in front stays there, tick after tick.
  nudge_pointer();
  bring_to_front(o);
  ASSERT_TRUE(pump_until([&] { return ::GetForegroundWindow() == o; }, 3s));
  // Nothing may happen across the next ticks: two of them, a second apart, and some.
  pump_for(2500ms);
  EXPECT_FALSE(is_last_visible(o));
  EXPECT_TRUE(is_below(p, o));

  // The registered program's window brought to the front goes to the bottom.
  nudge_pointer();
  bring_to_front(p);
  EXPECT_TRUE(pump_until([&] { return is_last_visible(p); }, 3s));

  // The other program's window lies higher; while the user is away, the player is raised.
  ASSERT_TRUE(is_below(p, o));
  ASSERT_TRUE(pump_until([&] { return is_topmost(p); }, 12s));
  EXPECT_FALSE(is_topmost(o));
  ASSERT_TRUE(lorvane.close());
}

// A program keeps a hidden window of the registered class above the player, and another shows
// one minimised: neither takes the raise.
TEST(E2eWhichWindow, AHiddenOrMinimisedWindowOfTheClassDoesNotTakeTheRaise) {
  // Over a desktop kept last, as Windows keeps it.
  DesktopStandIn desktop;
  ASSERT_TRUE(desktop.started());
  park_pointer();
  nudge_pointer();
  const std::wstring player_class = unique_class(L"E2ePlayer");
  Target player(player_class);
  ASSERT_TRUE(player.started());
  Target minimised(player_class, L"--minimised");
  ASSERT_TRUE(minimised.started());
  ASSERT_TRUE(pump_until([&] { return ::IsIconic(minimised.window()) != FALSE; }, 3s));
  HWND p = player.window();

  Lorvane lorvane;
  lorvane.write_ini(L"[Lorvane]\n登録数=1\nクラス名0=" + player_class +
                    L"\nクラス名1=\n前面表示設定=0\n");
  ASSERT_TRUE(lorvane.start());
  nudge_pointer();
  ASSERT_TRUE(pump_until([&] { return is_topmost(p); }, 12s));
  EXPECT_FALSE(is_topmost(minimised.window()));

  // The user is back: the player comes down. Then a hidden window of the class appears above it.
  nudge_pointer();
  ASSERT_TRUE(pump_until([&] { return !is_topmost(p); }, 3s));
  Target hidden(player_class, L"--hidden");
  ASSERT_TRUE(hidden.started());
  ASSERT_EQ(::FindWindowW(player_class.c_str(), nullptr), hidden.window())
      << "the class lookup's first window is the hidden one";
  nudge_pointer();
  ASSERT_TRUE(pump_until([&] { return is_topmost(p); }, 12s));
  EXPECT_FALSE(is_topmost(hidden.window()));
  EXPECT_FALSE(is_topmost(minimised.window()));
  ASSERT_TRUE(lorvane.close());
}

// The taskbar first in the list (a file from elsewhere, or edited by hand): it is never moved, the
// player after it is raised, the status line says why, and the file keeps the entry.
TEST(E2eWhichWindow, TheTaskbarInTheListIsPassedOverAndTheNextEntryRaised) {
  // Over a desktop kept last, as Windows keeps it.
  DesktopStandIn desktop;
  ASSERT_TRUE(desktop.started());
  park_pointer();
  nudge_pointer();
  const std::wstring player_class = unique_class(L"E2ePlayer");
  Target player(player_class);
  ASSERT_TRUE(player.started());
  HWND p = player.window();

  Lorvane lorvane;
  const std::wstring ini = L"[Lorvane]\n登録数=2\nクラス名0=" + std::wstring(taskbar_class) +
                           L"\nクラス名1=" + player_class + L"\nクラス名2=\n前面表示設定=0\n";
  lorvane.write_ini(ini);
  ASSERT_TRUE(lorvane.start());
  // Wine's virtual desktop shows its taskbar once it holds an icon: Lorvane's, now.
  HWND taskbar = ::FindWindowW(taskbar_class, nullptr);
  if (!pump_until([&] { return taskbar != nullptr && ::IsWindowVisible(taskbar); }, 3s)) {
    GTEST_SKIP() << "no visible taskbar: Wine's virtual desktop is not in use";
  }
  bool taskbar_topmost = is_topmost(taskbar);
  nudge_pointer();
  ASSERT_TRUE(pump_until([&] { return is_topmost(p); }, 12s));
  EXPECT_EQ(is_topmost(taskbar), taskbar_topmost);
  EXPECT_EQ(
      lorvane.text(id_front_display_option),
      L"「Shell_TrayWnd」はタスクバーかデスクトップのウィンドウのため、動かさずに飛ばします。");

  // The user is back: the player comes down, and the taskbar stays where it was.
  nudge_pointer();
  ASSERT_TRUE(pump_until([&] { return !is_topmost(p); }, 3s));
  // Nothing may happen to the taskbar across the next tick.
  pump_for(1500ms);
  // The player went to the bottom, and the taskbar was not sent after it.
  EXPECT_TRUE(is_below(p, taskbar));
  EXPECT_EQ(is_topmost(taskbar), taskbar_topmost);

  ASSERT_TRUE(lorvane.close());
  EXPECT_EQ(lorvane.ini_bytes(),
            sjis(L"[Lorvane]\r\n登録数=2\r\nクラス名0=Shell_TrayWnd\r\nクラス名1=" + player_class +
                 L"\r\nクラス名2=\r\n前面表示設定=0\r\n"));
}

}  // namespace
}  // namespace lorvane::e2e
