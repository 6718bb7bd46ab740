// Registering a window the way a user does: Select, the window to the front, two questions.
#include "e2e_harness.h"

#include <optional>

namespace lorvane::e2e {
namespace {

using app::id_front_display_option;
using app::id_select_button;
using app::id_start_stop_button;

constexpr const wchar_t* wait_hint = L"制御するウィンドウを前面表示にしてそのままお待ちください。";
constexpr const wchar_t* box_moved = L"制御したいウィンドウが後ろに移動したでしょうか？";
constexpr const wchar_t* box_start = L"制御を開始しますか？";

// The box's message is its static control with id 0xFFFF.
std::wstring box_text(HWND box) { return text_of(::GetDlgItem(box, 0xFFFF)); }

TEST(E2eWizard, SelectingAWindowRegistersItStartsControlAndStoresIt) {
  // Over a desktop kept last, as Windows keeps it.
  DesktopStandIn desktop;
  ASSERT_TRUE(desktop.started());
  Lorvane lorvane;
  ASSERT_TRUE(lorvane.start());
  HWND main = lorvane.main();
  ASSERT_TRUE(pump_until([&] { return ::IsWindowVisible(main) != FALSE; }, 5s));

  // A Japanese class name goes through the ANSI code page on its way to the file.
  const std::wstring target_class = unique_class(L"動画E2E");
  Target other(unique_class(L"E2eOther"));
  Target target(target_class);
  ASSERT_TRUE(other.started());
  ASSERT_TRUE(target.started());
  HWND t = target.window();

  lorvane.click(id_select_button);
  EXPECT_EQ(lorvane.text(id_start_stop_button), caption_start);
  EXPECT_EQ(lorvane.text(id_front_display_option), wait_hint);
  bring_to_front(t);

  // Six seconds after Select the program takes the foreground window, sends it to the back as
  // a test and asks.
  HWND box = nullptr;
  ASSERT_TRUE(pump_until([&] { return (box = lorvane.message_box()) != nullptr; }, 10s));
  EXPECT_EQ(text_of(box), L"Lorvane");
  EXPECT_EQ(box_text(box), box_moved);
  EXPECT_TRUE(is_below(t, other.window()));
  EXPECT_TRUE(is_last_visible(t));
  EXPECT_EQ(lorvane.text(id_front_display_option), L"前面表示しない");
  Lorvane::answer(box, IDYES);

  HWND second = nullptr;
  ASSERT_TRUE(pump_until(
      [&] {
        second = lorvane.message_box();
        return second != nullptr && second != box && box_text(second) == box_start;
      },
      5s));
  EXPECT_EQ(text_of(second), L"Lorvane");
  // Registered before the question: the list already holds it, with its program after a tab.
  const std::wstring entry = target_class + L"\te2e_target.exe";
  EXPECT_EQ(lorvane.list_items(), std::vector<std::wstring>{entry});
  Lorvane::answer(second, IDYES);

  // Control starts and the window goes to the tray.
  EXPECT_TRUE(pump_until([&] { return !::IsWindowVisible(main); }, 5s));
  EXPECT_EQ(lorvane.text(id_start_stop_button), caption_controlling);
  EXPECT_EQ(lorvane.list_items(), std::vector<std::wstring>{entry});
  EXPECT_EQ(lorvane.message_box(), nullptr);

  // Closing works on the hidden window, and the exit save stores the new entry.
  ASSERT_TRUE(lorvane.close());
  EXPECT_EQ(lorvane.ini_bytes(), sjis(L"[Lorvane]\r\n登録数=1\r\nクラス名0=" + target_class +
                                      L"\r\nクラス名1=\r\nプログラム名0=e2e_target.exe\r\n"
                                      L"前面表示設定=0\r\n"));
}

// Wine's virtual desktop has a taskbar of the shell's class, which can be brought to the front.
TEST(E2eWizard, TheTaskbarInFrontIsPassedOverAndTheWaitGoesOn) {
  HWND taskbar = nullptr;
  pump_until([&] { return (taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr)) != nullptr; }, 10s);
  // A desktop that an ended test took with it comes back without its taskbar for a while: a
  // window of the taskbar's class stands in, which the wizard must pass over by its class alone.
  std::optional<Target> stand_in;
  if (taskbar == nullptr) {
    stand_in.emplace(L"Shell_TrayWnd");
    ASSERT_TRUE(stand_in->started());
    taskbar = stand_in->window();
  }
  Lorvane lorvane;
  ASSERT_TRUE(lorvane.start());
  ASSERT_TRUE(pump_until([&] { return ::IsWindowVisible(lorvane.main()) != FALSE; }, 5s));
  lorvane.click(id_select_button);
  // The click's own activation may still be under way: the taskbar is brought to the front until
  // it stays there.
  ASSERT_TRUE(pump_until_settled(
      [&] {
        if (::GetForegroundWindow() != taskbar) bring_to_front(taskbar);
        return std::vector<std::intptr_t>{reinterpret_cast<std::intptr_t>(::GetForegroundWindow())};
      },
      3s, 100ms));
  ASSERT_EQ(::GetForegroundWindow(), taskbar);
  // Past the first selection tick, with the taskbar in front throughout.
  auto until = std::chrono::steady_clock::now() + 7s;
  while (std::chrono::steady_clock::now() < until) {
    // Looked at every quarter second across the first selection tick: the span is the test.
    harness::pump_for(250ms);
    ASSERT_EQ(::GetForegroundWindow(), taskbar);
  }
  EXPECT_EQ(lorvane.message_box(), nullptr);
  EXPECT_EQ(lorvane.text(id_front_display_option), wait_hint);
  EXPECT_FALSE(is_last_visible(taskbar)) << "not moved as a test";
  // Back where it was, out of the way of the tests that follow.
  ::SetWindowPos(taskbar, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(lorvane.close());
}

}  // namespace
}  // namespace lorvane::e2e
