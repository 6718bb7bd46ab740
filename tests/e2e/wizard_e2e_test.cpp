// Registering a window the way a user does: Select, the window to the front, two questions.
#include "e2e_harness.h"

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
  // Registered before the question: the list already holds it.
  EXPECT_EQ(lorvane.list_items(), std::vector<std::wstring>{target_class});
  Lorvane::answer(second, IDYES);

  // Control starts and the window goes to the tray.
  EXPECT_TRUE(pump_until([&] { return !::IsWindowVisible(main); }, 5s));
  EXPECT_EQ(lorvane.text(id_start_stop_button), caption_controlling);
  EXPECT_EQ(lorvane.list_items(), std::vector<std::wstring>{target_class});
  EXPECT_EQ(lorvane.message_box(), nullptr);

  // Closing works on the hidden window, and the exit save stores the new entry.
  ASSERT_TRUE(lorvane.close());
  EXPECT_EQ(lorvane.ini_bytes(), sjis(L"[Lorvane]\r\n登録数=1\r\nクラス名0=" + target_class +
                                      L"\r\nクラス名1=\r\n前面表示設定=0\r\n"));
}

}  // namespace
}  // namespace lorvane::e2e
