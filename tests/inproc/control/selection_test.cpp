// The selection wizard behind the Select button, with its real message boxes answered as a user
// would.
#include "control/target_selection.h"
#include "control_test_support.h"

#include <algorithm>

namespace lorvane::test {
namespace {

using namespace std::chrono_literals;
using app::id_select_button;
using app::id_start_stop_button;

const std::wstring moved = L"制御したいウィンドウが後ろに移動したでしょうか？";
const std::wstring start_now = L"制御を開始しますか？";
const std::wstring retry = L"再度ウィンドウを選択してお待ちください。";
const std::wstring wait_hint = L"制御するウィンドウを前面表示にしてそのままお待ちください。";
const std::wstring taken = L"前面表示しない";

std::vector<std::wstring> texts(const std::vector<SeenBox>& seen) {
  std::vector<std::wstring> out;
  for (const SeenBox& box : seen) out.push_back(box.text);
  return out;
}

using Targets = std::vector<platform::Target>;

// The program of the windows this test makes: the test executable itself.
std::wstring own_program() {
  wchar_t path[MAX_PATH];
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return file_name(std::wstring(path, length));
}

std::vector<int> sorted(std::vector<int> ids) {
  std::sort(ids.begin(), ids.end());
  return ids;
}

class SelectionTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    // Control started by hand during a wait ticks with the user at the machine.
    clock_.set_active();
  }

  // The user presses Select and brings the target to the front.
  void select_target() {
    click(id_select_button);
    bring_to_front(target_.get());
    ASSERT_EQ(::GetForegroundWindow(), target_.get());
  }

  void selection_tick() { control::selection_tick(context()); }

  platform::UniqueWindow target_ = make_window(target_a);
};

TEST_F(SelectionTest, SelectStopsControlAndWaitsWithoutTouchingTheWindowState) {
  click(id_select_button);
  EXPECT_EQ(context().front_display_option.caption(), wait_hint);
  EXPECT_TRUE(context().selection_timer.enabled());
  EXPECT_EQ(context().selection_timer.interval(), 6000u);
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_FALSE(::IsIconic(hwnd()));

  // While control runs: it stops, and the window stays in the tray.
  add_targets({missing_class});
  click(id_start_stop_button);
  ASSERT_TRUE(pump_until([&] { return ::IsIconic(hwnd()) && !::IsWindowVisible(hwnd()); }));
  context().selection_timer.set_enabled(false);
  click(id_select_button);
  EXPECT_EQ(context().start_stop_button.caption(), L"開始");
  EXPECT_FALSE(context().control_timer.enabled());
  EXPECT_EQ(context().front_display_option.caption(), wait_hint);
  EXPECT_TRUE(context().selection_timer.enabled());
  EXPECT_EQ(context().selection_timer.interval(), 6000u);
  pump_until_empty();
  EXPECT_TRUE(::IsIconic(hwnd()));
  EXPECT_FALSE(::IsWindowVisible(hwnd()));
}

TEST_F(SelectionTest, YesAndYesRegisterTheWindowAtTheEndAndStartControl) {
  add_targets({L"Earlier"});
  context().target_list.select(0);
  select_target();
  BoxWatch watch;
  MessageBoxAnswerer answerer({IDYES, IDYES});
  selection_tick();

  EXPECT_EQ(texts(answerer.seen()), (std::vector<std::wstring>{moved, start_now}));
  // Tied to the program of the window caught.
  EXPECT_EQ(list_targets(), (Targets{{L"Earlier", L""}, {target_a, own_program()}}));
  EXPECT_EQ(context().target_list.selected(), 0);
  EXPECT_FALSE(context().selection_timer.enabled());
  EXPECT_EQ(context().front_display_option.caption(), taken);
  EXPECT_EQ(context().start_stop_button.caption(), L"制御中");
  EXPECT_TRUE(context().control_timer.enabled());
  EXPECT_TRUE(pump_until([&] { return ::IsIconic(hwnd()) && !::IsWindowVisible(hwnd()); }));

  const std::vector<BoxView>& boxes = watch.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  for (const BoxView& box : boxes) {
    EXPECT_EQ(box.title, L"Lorvane");
    EXPECT_EQ(box.owner, hwnd());
    EXPECT_EQ(sorted(box.buttons), (std::vector<int>{IDYES, IDNO}));
    EXPECT_FALSE(box.has_icon);
    // Asked from the background: kept above the window the user turned to. Wine 8 ignores
    // MB_TOPMOST (measured: a box asked for with it has no WS_EX_TOPMOST), so only Windows shows
    // it.
    if (!running_under_wine()) {
      EXPECT_TRUE(box.topmost);
    }
  }
  EXPECT_EQ(boxes[0].text, moved);
  EXPECT_EQ(boxes[1].text, start_now);
  // The test move has put the window below everything by the time the user is asked.
  EXPECT_EQ(boxes[0].bottom, target_.get());
}

TEST_F(SelectionTest, NoThenOkWaitsAgain) {
  add_targets({L"Earlier"});
  select_target();
  BoxWatch watch;
  MessageBoxAnswerer answerer({IDNO, IDOK});
  selection_tick();

  EXPECT_EQ(texts(answerer.seen()), (std::vector<std::wstring>{moved, retry}));
  ASSERT_EQ(watch.boxes().size(), 2u);
  const BoxView& box = watch.boxes()[1];
  EXPECT_EQ(box.title, L"Lorvane");
  EXPECT_EQ(sorted(box.buttons), (std::vector<int>{IDOK, IDCANCEL}));
  EXPECT_FALSE(box.has_icon);

  EXPECT_TRUE(context().selection_timer.enabled());
  EXPECT_EQ(context().selection_timer.interval(), 6000u);
  EXPECT_EQ(context().front_display_option.caption(), wait_hint);
  EXPECT_EQ(list_items(), (std::vector<std::wstring>{L"Earlier"}));
  EXPECT_EQ(context().start_stop_button.caption(), L"開始");
  EXPECT_FALSE(context().control_timer.enabled());
}

TEST_F(SelectionTest, NoThenCancelEndsTheWizard) {
  select_target();
  MessageBoxAnswerer answerer({IDNO, IDCANCEL});
  selection_tick();
  EXPECT_EQ(texts(answerer.seen()), (std::vector<std::wstring>{moved, retry}));
  EXPECT_FALSE(context().selection_timer.enabled());
  EXPECT_EQ(context().front_display_option.caption(), taken);
  EXPECT_TRUE(list_items().empty());
}

// An entry of a file written before programs were recorded: Yes ties it to the caught program
// where it stands, and nothing more is asked.
TEST_F(SelectionTest, AnEntryWithoutAProgramIsNarrowedInPlaceAndNothingMoreIsAsked) {
  add_targets({L"Earlier", target_a, L"Later"});
  context().target_list.append(platform::Target{target_a, L"other.exe"});
  context().target_list.select(1);
  select_target();
  // A second answer, so that a wrong second box would be seen rather than left open.
  MessageBoxAnswerer answerer({IDYES, IDNO});
  selection_tick();
  EXPECT_EQ(texts(answerer.seen()), (std::vector<std::wstring>{moved}));
  EXPECT_EQ(list_targets(), (Targets{{L"Earlier", L""},
                                     {target_a, own_program()},
                                     {L"Later", L""},
                                     {target_a, L"other.exe"}}));
  EXPECT_EQ(context().target_list.selected(), 1);
  EXPECT_EQ(context().start_stop_button.caption(), L"開始");
  EXPECT_FALSE(context().selection_timer.enabled());
  EXPECT_FALSE(context().control_timer.enabled());
  EXPECT_EQ(context().front_display_option.caption(), taken);
}

// The class and the program are registered already (the program in another case, as a path may
// spell it): nothing changes and nothing more is asked. An entry of the class for another program
// is no duplicate.
TEST_F(SelectionTest, AClassAndProgramRegisteredAlreadyIsADuplicate) {
  std::wstring shouting = own_program();
  for (wchar_t& c : shouting) c = static_cast<wchar_t>(::towupper(c));
  for (const std::wstring& program : {own_program(), shouting}) {
    SCOPED_TRACE(testing::Message() << program);
    context().target_list.clear();
    context().target_list.append(platform::Target{target_a, L"other.exe"});
    context().target_list.append(platform::Target{target_a, program});
    select_target();
    MessageBoxAnswerer answerer({IDYES, IDNO});
    selection_tick();
    EXPECT_EQ(texts(answerer.seen()), (std::vector<std::wstring>{moved}));
    EXPECT_EQ(list_targets(), (Targets{{target_a, L"other.exe"}, {target_a, program}}));
  }
  context().target_list.clear();
  context().target_list.append(platform::Target{target_a, L"other.exe"});
  select_target();
  MessageBoxAnswerer answerer({IDYES, IDNO});
  selection_tick();
  EXPECT_EQ(texts(answerer.seen()), (std::vector<std::wstring>{moved, start_now}));
  EXPECT_EQ(list_targets(), (Targets{{target_a, L"other.exe"}, {target_a, own_program()}}));
}

// Other windows of the class: only those the user can see are told of. Here they are windows of
// the same program; windows of another program are told of end to end.
TEST_F(SelectionTest, OtherWindowsOfTheClassThatTheUserCanSeeAreToldOfBeforeTheSecondBox) {
  platform::UniqueWindow hidden = make_window(target_a);
  ::ShowWindow(hidden.get(), SW_HIDE);
  platform::UniqueWindow minimised = make_window(target_a);
  ::ShowWindow(minimised.get(), SW_SHOWMINNOACTIVE);
  platform::UniqueWindow off_screen = make_window(target_a);
  ::SetWindowPos(off_screen.get(), nullptr, -30000, -30000, 200, 100,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  {
    select_target();
    MessageBoxAnswerer answerer({IDYES, IDNO});
    selection_tick();
    EXPECT_EQ(texts(answerer.seen()), (std::vector<std::wstring>{moved, start_now}));
  }
  context().target_list.clear();
  platform::UniqueWindow shown = make_window(target_a);
  select_target();
  BoxWatch watch;
  MessageBoxAnswerer answerer({IDYES, IDOK, IDNO});
  selection_tick();
  const std::wstring note(control::shared_within_program);
  EXPECT_EQ(texts(answerer.seen()), (std::vector<std::wstring>{moved, note, start_now}));
  ASSERT_EQ(watch.boxes().size(), 3u);
  EXPECT_EQ(watch.boxes()[1].title, L"Lorvane");
  EXPECT_EQ(watch.boxes()[1].buttons, std::vector<int>{IDOK});
  EXPECT_EQ(list_targets(), (Targets{{target_a, own_program()}}));
}

TEST(SelectionRules, TheCaughtTargetIsNewANarrowingOrADuplicate) {
  using Kind = control::Registration::Kind;
  auto kind = [](const Targets& entries, const platform::Target& caught) {
    control::Registration r = control::registration_for(entries, caught);
    return std::make_pair(r.kind, r.position);
  };
  const Targets old_file{{L"Player", L""}, {L"Other", L""}};
  EXPECT_EQ(kind(old_file, {L"Player", L"p.exe"}), std::make_pair(Kind::narrow, 0));
  // The class compares as the list does, case and all.
  EXPECT_EQ(kind(old_file, {L"player", L"p.exe"}), std::make_pair(Kind::append, 2));
  // Without a program the caught window is what the old entry already stands for.
  EXPECT_EQ(kind(old_file, {L"Other", L""}), std::make_pair(Kind::duplicate, 1));
  // The exact entry wins over a narrowing further up.
  EXPECT_EQ(kind({{L"Player", L""}, {L"Player", L"P.EXE"}}, {L"Player", L"p.exe"}),
            std::make_pair(Kind::duplicate, 1));
  // A program never matches an entry of another program, nor does no program match one.
  EXPECT_EQ(kind({{L"Player", L"q.exe"}}, {L"Player", L"p.exe"}), std::make_pair(Kind::append, 1));
  EXPECT_EQ(kind({{L"Player", L"q.exe"}}, {L"Player", L""}), std::make_pair(Kind::append, 1));
  EXPECT_EQ(kind({}, {L"Player", L"p.exe"}), std::make_pair(Kind::append, 0));
}

TEST(SelectionRules, TheSharedClassNoteSaysWhatIsControlled) {
  const std::wstring others(control::shared_with_other_programs);
  const std::wstring same(control::shared_within_program);
  EXPECT_EQ(control::shared_class_note(0, 0), std::nullopt);
  EXPECT_EQ(control::shared_class_note(2, 0), others);
  EXPECT_EQ(control::shared_class_note(0, 1), same);
  EXPECT_EQ(control::shared_class_note(1, 3), others + L"\n" + same);
}

TEST_F(SelectionTest, ANameDifferingOnlyInCaseIsANewEntry) {
  add_targets({L"lorvanetesttargeta", L"LORVANETESTTARGETA"});
  select_target();
  MessageBoxAnswerer answerer({IDYES, IDNO});
  selection_tick();
  EXPECT_EQ(texts(answerer.seen()), (std::vector<std::wstring>{moved, start_now}));
  EXPECT_EQ(list_targets(), (Targets{{L"lorvanetesttargeta", L""},
                                     {L"LORVANETESTTARGETA", L""},
                                     {target_a, own_program()}}));
  // No to starting: control stays stopped.
  EXPECT_EQ(context().start_stop_button.caption(), L"開始");
  EXPECT_FALSE(context().control_timer.enabled());
}

// The main window, and the shell's windows: Wine's own taskbar, and windows of the shell's
// classes made here (any case), which are the desktop and the second taskbar on Windows. (A
// WorkerW made here would be an ordinary program's: that class is the shell's only in its process.)
TEST_F(SelectionTest, WithTheMainWindowOrTheShellInFrontNothingIsAskedAndTheWaitGoesOn) {
  platform::UniqueWindow desktop = make_window(L"progman");
  platform::UniqueWindow taskbar = make_window(L"shell_secondarytraywnd");
  std::vector<HWND> windows = {hwnd(), desktop.get(), taskbar.get()};
  if (HWND wine_taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr)) windows.push_back(wine_taskbar);
  click(id_select_button);
  for (HWND window : windows) {
    bring_to_front(window);
    ASSERT_EQ(::GetForegroundWindow(), window);
    int before = z_position(window);
    MessageBoxAnswerer answerer({IDNO, IDCANCEL});
    selection_tick();
    pump_until_empty();
    EXPECT_TRUE(answerer.seen().empty());
    EXPECT_TRUE(context().selection_timer.enabled());
    EXPECT_EQ(context().front_display_option.caption(), wait_hint);
    EXPECT_EQ(z_position(window), before) << "not moved as a test";
  }
}

// A window of a program running as administrator (the seam stands for it) cannot be moved, so
// the question could only be answered No.
TEST_F(SelectionTest, AWindowThatRefusesToMoveGetsNoQuestionAndTheWaitGoesOn) {
  mover_.refuse(target_.get());
  select_target();
  MessageBoxAnswerer answerer({IDNO, IDCANCEL});
  selection_tick();
  pump_until_empty();
  EXPECT_TRUE(answerer.seen().empty());
  EXPECT_TRUE(context().selection_timer.enabled());
  EXPECT_EQ(context().selection_timer.interval(), 6000u);
  EXPECT_EQ(context().front_display_option.caption(), control::unmovable_text(target_a));
}

TEST_F(SelectionTest, WithNoForegroundWindowYesAddsNothing) {
  add_targets({L"Earlier"});
  select_target();
  // The window in front gives up activation, and no other window takes it: under Wine there is
  // then no foreground window at all, and the class name read is empty.
  ::SetActiveWindow(nullptr);
  if (::GetForegroundWindow() != nullptr) {
    GTEST_SKIP() << "a foreground window remains here";
  }
  MessageBoxAnswerer answerer({IDYES, IDNO});
  selection_tick();
  EXPECT_EQ(texts(answerer.seen()), (std::vector<std::wstring>{moved}));
  EXPECT_EQ(list_items(), (std::vector<std::wstring>{L"Earlier"}));
  EXPECT_FALSE(context().selection_timer.enabled());
  EXPECT_EQ(context().front_display_option.caption(), taken);
  EXPECT_EQ(context().start_stop_button.caption(), L"開始");
  EXPECT_FALSE(is_last_visible(target_.get())) << "the test move has nothing to move";
}

TEST_F(SelectionTest, StartPressedDuringTheWaitIsStoppedByYesToStart) {
  add_targets({missing_class});
  click(id_select_button);
  click(id_start_stop_button);
  ASSERT_EQ(context().start_stop_button.caption(), L"制御中");
  ASSERT_TRUE(context().selection_timer.enabled()) << "the wait goes on while control runs";
  bring_to_front(target_.get());
  MessageBoxAnswerer answerer({IDYES, IDYES});
  selection_tick();
  EXPECT_EQ(texts(answerer.seen()), (std::vector<std::wstring>{moved, start_now}));
  EXPECT_EQ(list_items(), (std::vector<std::wstring>{missing_class, target_a}));
  EXPECT_EQ(context().start_stop_button.caption(), L"開始");
  EXPECT_FALSE(context().control_timer.enabled());
  EXPECT_TRUE(pump_until([&] { return ::IsWindowVisible(hwnd()) && !::IsIconic(hwnd()); }));
}

// The real selection timer: the first question comes six seconds after Select.
TEST_F(SelectionTest, TheSelectionTimerAsksSixSecondsAfterSelect) {
  BoxWatch watch;
  MessageBoxAnswerer answerer({IDNO, IDOK});
  auto selected = std::chrono::steady_clock::now();
  select_target();
  ASSERT_TRUE(pump_until([&] { return answerer.answered() == 2; }, 10s));
  ASSERT_FALSE(watch.boxes().empty());
  auto asked = watch.boxes()[0].at - selected;
  // A little slack below the interval for the timer's granularity.
  EXPECT_GE(asked, 5950ms);
  EXPECT_LT(asked, 7500ms);
  EXPECT_EQ(watch.boxes()[0].bottom, target_.get());
  // OK: waiting again.
  EXPECT_TRUE(pump_until([&] { return context().front_display_option.caption() == wait_hint; }));
  EXPECT_TRUE(context().selection_timer.enabled());
}

}  // namespace
}  // namespace lorvane::test
