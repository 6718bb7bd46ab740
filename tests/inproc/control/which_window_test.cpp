// Which window the control cycle moves: of the windows of a registered class, the one in front is
// pushed and the highest one the user can see is raised; an entry that names a program stands for
// that program's windows alone; and the shell's windows are never moved, whatever the list holds.
#include "control/target_windows.h"
#include "control_test_support.h"
#include "platform/process_name.h"
#include "platform/window_lookup.h"

#include <cwctype>

namespace lorvane::test {
namespace {

class WhichWindowTest : public ControlTest {};

using namespace std::chrono_literals;
using platform::Target;

// The file name of this test program, as the system reports the running executable.
std::wstring this_program() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring full = path;
  return full.substr(full.find_last_of(L"\\/") + 1);
}

std::wstring upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(::towupper(c));
  return text;
}

constexpr UINT keep_place = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;

TEST(TargetWindows, AnEntryWithAProgramStandsForThatProgramsWindowsAlone) {
  platform::UniqueWindow a = make_window(target_a);
  // The program is read from the window's process: this test program here.
  ASSERT_TRUE(platform::window_lookup::same_program_name(
      platform::process_name::program_of(a.get()), this_program()));
  EXPECT_EQ(platform::process_name::program_of(nullptr), L"");

  int reads = 0;
  std::wstring answer = this_program();
  control::WindowPrograms programs([&](HWND window) {
    ++reads;
    return window == a.get() ? answer : std::wstring();
  });
  Target other_program{target_a, L"lvother.exe"};
  Target this_one{upper(target_a), upper(this_program())};
  Target any_program{target_a, L""};
  EXPECT_EQ(control::entry_of(a.get(), {other_program}, programs), std::nullopt);
  // Class and program both compared with case aside; the first matching entry in list order.
  EXPECT_EQ(control::entry_of(a.get(), {other_program, this_one, any_program}, programs), 1u);
  EXPECT_EQ(control::entry_of(a.get(), {other_program, any_program, this_one}, programs), 1u);
  // Read once for the window, whatever was asked of it since.
  EXPECT_EQ(reads, 1);

  // No program is read for a window of a class no entry has, nor where its entry names none.
  platform::UniqueWindow b = make_window(bystander);
  EXPECT_EQ(control::entry_of(b.get(), {other_program, any_program}, programs), std::nullopt);
  Target b_anywhere{bystander, L""};
  EXPECT_EQ(control::entry_of(b.get(), {b_anywhere}, programs), 0u);
  EXPECT_EQ(reads, 1);

  // A window whose program cannot be read stands for no entry that names one, and for those that
  // name none.
  Target b_named{bystander, L"lvplayer.exe"};
  EXPECT_EQ(control::entry_of(b.get(), {b_named}, programs), std::nullopt);
  EXPECT_EQ(control::entry_of(b.get(), {b_named, b_anywhere}, programs), 1u);
  EXPECT_EQ(reads, 2);
  EXPECT_EQ(programs.size(), 2u);

  // Closed windows are forgotten; a new window with the handle of an old one would be read afresh.
  b.reset();
  programs.forget_gone();
  EXPECT_EQ(programs.size(), 1u);
}

TEST(TargetWindows, TheRaiseIsForTheHighestWindowOfTheProgram) {
  platform::UniqueWindow lower = make_window(target_a);
  platform::UniqueWindow upper_window = make_window(target_a);
  ::SetWindowPos(upper_window.get(), HWND_TOP, 0, 0, 0, 0, keep_place);
  // The upper one belongs to "another program".
  control::WindowPrograms programs([&](HWND window) {
    return window == lower.get() ? std::wstring(L"lvplayer.exe") : std::wstring(L"lvother.exe");
  });
  platform::Cloaking cloaking;
  EXPECT_EQ(control::raise_candidate({target_a, L"LVPLAYER.EXE"}, programs, cloaking).window,
            lower.get());
  EXPECT_EQ(control::raise_candidate({target_a, L""}, programs, cloaking).window,
            upper_window.get());
  EXPECT_EQ(control::raise_candidate({target_a, L"lvnone.exe"}, programs, cloaking).window,
            nullptr);
}

// The shell's hosts of Windows 10 and 11 live under the Windows folder's SystemApps, whatever their
// windows' class (the flyouts, TextInputHost, LockApp). File Explorer's windows belong to
// explorer.exe, as the shell's do: of those only the CoreWindows are the shell's.
TEST(TargetWindows, AWindowOfAProgramUnderSystemAppsIsTheShellsWhateverItsClass) {
  platform::UniqueWindow explorer = make_window(target_b);
  platform::UniqueWindow explorer_core = make_window(L"Windows.UI.Core.CoreWindow");
  platform::UniqueWindow host = make_window(target_a);
  wchar_t folder[MAX_PATH] = {};
  ASSERT_GT(::GetSystemWindowsDirectoryW(folder, MAX_PATH), 0u);
  const std::wstring windows = folder;
  control::WindowPrograms programs([&](HWND window) {
    return window == host.get()
               ? windows +
                     L"\\SystemApps\\MicrosoftWindows.Client.CBS_cw5n1h2txyewy\\TextInputHost.exe"
               : windows + L"\\explorer.exe";
  });
  platform::Cloaking cloaking;
  control::RaiseCandidate found = control::raise_candidate({target_a, L""}, programs, cloaking);
  EXPECT_EQ(found.window, nullptr);
  EXPECT_TRUE(found.shell_passed_over);
  EXPECT_EQ(control::raise_candidate({target_b, L"explorer.exe"}, programs, cloaking).window,
            explorer.get());
  EXPECT_FALSE(programs.record_of(explorer.get()).shell);
  EXPECT_TRUE(programs.record_of(explorer_core.get()).shell);

  // Below a window, it counts as the desktop does: the window lies at the bottom as seen.
  ::SetWindowPos(explorer.get(), HWND_BOTTOM, 0, 0, 0, 0, keep_place);
  ::SetWindowPos(host.get(), HWND_BOTTOM, 0, 0, 0, 0, keep_place);
  ASSERT_EQ(::GetWindow(explorer.get(), GW_HWNDNEXT), host.get());
  ASSERT_EQ(::GetWindow(host.get(), GW_HWNDNEXT), nullptr);
  EXPECT_TRUE(control::at_bottom(explorer.get(), cloaking, programs));
}

// Windows of a registered class that the user cannot see lie above the one that shows: hidden,
// minimised, owned (as a menu or a tool window is), parked off screen, and of no size.
TEST_F(WhichWindowTest, TheRaiseGoesToTheFirstEntryWithAWindowTheUserCanSee) {
  platform::UniqueWindow shown = make_window(target_a);
  platform::UniqueWindow b = make_window(target_b);
  std::vector<platform::UniqueWindow> unseen;
  for (int i = 0; i < 4; ++i) unseen.push_back(make_window(target_a));
  // A framed window keeps a least size: a window of no size is a popup.
  unseen.emplace_back(::CreateWindowExW(0, target_a, L"", WS_POPUP | WS_VISIBLE, 200, 200, 0, 0,
                                        nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
  ::ShowWindow(unseen[0].get(), SW_HIDE);
  ::ShowWindow(unseen[1].get(), SW_SHOWMINNOACTIVE);
  ::SetWindowLongPtrW(unseen[2].get(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(b.get()));
  ::SetWindowPos(unseen[3].get(), nullptr, -20000, -20000, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  for (const platform::UniqueWindow& w : unseen) {
    ::SetWindowPos(w.get(), HWND_TOP, 0, 0, 0, 0, keep_place);
  }
  ::SetWindowPos(shown.get(), HWND_BOTTOM, 0, 0, 0, 0, keep_place);
  ASSERT_EQ(::GetWindow(unseen[2].get(), GW_OWNER), b.get());
  ASSERT_NE(::FindWindowW(target_a, nullptr), shown.get());
  bring_to_front(hwnd());

  add_targets({missing_class, target_a, target_b});
  clock_.set_idle();
  tick();
  EXPECT_TRUE(is_topmost(shown.get()));
  for (std::size_t i = 0; i < unseen.size(); ++i) EXPECT_FALSE(is_topmost(unseen[i].get())) << i;
  EXPECT_FALSE(is_topmost(b.get()));

  // With A's only visible window gone, the next entry takes the raise.
  shown.reset();
  tick();
  EXPECT_TRUE(is_topmost(b.get()));
  // (The owned window goes up with its owner, as the system keeps them together.)
  for (std::size_t i = 0; i < unseen.size(); ++i)
    EXPECT_EQ(mover_.moves_of(unseen[i].get()), 0u) << i;
}

// A program made with a classic framework gives all its forms one class and one hidden owner: the
// player, a smaller tool form above it (a playlist, an options palette), and other forms.
TEST_F(WhichWindowTest, TheRaiseTakesThePlayerFormAndNotItsToolForm) {
  platform::UniqueWindow owner = make_hidden_window(bystander);
  platform::UniqueWindow player = make_window(target_a, owner.get());
  platform::UniqueWindow settings = make_window(target_a, owner.get());
  platform::UniqueWindow tool = make_window(target_a, owner.get());
  LONG_PTR style = ::GetWindowLongPtrW(tool.get(), GWL_EXSTYLE);
  ::SetWindowLongPtrW(tool.get(), GWL_EXSTYLE, style | WS_EX_TOOLWINDOW);
  ::SetWindowPos(tool.get(), nullptr, 0, 0, 160, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowPos(settings.get(), HWND_BOTTOM, 0, 0, 0, 0, keep_place);
  ASSERT_TRUE(is_below(player.get(), tool.get()));
  add_targets({target_a});
  clock_.set_idle();
  for (int i = 0; i < 3; ++i) {
    tick();
    EXPECT_TRUE(is_topmost(player.get())) << "tick " << i;
    EXPECT_FALSE(is_topmost(tool.get())) << "tick " << i;
  }

  // The user comes back and works with the settings form, then the player, which goes back down;
  // the settings form stays above it. The form the user last had in front is the player.
  clock_.set_active();
  bring_to_front(settings.get());
  tick();
  bring_to_front(player.get());
  tick();
  ::SetWindowPos(settings.get(), HWND_TOP, 0, 0, 0, 0, keep_place);
  ASSERT_TRUE(is_below(player.get(), settings.get()));
  clock_.set_idle();
  tick();
  EXPECT_TRUE(is_topmost(player.get()));
  EXPECT_FALSE(is_topmost(settings.get()));
  EXPECT_FALSE(is_topmost(tool.get()));

  // Only tool forms left, as a player that hides from the taskbar that way: the highest of them.
  player.reset();
  settings.reset();
  tick();
  EXPECT_TRUE(is_topmost(tool.get()));
}

// Cloaked windows (another virtual desktop, a suspended Store app) are not raised. Wine cloaks
// nothing, so the seam answers for the window; the real question answers no under Wine.
TEST_F(WhichWindowTest, ACloakedWindowIsPassedOverAndRaisedOnceItShows) {
  platform::UniqueWindow a = make_window(target_a);
  platform::UniqueWindow b = make_window(target_b);
  EXPECT_FALSE(platform::window_visibility::cloaked(a.get()))
      << "where DWM cannot answer, a window is not cloaked";
  add_targets({target_a, target_b});
  cloaking_.cloak(a.get());
  clock_.set_idle();
  tick();
  EXPECT_FALSE(is_topmost(a.get()));
  EXPECT_TRUE(is_topmost(b.get()));

  cloaking_.uncloak(a.get());
  ::SetWindowPos(b.get(), HWND_NOTOPMOST, 0, 0, 0, 0, keep_place);
  tick();
  EXPECT_TRUE(is_topmost(a.get()));
  EXPECT_FALSE(is_topmost(b.get()));
}

// The window waiting topmost is asked again each tick only whether it still shows: hidden or
// cloaked meanwhile, it gives the raise up to the next entry, and takes it back once it shows.
TEST_F(WhichWindowTest, ARaisedWindowHiddenOrCloakedWhileItWaitsGivesTheRaiseUp) {
  platform::UniqueWindow a = make_window(target_a);
  platform::UniqueWindow b = make_window(target_b);
  add_targets({target_a, target_b});
  clock_.set_idle();
  start_without_timer();
  tick();
  ASSERT_TRUE(is_topmost(a.get()));

  cloaking_.cloak(a.get());
  tick();
  EXPECT_TRUE(is_topmost(b.get()));
  EXPECT_FALSE(is_topmost(a.get()));
  cloaking_.uncloak(a.get());
  tick();
  EXPECT_TRUE(is_topmost(a.get()));
  EXPECT_FALSE(is_topmost(b.get()));

  ::ShowWindow(a.get(), SW_HIDE);
  tick();
  EXPECT_TRUE(is_topmost(b.get()));
  EXPECT_FALSE(is_topmost(a.get()));
}

// Wine's virtual desktop has a real taskbar, in explorer's process. In the list (a file from
// elsewhere, or edited by hand), it is neither raised nor pushed; the next entry is raised, and
// the status line says why once per Start.
TEST_F(WhichWindowTest, TheTaskbarInTheListIsNeverMovedAndTheNextEntryIsRaised) {
  HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  if (taskbar == nullptr || !::IsWindowVisible(taskbar)) {
    GTEST_SKIP() << "no visible taskbar: Wine's virtual desktop is not in use";
  }
  platform::UniqueWindow a = make_window(target_a);
  add_targets({L"shell_traywnd", target_a});
  bool taskbar_topmost = is_topmost(taskbar);
  start_without_timer();
  clock_.set_idle();
  tick();
  EXPECT_TRUE(is_topmost(a.get()));
  EXPECT_EQ(is_topmost(taskbar), taskbar_topmost);
  EXPECT_EQ(mover_.moves_of(taskbar), 0u);
  const std::wstring told = control::shell_entry_text(L"shell_traywnd");
  EXPECT_EQ(context().front_display_option.caption(), told);

  // The user is back and clicks the taskbar: it stays where it is, and is not told of again.
  context().front_display_option.set_caption(L"");
  clock_.set_active();
  bring_to_front(taskbar);
  ASSERT_EQ(::GetForegroundWindow(), taskbar);
  tick();
  EXPECT_EQ(mover_.moves_of(taskbar), 0u);
  EXPECT_EQ(context().front_display_option.caption(), L"");
  EXPECT_EQ(context().target_list.count(), 2) << "the list keeps the entry";

  // Each Start says it afresh.
  control::start_stop(context());
  start_without_timer();
  clock_.set_idle();
  tick();
  EXPECT_EQ(context().front_display_option.caption(), told);
  EXPECT_EQ(mover_.moves_of(taskbar), 0u);
}

// A class the shell shares with ordinary programs is the shell's only in the shell's process (a
// CoreWindow: of Explorer or the system's apps); a class of the shell alone is the shell's
// wherever it is made.
TEST_F(WhichWindowTest, AWorkerWOfAnOrdinaryProgramIsMovedAndAShellClassNever) {
  platform::UniqueWindow worker = make_window(L"WorkerW");
  platform::UniqueWindow desktop = make_window(L"Progman");
  platform::UniqueWindow store_app = make_window(L"Windows.UI.Core.CoreWindow");
  platform::UniqueWindow start_screen = make_window(L"ImmersiveLauncher");
  platform::UniqueWindow switcher = make_window(L"ImmersiveSwitchList");
  control::WindowPrograms& programs = context().programs;
  EXPECT_FALSE(programs.record_of(worker.get()).shell);
  EXPECT_TRUE(programs.record_of(desktop.get()).shell);
  EXPECT_FALSE(programs.record_of(store_app.get()).shell);
  EXPECT_TRUE(programs.record_of(start_screen.get()).shell);
  EXPECT_TRUE(programs.record_of(switcher.get()).shell);
  add_targets({L"Progman", L"WorkerW"});
  clock_.set_idle();
  tick();
  EXPECT_FALSE(is_topmost(desktop.get()));
  EXPECT_TRUE(is_topmost(worker.get()));

  clock_.set_active();
  bring_to_front(desktop.get());
  int before = z_position(desktop.get());
  tick();
  EXPECT_EQ(z_position(desktop.get()), before);
  bring_to_front(worker.get());
  tick();
  EXPECT_TRUE(is_last_visible(worker.get()));
}

}  // namespace
}  // namespace lorvane::test
