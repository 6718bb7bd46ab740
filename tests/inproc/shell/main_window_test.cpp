// The main window as it opens, and what it does when it is resized, maximised and minimised.
#include <array>
#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "app/twips.h"
#include "control/control_cycle.h"
#include "main_window_fixture.h"

#include <commctrl.h>

namespace lorvane::test {
namespace {

using app::ControlId;

class MainWindowShellTest : public MainWindowTest {
 protected:
  // A child's rectangle in the client coordinates of the main window.
  RECT child_rect(ControlId id) {
    RECT r;
    ::GetWindowRect(item(id), &r);
    ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  RECT client() {
    RECT r;
    ::GetClientRect(hwnd(), &r);
    return r;
  }

  // Sets the outer size as a drag of the frame would.
  void drag_to(int width, int height) {
    ::SetWindowPos(hwnd(), nullptr, 0, 0, width, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // What the user sees of the layout at any size: the button column and the About button flush
  // with the right edge (the layout leaves one design pixel), the list between the left edge and
  // the buttons and above the check box, and no shown control over another or outside the window.
  void expect_laid_out_for_client() {
    RECT c = client();
    int slack = app::twips_to_pixels(15, dpi()) + 1;
    const ControlId right_column[] = {app::id_about_button,     app::id_select_button,
                                      app::id_move_up_button,   app::id_move_down_button,
                                      app::id_delete_button,    app::id_save_button,
                                      app::id_start_stop_button};
    for (ControlId id : right_column) {
      SCOPED_TRACE(id);
      EXPECT_LE(std::abs(child_rect(id).right - c.right), slack);
    }
    RECT list = child_rect(app::id_target_list);
    RECT option = child_rect(app::id_front_display_option);
    EXPECT_EQ(list.left, 0);
    EXPECT_LT(list.right, child_rect(app::id_select_button).left);
    EXPECT_LT(list.bottom, option.top);
    std::vector<RECT> shown;
    for (int id = app::id_list_label; id <= app::id_idle_threshold_box; ++id) {
      if (!::IsWindowVisible(item(static_cast<ControlId>(id)))) continue;
      SCOPED_TRACE(id);
      RECT r = child_rect(static_cast<ControlId>(id));
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= c.right && r.bottom <= c.bottom);
      for (const RECT& other : shown) {
        RECT overlap{};
        EXPECT_FALSE(::IntersectRect(&overlap, &r, &other));
      }
      shown.push_back(r);
    }
  }

  // The client area of the smallest window: 3540 × 4530 twips outer, less the design frame.
  SIZE minimum_client() {
    return {
        app::twips_to_pixels_at_least(app::minimum_outer_width - app::design_frame_width, dpi()),
        app::twips_to_pixels_at_least(app::minimum_outer_height - app::design_frame_height, dpi())};
  }
};

std::wstring class_of(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

BOOL CALLBACK count_child(HWND, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

TEST_F(MainWindowShellTest, OpensWithTheDesignedControlsAndTheFocusOnStart) {
  start();
  EXPECT_EQ(platform::window_text(hwnd()), L"Lorvane");
  EXPECT_EQ(class_of(hwnd()), L"LorvaneMain");
  EXPECT_NE(::GetWindowLongW(hwnd(), GWL_STYLE) & WS_THICKFRAME, 0);

  struct Expected {
    ControlId id;
    const wchar_t* window_class;
    const wchar_t* text;
  };
  const Expected expected[] = {
      {app::id_list_label, L"Static", L"制御する窓"},
      {app::id_about_button, L"Button", L"バージョン情報"},
      {app::id_target_list, L"ListBox", L""},
      {app::id_select_button, L"Button", L"選択"},
      {app::id_move_up_button, L"Button", L"↑"},
      {app::id_move_down_button, L"Button", L"↓"},
      {app::id_delete_button, L"Button", L"削除"},
      {app::id_save_button, L"Button", L"保存"},
      {app::id_start_stop_button, L"Button", L"開始"},
      {app::id_front_display_option, L"Button", control::first_use_hint.data()},
      {app::id_idle_threshold_box, L"Edit", L"5000"},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.id);
    HWND child = item(e.id);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(::lstrcmpiW(class_of(child).c_str(), e.window_class), 0) << class_of(child);
    EXPECT_EQ(platform::window_text(child), e.text);
    EXPECT_TRUE(::IsWindowEnabled(child));
    // Only the threshold box is hidden.
    EXPECT_EQ(::IsWindowVisible(child) != FALSE, e.id != app::id_idle_threshold_box);
  }
  int children = 0;
  ::EnumChildWindows(hwnd(), count_child, reinterpret_cast<LPARAM>(&children));
  EXPECT_EQ(children, 11);

  LONG button_type = ::GetWindowLongW(item(app::id_front_display_option), GWL_STYLE) & BS_TYPEMASK;
  EXPECT_EQ(button_type, BS_AUTOCHECKBOX);
  EXPECT_FALSE(context().front_display_option.ticked());
  LONG list_style = ::GetWindowLongW(item(app::id_target_list), GWL_STYLE);
  EXPECT_EQ(list_style & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0);
  EXPECT_FALSE(context().selection_timer.running());
  EXPECT_FALSE(context().control_timer.enabled());

  // Opened at the minimum size, since the designed width is below it, and centred.
  RECT c = client();
  EXPECT_EQ(c.right, minimum_client().cx);
  EXPECT_EQ(c.bottom, minimum_client().cy);
  RECT outer;
  ::GetWindowRect(hwnd(), &outer);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromWindow(hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_LE(std::abs((outer.left + outer.right) - (monitor.rcWork.left + monitor.rcWork.right)), 2);
  EXPECT_LE(std::abs((outer.top + outer.bottom) - (monitor.rcWork.top + monitor.rcWork.bottom)), 2);
  expect_laid_out_for_client();

  EXPECT_EQ(::GetForegroundWindow(), hwnd());
  EXPECT_EQ(::GetFocus(), item(app::id_start_stop_button));
}

TEST_F(MainWindowShellTest, WithStoredTargetsTheStatusLineKeepsTheCheckBoxCaption) {
  write_ini(L"[Lorvane]\n登録数=1\nクラス名0=NoSuchWindowClass\n");
  start();
  tray_event(WM_LBUTTONUP);
  EXPECT_EQ(context().front_display_option.caption(), L"前面表示しない。");
  EXPECT_EQ(context().start_stop_button.caption(), L"制御中");
}

TEST_F(MainWindowShellTest, TabWalksTheControlsInTheDesignedOrder) {
  start();
  const ControlId order[] = {
      app::id_start_stop_button, app::id_select_button, app::id_front_display_option,
      app::id_about_button,      app::id_save_button,   app::id_delete_button,
      app::id_move_down_button,  app::id_target_list,   app::id_move_up_button};
  HWND at = item(app::id_start_stop_button);
  for (std::size_t i = 1; i <= std::size(order); ++i) {
    at = ::GetNextDlgTabItem(hwnd(), at, FALSE);
    EXPECT_EQ(at, item(order[i % std::size(order)])) << "step " << i;
  }
  // And Shift+Tab walks back.
  EXPECT_EQ(::GetNextDlgTabItem(hwnd(), item(app::id_start_stop_button), TRUE),
            item(app::id_move_up_button));
}

TEST_F(MainWindowShellTest, AFrameDraggedTooSmallSpringsBackToTheMinimum) {
  start();
  drag_to(40, 40);
  EXPECT_EQ(client().right, minimum_client().cx);
  EXPECT_EQ(client().bottom, minimum_client().cy);
  // At the minimum the list is 2580 × 2760 twips.
  RECT list = child_rect(app::id_target_list);
  EXPECT_EQ(list.right - list.left, app::twips_to_pixels(2580, dpi()));
  EXPECT_EQ(list.bottom - list.top, app::twips_to_pixels(2760, dpi()));
  expect_laid_out_for_client();

  // Each side springs back on its own; the other keeps what it was given.
  drag_to(40, 600);
  EXPECT_EQ(client().right, minimum_client().cx);
  EXPECT_GT(client().bottom, minimum_client().cy);
  drag_to(500, 40);
  EXPECT_GT(client().right, minimum_client().cx);
  EXPECT_EQ(client().bottom, minimum_client().cy);
  EXPECT_EQ(window_->saved_window_state(), platform::WindowState::normal);
}

TEST_F(MainWindowShellTest, ALargerWindowMovesTheButtonsAndTheCheckBoxAndGrowsTheList) {
  start();
  RECT small_client = client();
  RECT small_list = child_rect(app::id_target_list);
  RECT small_label = child_rect(app::id_list_label);
  RECT small_check = child_rect(app::id_front_display_option);
  RECT small_start_stop_button = child_rect(app::id_start_stop_button);

  drag_to(520, 640);
  RECT c = client();
  ASSERT_GT(c.right, small_client.right + 100);
  ASSERT_GT(c.bottom, small_client.bottom + 100);
  expect_laid_out_for_client();

  // The same in plain terms: the list grows with the window (within a pixel of rounding), the
  // button column keeps its distance to the right edge, the check box to the bottom edge, and the
  // label stays where it was.
  int grown_x = c.right - small_client.right;
  int grown_y = c.bottom - small_client.bottom;
  RECT list = child_rect(app::id_target_list);
  EXPECT_NEAR(list.right - list.left, small_list.right - small_list.left + grown_x, 1);
  EXPECT_NEAR(list.bottom - list.top, small_list.bottom - small_list.top + grown_y, 1);
  EXPECT_EQ(list.left, small_list.left);
  EXPECT_EQ(list.top, small_list.top);
  RECT start_stop_button = child_rect(app::id_start_stop_button);
  EXPECT_NEAR(c.right - start_stop_button.right, small_client.right - small_start_stop_button.right,
              1);
  EXPECT_EQ(start_stop_button.top, small_start_stop_button.top);
  for (ControlId id : {app::id_select_button, app::id_move_up_button, app::id_move_down_button,
                       app::id_delete_button, app::id_save_button}) {
    EXPECT_EQ(child_rect(id).left, start_stop_button.left) << id;
  }
  EXPECT_NEAR(child_rect(app::id_about_button).right, start_stop_button.right, 1);
  RECT check = child_rect(app::id_front_display_option);
  EXPECT_NEAR(c.bottom - check.bottom, small_client.bottom - small_check.bottom, 1);
  EXPECT_EQ(check.left, small_check.left);
  EXPECT_EQ(check.right - check.left, small_check.right - small_check.left);
  RECT label = child_rect(app::id_list_label);
  EXPECT_TRUE(::EqualRect(&label, &small_label));
}

TEST_F(MainWindowShellTest, MaximisingLaysOutForTheWholeScreenAndIsRemembered) {
  start();
  ::ShowWindow(hwnd(), SW_MAXIMIZE);
  ASSERT_TRUE(::IsZoomed(hwnd()));
  EXPECT_EQ(window_->saved_window_state(), platform::WindowState::maximised);
  expect_laid_out_for_client();
  ::ShowWindow(hwnd(), SW_RESTORE);
  EXPECT_FALSE(::IsZoomed(hwnd()));
  EXPECT_EQ(window_->saved_window_state(), platform::WindowState::normal);
  EXPECT_EQ(client().right, minimum_client().cx);
}

TEST_F(MainWindowShellTest, MinimisingByAnyMeansHidesTheWindowAndKeepsTheSavedState) {
  start();
  ::ShowWindow(hwnd(), SW_MINIMIZE);
  EXPECT_TRUE(::IsIconic(hwnd()));
  EXPECT_FALSE(::IsWindowVisible(hwnd()));
  EXPECT_EQ(window_->saved_window_state(), platform::WindowState::normal);

  tray_event(WM_LBUTTONUP);
  ASSERT_TRUE(::IsWindowVisible(hwnd()));
  ::ShowWindow(hwnd(), SW_MAXIMIZE);
  // The title bar's minimise button and the system menu both come as this command.
  ::SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(::IsIconic(hwnd()));
  EXPECT_FALSE(::IsWindowVisible(hwnd()));
  // Minimised is never stored.
  EXPECT_EQ(window_->saved_window_state(), platform::WindowState::maximised);

  // Control started by the Start button minimises through the same handling.
  tray_event(WM_LBUTTONUP);
  ::ShowWindow(hwnd(), SW_RESTORE);
  context().target_list.append(L"NoSuchWindowClass");
  click(app::id_start_stop_button);
  EXPECT_TRUE(context().control_timer.enabled());
  EXPECT_TRUE(::IsIconic(hwnd()));
  EXPECT_FALSE(::IsWindowVisible(hwnd()));
}

// The window's outer size and the controls' font; the controls' places follow from the client
// area, which expect_laid_out_for_client checks.
struct Look {
  RECT outer;
  RECT client;
  LOGFONTW font;
};

Look look_of(HWND window) {
  Look look{};
  ::GetWindowRect(window, &look.outer);
  ::OffsetRect(&look.outer, -look.outer.left, -look.outer.top);
  ::GetClientRect(window, &look.client);
  auto font = reinterpret_cast<HFONT>(
      ::SendMessageW(::GetDlgItem(window, app::id_start_stop_button), WM_GETFONT, 0, 0));
  EXPECT_NE(font, nullptr) << "the controls keep the system font";
  ::GetObjectW(font, sizeof look.font, &look.font);
  return look;
}

// Windows 8.1 tells a window moved to a monitor of 144 dpi, with a frame half as large again:
// the window takes the rectangle it is given.
void expect_moved_to_a_new_resolution(HWND window) {
  RECT before;
  ::GetWindowRect(window, &before);
  RECT suggested{before.left, before.top, before.left + (before.right - before.left) * 3 / 2,
                 before.top + (before.bottom - before.top) * 3 / 2};
  ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  RECT after;
  ::GetWindowRect(window, &after);
  EXPECT_TRUE(::EqualRect(&suggested, &after));
}

// On Windows 7, 8 and 8.1 the resolution functions of Windows 10 are missing; here they are
// reported missing. At the system's resolution the window must come up exactly as with them and
// keep its minimum and layout; told of another resolution (8.1 and 10 before 1607 do), it is
// laid out and lettered for that one, and so is the About box.
TEST_F(MainWindowShellTest, WithoutTheNewerResolutionFunctionsItOpensAndLaysOutTheSame) {
  start();
  Look with_them = look_of(hwnd());
  window_.reset();

  resolution_ = platform::Dpi(platform::DpiFunctions{});
  start();
  ASSERT_EQ(dpi(), platform::Dpi().system()) << "the window is not at the system's resolution";
  Look without = look_of(hwnd());
  EXPECT_TRUE(::EqualRect(&without.outer, &with_them.outer));
  EXPECT_TRUE(::EqualRect(&without.client, &with_them.client));
  EXPECT_EQ(without.font.lfHeight, with_them.font.lfHeight);
  EXPECT_EQ(std::wstring(without.font.lfFaceName), std::wstring(with_them.font.lfFaceName));
  expect_laid_out_for_client();

  drag_to(40, 40);
  EXPECT_EQ(client().right, minimum_client().cx);
  EXPECT_EQ(client().bottom, minimum_client().cy);
  drag_to(520, 640);
  expect_laid_out_for_client();
  // Half as large again still fits the screen, which Wine holds a window to.
  drag_to(320, 420);
  expect_moved_to_a_new_resolution(hwnd());
  EXPECT_EQ(
      child_rect(app::id_start_stop_button).right - child_rect(app::id_start_stop_button).left,
      app::twips_to_pixels(735, 144));
  EXPECT_EQ(look_of(hwnd()).font.lfHeight, -::MulDiv(9, 144, 72));

  click(app::id_about_button);
  HWND about = window_->about_box();
  ASSERT_NE(about, nullptr);
  RECT about_client;
  ::GetClientRect(about, &about_client);
  EXPECT_EQ(about_client.right, app::twips_to_pixels(3630, dpi()));
  EXPECT_EQ(about_client.bottom, app::twips_to_pixels(1410, dpi()));
  EXPECT_NE(::SendMessageW(::GetDlgItem(about, IDOK), WM_GETFONT, 0, 0), 0);
  expect_moved_to_a_new_resolution(about);
}

// Takes the owner in, gives its tooltip back.
BOOL CALLBACK find_owned_tooltip(HWND window, LPARAM owner_then_found) {
  auto* found = reinterpret_cast<HWND*>(owner_then_found);
  if (::GetWindow(window, GW_OWNER) != *found || class_of(window) != TOOLTIPS_CLASSW) return TRUE;
  *found = window;
  return FALSE;
}

// The list as a new user fills it: two entries of one program each, one of an older file without
// a program, and one whose class is longer than the list is wide.
const std::vector<platform::Target> listed{
    {L"MediaPlayerClassicW", L"mpc-hc.exe"},
    {L"Chrome_WidgetWin_1", L"chrome.exe"},
    {L"動画ビューア", L""},
    {L"HwndWrapper[VideoWall;;5f0c2e9a-17b3-4c1d]", L"VideoWall.exe"},
};

class TargetListLookTest : public MainWindowShellTest {
 protected:
  HWND list() { return item(app::id_target_list); }

  // The height of one line of the list's font.
  int line_height() {
    HDC dc = ::GetDC(list());
    HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list(), WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(list(), dc);
    return metrics.tmHeight;
  }

  int item_height() { return static_cast<int>(::SendMessageW(list(), LB_GETITEMHEIGHT, 0, 0)); }

  // An entry's rectangle on the screen.
  RECT entry_on_screen(int position) {
    RECT r{};
    ::SendMessageW(list(), LB_GETITEMRECT, static_cast<WPARAM>(position),
                   reinterpret_cast<LPARAM>(&r));
    ::MapWindowPoints(list(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  // The list's tooltip: a tooltip window of this thread that the main window owns.
  HWND tooltip() {
    HWND found = hwnd();
    ::EnumThreadWindows(::GetCurrentThreadId(), find_owned_tooltip,
                        reinterpret_cast<LPARAM>(&found));
    return found != hwnd() ? found : nullptr;
  }

  // What the tooltip has been given to show while the pointer rests where it is.
  std::wstring tip_text() {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    if (!::SendMessageW(tooltip(), TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool))) return L"?";
    std::wstring text(1024, L'\0');
    tool.lpszText = text.data();
    ::SendMessageW(tooltip(), TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    text.resize(std::wcslen(text.c_str()));
    return text;
  }

  // The colour the screen shows at the right end of an entry, inside its focus rectangle, where
  // no text of these entries reaches.
  COLORREF colour_at_end_of(int position) {
    RECT r = entry_on_screen(position);
    HDC screen = ::GetDC(nullptr);
    COLORREF colour = ::GetPixel(screen, r.right - 4, (r.top + r.bottom) / 2);
    ::ReleaseDC(nullptr, screen);
    return colour;
  }
};

// Told of another resolution as Windows 8.1 tells it, the list takes the new font's height.
TEST_F(TargetListLookTest, EachEntryIsTwoLinesOfTheListsFontHighAtEveryResolution) {
  resolution_ = platform::Dpi(platform::DpiFunctions{});
  start();
  set_targets(listed);
  EXPECT_GE(item_height(), 2 * line_height());
  // Nothing needs scrolling sideways.
  EXPECT_EQ(::GetWindowLongW(list(), GWL_STYLE) & WS_HSCROLL, 0);
  int at_start = item_height();

  drag_to(320, 420);
  expect_moved_to_a_new_resolution(hwnd());
  EXPECT_GT(item_height(), at_start);
  EXPECT_GE(item_height(), 2 * line_height());
}

TEST_F(TargetListLookTest, ReadersOfTheListReadTheClassATabAndTheProgramAsBefore) {
  start();
  set_targets(listed);
  std::wstring text(64, L'\0');
  LRESULT length = ::SendMessageW(list(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  EXPECT_EQ(text, L"MediaPlayerClassicW\tmpc-hc.exe");
  EXPECT_EQ(list_targets(), listed);
}

// Names of about 20 characters read whole and get no tip; a longer one gets the whole entry in its
// tip, shown while the pointer rests on it.
TEST_F(TargetListLookTest, OnlyAnEntryCutShortShowsWholeInATooltip) {
  start();
  set_targets(listed);
  ASSERT_NE(tooltip(), nullptr);
  for (int position = 0; position < 3; ++position) {
    SCOPED_TRACE(position);
    RECT r = entry_on_screen(position);
    point_at({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    EXPECT_TRUE(pump_until([&] { return tip_text().empty(); }));
  }
  RECT r = entry_on_screen(3);
  const std::wstring whole = L"HwndWrapper[VideoWall;;5f0c2e9a-17b3-4c1d]\r\nVideoWall.exe";
  bool taken = false;
  for (int tries = 0; tries < 5 && !taken; ++tries) {
    // Under Wine a move of the pointer now and then reaches no window: a resting hand moves
    // again, a pixel aside.
    point_at({(r.left + r.right) / 2 + tries % 2, (r.top + r.bottom) / 2});
    taken = pump_until([&] { return tip_text() == whole; }, std::chrono::seconds(1));
  }
  EXPECT_TRUE(taken) << tip_text();
  EXPECT_TRUE(pump_until([&] { return ::IsWindowVisible(tooltip()) != FALSE; }));
  EXPECT_EQ(platform::window_text(tooltip()), whole);

  // The pointer goes to an entry that reads whole: the tip goes with it.
  r = entry_on_screen(0);
  point_at({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  EXPECT_TRUE(pump_until([&] { return tip_text().empty() && !::IsWindowVisible(tooltip()); }));
  park_pointer();
}

// The arrow keys move the selection, drawn in the system's selection colour, and the entry left
// goes back to the window colour; the buttons move the entry with its two lines.
TEST_F(TargetListLookTest, TheKeyboardMovesTheSelectionInTheSystemsColours) {
  start();
  set_targets(listed, 0);
  ::SetFocus(list());
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  EXPECT_TRUE(pump_until([&] { return colour_at_end_of(0) == highlight; }));
  press_key(VK_DOWN);
  EXPECT_TRUE(pump_until([&] { return context().target_list.selected() == 1; }));
  EXPECT_TRUE(pump_until(
      [&] { return colour_at_end_of(1) == highlight && colour_at_end_of(0) == window; }));
  press_key(VK_END);
  EXPECT_TRUE(pump_until([&] { return context().target_list.selected() == 3; }));

  click(app::id_move_up_button);
  EXPECT_EQ(context().target_list.selected(), 2);
  EXPECT_EQ(context().target_list.target(2), listed[3]);
  EXPECT_TRUE(pump_until(
      [&] { return colour_at_end_of(2) == highlight && colour_at_end_of(3) == window; }));
}

// A high-contrast scheme is a set of system colours: the list takes whatever the system gives,
// redrawn as the system tells its windows of the change.
class SystemColours {
 public:
  SystemColours(COLORREF window, COLORREF highlight) {
    ::SetSysColors(2, kinds_, std::array<COLORREF, 2>{window, highlight}.data());
  }
  SystemColours(const SystemColours&) = delete;
  SystemColours& operator=(const SystemColours&) = delete;
  ~SystemColours() { ::SetSysColors(2, kinds_, before_.data()); }

 private:
  const INT kinds_[2] = {COLOR_WINDOW, COLOR_HIGHLIGHT};
  const std::array<COLORREF, 2> before_{::GetSysColor(COLOR_WINDOW),
                                        ::GetSysColor(COLOR_HIGHLIGHT)};
};

TEST_F(TargetListLookTest, AHighContrastSchemesColoursAreTheListsColours) {
  start();
  set_targets(listed, 1);
  const COLORREF black = RGB(0, 0, 0), cyan = RGB(26, 235, 255);
  ASSERT_NE(::GetSysColor(COLOR_WINDOW), black);
  SystemColours scheme(black, cyan);
  EXPECT_TRUE(
      pump_until([&] { return colour_at_end_of(1) == cyan && colour_at_end_of(0) == black; }));
}

}  // namespace
}  // namespace lorvane::test
