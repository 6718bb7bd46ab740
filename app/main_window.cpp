#include "app/main_window.h"

#include "app/first_show.h"
#include "app/layout.h"
#include "app/target_list_view.h"
#include "app/tray_callback.h"
#include "app/twips.h"
#include "control/control_cycle.h"
#include "control/target_selection.h"
#include "platform/controls.h"
#include "platform/message_box.h"
#include "platform/running_copy.h"
#include "resources/resource.h"
#include "settings/settings_file.h"
#include "settings/target_list_editing.h"

namespace lorvane::app {
namespace {

constexpr DWORD main_style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD main_ex_style = WS_EX_CONTROLPARENT;
constexpr UINT_PTR selection_timer_id = 1;
constexpr UINT_PTR control_timer_id = 2;
constexpr UINT_PTR click_timer_id = 3;
constexpr UINT_PTR tray_timer_id = 4;
constexpr UINT_PTR settings_timer_id = 5;
constexpr const wchar_t* front_display_caption = L"前面表示しない。";

struct ControlDesign {
  ControlId id;
  const wchar_t* window_class;
  const wchar_t* text;
  DWORD style;
  DWORD ex_style;
};

// Created in focus order, which is the order Tab walks: the Start/Stop button, the Select
// button, the front-display option, the About button, the Save, Delete and Move-down buttons,
// the target list, the Move-up button. The label and the hidden idle-threshold box take no focus.
constexpr ControlDesign control_designs[] = {
    {id_start_stop_button, L"BUTTON", control::caption_start.data(), BS_PUSHBUTTON | WS_TABSTOP, 0},
    {id_select_button, L"BUTTON", L"選択", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {id_front_display_option, L"BUTTON", front_display_caption,
     BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, 0},
    {id_about_button, L"BUTTON", L"バージョン情報", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {id_save_button, L"BUTTON", L"保存", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {id_delete_button, L"BUTTON", L"削除", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {id_move_down_button, L"BUTTON", L"↓", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {id_target_list, L"LISTBOX", L"", target_list_style, WS_EX_CLIENTEDGE},
    {id_move_up_button, L"BUTTON", L"↑", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {id_list_label, L"STATIC", L"制御する窓", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0},
    {id_idle_threshold_box, L"EDIT", L"5000", ES_LEFT | ES_AUTOHSCROLL,
     WS_EX_CLIENTEDGE},  // hidden
};

bool register_class(HINSTANCE instance, WNDPROC proc, HICON large, HICON small) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = large;
  wc.hIconSm = small;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = MainWindow::class_name;
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HICON load_icon(HINSTANCE instance, int size) {
  return static_cast<HICON>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_LORVANE), IMAGE_ICON, size, size, LR_SHARED));
}

// The face of the system's message font at 9 pt, the size the layout was designed for; null
// leaves the controls' own font.
platform::UniqueFont message_font(const platform::Dpi& resolution, int dpi) {
  NONCLIENTMETRICSW metrics;
  if (!resolution.non_client_metrics(metrics, dpi)) return nullptr;
  metrics.lfMessageFont.lfHeight = -::MulDiv(9, dpi, 72);
  metrics.lfMessageFont.lfWidth = 0;
  return platform::UniqueFont(::CreateFontIndirectW(&metrics.lfMessageFont));
}

// The outer size that gives the client area, under the real frame at this resolution.
SIZE outer_size_for_client(const platform::Dpi& resolution, int width, int height, int dpi) {
  return resolution.outer_size({width, height}, main_style, main_ex_style, dpi);
}

// Centred in the work area of the monitor the window is on.
POINT centred_origin(HWND window, SIZE size) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
  const RECT& area = info.rcWork;
  return {area.left + (area.right - area.left - size.cx) / 2,
          area.top + (area.bottom - area.top - size.cy) / 2};
}

}  // namespace

struct MainWindow::Parts {
  Parts(HWND window, const platform::InputClock& clock, const platform::WindowMover& mover,
        const platform::Cloaking& cloaking, const platform::SessionSystem& session_system)
      : selection_timer(window, selection_timer_id),
        control_timer(window, control_timer_id),
        tray_timer(window, tray_timer_id),
        settings_timer(window, settings_timer_id),
        raw_input_hold(
            [this](const platform::RawInputEvent& input) { control::held_input(context, input); }),
        watch(window, click_timer_id, session_system, raw_input_hold),
        context{window,
                platform::ListBox(::GetDlgItem(window, id_target_list)),
                platform::Button(::GetDlgItem(window, id_start_stop_button)),
                platform::CheckBox(::GetDlgItem(window, id_front_display_option)),
                platform::TextBox(::GetDlgItem(window, id_idle_threshold_box)),
                selection_timer,
                control_timer,
                clock,
                watch,
                raw_input_hold,
                mover,
                unmovable,
                cloaking,
                programs} {}

  platform::Timer selection_timer;
  platform::Timer control_timer;
  // Asks the shell again for the icon it refused.
  platform::Timer tray_timer;
  // Tries the start-up load again while the settings file cannot be read.
  platform::Timer settings_timer;
  // Before the watch and the context, which refer to it.
  control::RawInputHold raw_input_hold;
  // Before the context, which refers to it.
  control::CycleWatch watch;
  // Which classes the status line has named as refused since control started.
  control::UnmovableNotice unmovable;
  // The programs of the windows that entries with a program have been compared with.
  control::WindowPrograms programs;
  control::ControlContext context;
};

MainWindow::MainWindow(MainWindowOptions options) : options_(std::move(options)) {}

MainWindow::~MainWindow() {
  if (window_ == nullptr) return;
  // Without the close sequence (a test's window): the icon must not outlive the window.
  if (!closed_) platform::tray::remove(window_, small_icon_, options_.tray_shell);
  about_.reset();
  // The window goes first, while the font its controls use and the parts its messages reach
  // still exist.
  destroy_unheard();
}

control::ControlContext& MainWindow::context() { return parts_->context; }

control::RawInputHold* MainWindow::raw_input_hold() {
  return parts_ != nullptr ? &parts_->raw_input_hold : nullptr;
}

bool MainWindow::asking_for_tray_icon() const {
  return parts_ != nullptr && parts_->tray_timer.enabled();
}

bool MainWindow::create(HINSTANCE instance) {
  instance_ = instance;
  small_icon_ = load_icon(instance, 16);
  large_icon_ = load_icon(instance, 32);
  if (!register_class(instance, &window_proc, large_icon_, small_icon_)) return false;
  taskbar_created_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  bring_back_ = ::RegisterWindowMessageW(bring_back_message_name);
  // Each key asks the file system for the long form of its folder: a start asks once.
  copy_key_ = options_.settings_key ? *options_.settings_key : copy_key(settings_path());
  folder_key_ = options_.folder_key;
  if (!folder_key_ && options_.exe_folder)
    folder_key_ = copy_key(folder_claim_path(*options_.exe_folder));

  int dpi = options_.dpi.system();
  SIZE size = outer_size_for_client(options_.dpi, twips_to_pixels(designed_client_width, dpi),
                                    twips_to_pixels(designed_client_height, dpi), dpi);
  if (::CreateWindowExW(main_ex_style, class_name, caption, main_style, CW_USEDEFAULT,
                        CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance,
                        this) == nullptr) {
    return false;
  }
  // The window shows its class's icons; a WM_SETICON of the same icons would only have the
  // system make their pictures for the frame and the taskbar a second time.
  // A copy that runs as administrator still hears of a new taskbar and of a normal start, and
  // the icon's clicks, which the shell posts from its lower level.
  platform::running_copy::accept_from_lower_integrity(window_, taskbar_created_);
  platform::running_copy::accept_from_lower_integrity(window_, bring_back_);
  platform::running_copy::accept_from_lower_integrity(window_, platform::tray::callback_message);

  // Centred before the start-up sequence: a window that it minimises comes back here.
  RECT rect;
  ::GetWindowRect(window_, &rect);
  SIZE actual{rect.right - rect.left, rect.bottom - rect.top};
  POINT origin = centred_origin(window_, actual);
  ::SetWindowPos(window_, nullptr, origin.x, origin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  start_up_sequence();
  return true;
}

void MainWindow::show_at_start(int show_command) {
  // A session that ended during the start-up has taken the window with it.
  if (window_ == nullptr) return;
  // With stored targets the start-up sequence has started control, and the window already lives
  // in the notification area (or, while the shell has no icon of ours, on the taskbar).
  if (::IsIconic(window_)) return;
  FirstShow first = first_show(show_command);
  // A start that waits for its settings file says so in the window, even when started minimised.
  if (!loaded_ && first.state == platform::WindowState::minimised) {
    ::ShowWindow(window_, SW_SHOWNOACTIVATE);
    return;
  }
  if (first.state == platform::WindowState::minimised) {
    // Its resize handling takes it on to the notification area.
    ::ShowWindow(window_, SW_SHOWMINNOACTIVE);
    return;
  }
  ::ShowWindow(window_, first.state == platform::WindowState::maximised ? SW_SHOWMAXIMIZED
                        : first.activate                                ? SW_SHOW
                                                                        : SW_SHOWNOACTIVATE);
  if (!first.activate) return;
  ::SetForegroundWindow(window_);
  focus_ = context().start_stop_button.hwnd();
  restore_focus();
}

void MainWindow::create_controls() {
  // The child windows first: the controls of the parts are views of them.
  for (const ControlDesign& design : control_designs) {
    DWORD style = WS_CHILD | design.style | (design.id == id_idle_threshold_box ? 0 : WS_VISIBLE);
    ::CreateWindowExW(design.ex_style, design.window_class, design.text, style, 0, 0, 0, 0, window_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance_, nullptr);
  }
  parts_ = std::make_unique<Parts>(window_, options_.clock, options_.mover, options_.cloaking,
                                   options_.session_system);
  // The selection timer is designed enabled with no interval, which never fires; Select gives
  // it its interval. The control timer starts disabled.
  parts_->selection_timer.set_enabled(true);
  list_view_.attach(::GetDlgItem(window_, id_target_list));
  apply_fonts();
}

void MainWindow::apply_fonts() {
  font_ = message_font(options_.dpi, options_.dpi.of_window(window_));
  for (const ControlDesign& design : control_designs) {
    ::SendMessageW(::GetDlgItem(window_, design.id), WM_SETFONT,
                   reinterpret_cast<WPARAM>(font_.get()), TRUE);
  }
  list_view_.fit_to_font();
}

void MainWindow::start_up_sequence() {
  // A busy shell can keep the add waiting for seconds, and messages are handled meanwhile: the
  // session may end in there.
  add_tray_icon();
  if (closed_) return;
  load_settings();
}

void MainWindow::load_settings() {
  control::ControlContext& c = context();
  settings::LoadResult result = settings::LoadResult::loaded;
  if (options_.copy_from && !copied_) {
    // A copy that fails is never read as an empty list: the exit save would write that list, and
    // the copy, newer from then on, would never be refreshed again.
    switch (copy_settings_file(*options_.copy_from, settings_path(), options_.copy)) {
      case platform::file_probe::CopyResult::copied: copied_ = true; break;
      case platform::file_probe::CopyResult::in_use: result = settings::LoadResult::in_use; break;
      case platform::file_probe::CopyResult::failed: copied_ = read_only_ = true; break;
    }
  }
  if (result == settings::LoadResult::loaded) {
    result = settings::start_up_load(
        c.front_display_option, c.target_list,
        read_only_ ? profile_reachable(*options_.copy_from) : settings_path(),
        options_.settings_key_limit);
  }
  if (result != settings::LoadResult::loaded) {
    // Nothing is there to edit or to control yet, and nothing may be saved over the file.
    set_editing_enabled(false);
    c.front_display_option.set_caption(std::wstring(
        result == settings::LoadResult::in_use ? settings_in_use_text : settings_unreadable_text));
    parts_->settings_timer.set_interval(settings_retry_interval_ms);
    parts_->settings_timer.set_enabled(true);
    return;
  }
  if (parts_->settings_timer.enabled()) {
    parts_->settings_timer.set_enabled(false);
    c.front_display_option.set_caption(front_display_caption);
    set_editing_enabled(true);
  }
  loaded_ = true;
  control::start_stop(c);
  if (read_only_) c.front_display_option.set_caption(std::wstring(settings_copy_failed_text));
  if (options_.other_session) c.front_display_option.set_caption(std::wstring(other_session_text));
}

void MainWindow::set_editing_enabled(bool enabled) {
  // Select, the list's buttons and Start/Stop; the front-display option, whose caption says why,
  // stays as it is.
  for (int id = id_select_button; id <= id_start_stop_button; ++id) {
    ::EnableWindow(::GetDlgItem(window_, id), enabled ? TRUE : FALSE);
  }
}

void MainWindow::save_now() {
  if (!loaded_) return;
  platform::CheckBox& status = context().front_display_option;
  if (read_only_) {
    status.set_caption(std::wstring(settings_copy_failed_text));
    return;
  }
  const bool failure_shown =
      status.caption() == save_in_use_text || status.caption() == save_refused_text;
  switch (settings::save(context().target_list, settings_path(), options_.settings_key_limit)) {
    case settings::SaveResult::saved:
      if (failure_shown) status.set_caption(status_before_failure_);
      return;
    case settings::SaveResult::in_use:
      if (!failure_shown) status_before_failure_ = status.caption();
      status.set_caption(std::wstring(save_in_use_text));
      return;
    case settings::SaveResult::refused:
      if (!failure_shown) status_before_failure_ = status.caption();
      status.set_caption(std::wstring(save_refused_text));
      return;
  }
}

void MainWindow::close_sequence(CloseKind kind) {
  if (closed_) return;
  closed_ = true;
  // Nothing is written over a file that was never read, nor by a run that writes nowhere.
  while (loaded_ && !read_only_) {
    settings::SaveResult result =
        settings::exit_save(context().target_list, context().front_display_option, settings_path(),
                            options_.settings_key_limit);
    if (result == settings::SaveResult::saved || kind == CloseKind::session_end) break;
    std::wstring text(result == settings::SaveResult::in_use ? save_in_use_text
                                                             : save_refused_text);
    text += exit_save_choice_text;
    exit_box_open_ = true;
    const int answer = platform::ask(window_, text, caption, MB_RETRYCANCEL);
    exit_box_open_ = false;
    // The session ended while the box was open, and saved then.
    if (saved_at_session_end_ || answer != IDRETRY) break;
  }
  platform::tray::remove(window_, small_icon_, options_.tray_shell);
  // Any other window goes without its own close handling, and a running cycle simply stops.
  about_.reset();
  parts_->selection_timer.set_enabled(false);
  parts_->control_timer.set_enabled(false);
  parts_->tray_timer.set_enabled(false);
  parts_->settings_timer.set_enabled(false);
  parts_->watch.stop();
  ::DestroyWindow(window_);
}

void MainWindow::session_end_while_asking() {
  // The user, asked whether to try again, has no say once the session ends: the save is tried
  // once more, silently, as any session end saves, and the box goes. The close sequence, whose
  // box it was, then goes on.
  if (saved_at_session_end_) return;
  saved_at_session_end_ = true;
  settings::exit_save(context().target_list, context().front_display_option, settings_path(),
                      options_.settings_key_limit);
  platform::cancel_asks(window_);
}

void MainWindow::add_tray_icon() {
  if (platform::tray::add(window_, small_icon_, options_.tray_shell)) {
    icon_arrived();
    return;
  }
  icon_present_ = false;
  if (closed_) return;
  // A window hidden in the tray before the icon went (Explorer restarted and refuses the icon
  // again) would have no way back: it shows minimised on the taskbar until the icon is back.
  if (::IsIconic(window_) && !::IsWindowVisible(window_)) ::ShowWindow(window_, SW_SHOWMINNOACTIVE);
  // At a slow logon the shell refuses the icon, and tells nobody when it is ready: it is asked
  // again every few seconds for a while.
  icon_retries_since_ = options_.clock.tick_count();
  parts_->tray_timer.set_interval(tray_retry_interval_ms);
  parts_->tray_timer.set_enabled(true);
}

void MainWindow::retry_tray_icon() {
  if (platform::tray::add_again(window_, small_icon_, options_.tray_shell)) {
    icon_arrived();
    return;
  }
  if (options_.clock.tick_count() - icon_retries_since_ >= tray_retry_period_ms)
    parts_->tray_timer.set_enabled(false);
}

void MainWindow::icon_arrived() {
  icon_present_ = true;
  parts_->tray_timer.set_enabled(false);
  // A window minimised meanwhile stayed on the taskbar; now it lives in the notification area.
  if (::IsIconic(window_)) ::ShowWindow(window_, SW_HIDE);
}

void MainWindow::resize_client(int width, int height) {
  SIZE size = outer_size_for_client(options_.dpi, width, height, options_.dpi.of_window(window_));
  ::SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::on_size(UINT type) {
  if (type == SIZE_MINIMIZED || ::IsIconic(window_)) {
    // A minimised main window lives in the notification area only; while the shell holds no icon
    // of ours, it stays on the taskbar, the one way back.
    if (icon_present_) ::ShowWindow(window_, SW_HIDE);
    return;
  }
  bool maximised = ::IsZoomed(window_) != FALSE;
  saved_state_ = maximised ? platform::WindowState::maximised : platform::WindowState::normal;
  if (!maximised) {
    // The minimum is enforced after the fact: a frame dragged smaller springs back. Each change
    // runs this handling once more, nested, before this run goes on.
    int dpi = options_.dpi.of_window(window_);
    int min_width = twips_to_pixels_at_least(minimum_outer_width - design_frame_width, dpi);
    int min_height = twips_to_pixels_at_least(minimum_outer_height - design_frame_height, dpi);
    RECT client;
    ::GetClientRect(window_, &client);
    if (client.bottom < min_height) resize_client(client.right, min_height);
    ::GetClientRect(window_, &client);
    if (client.right < min_width) resize_client(min_width, client.bottom);
  }
  lay_out();
}

void MainWindow::lay_out() {
  int dpi = options_.dpi.of_window(window_);
  RECT client;
  ::GetClientRect(window_, &client);
  Layout layout = layout_for(pixels_to_twips(client.right, dpi) + design_frame_width,
                             pixels_to_twips(client.bottom, dpi) + design_frame_height);
  HDWP batch = ::BeginDeferWindowPos(static_cast<int>(layout.rects.size()));
  for (int id = id_list_label; id <= id_idle_threshold_box; ++id) {
    const TwipsRect& r = layout[static_cast<ControlId>(id)];
    HWND child = ::GetDlgItem(window_, id);
    if (child == nullptr || batch == nullptr) continue;
    batch = ::DeferWindowPos(batch, child, nullptr, twips_to_pixels(r.left, dpi),
                             twips_to_pixels(r.top, dpi), twips_to_pixels(r.width, dpi),
                             twips_to_pixels(r.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (batch != nullptr) ::EndDeferWindowPos(batch);
}

void MainWindow::on_command(int id) {
  control::ControlContext& c = context();
  switch (id) {
    case id_start_stop_button: control::start_stop(c); break;
    case id_select_button: control::select(c); break;
    case id_about_button: open_about(); break;
    case id_save_button: save_now(); break;
    case id_delete_button: settings::delete_selected(c.target_list); break;
    case id_move_up_button: settings::move_up(c.target_list); break;
    case id_move_down_button: settings::move_down(c.target_list); break;
    default: break;
  }
}

void MainWindow::on_mouse_move(LPARAM lparam) {
  if (is_tray_restore(tray_event_code(lparam))) tray_restore();
}

void MainWindow::tray_restore() {
  // On a hidden, minimised window the first state change restores it, and the resize handling
  // stores the state again and lays the controls out.
  bool was_away = !::IsWindowVisible(window_) || ::IsIconic(window_);
  platform::set_window_state(window_, saved_state_);
  ::ShowWindow(window_, SW_SHOW);
  platform::set_window_state(window_, saved_state_);
  // A window brought back from the tray comes to the front; a shown one is left as it is, as a
  // mouse passing over its client area arrives here too.
  if (was_away) ::SetForegroundWindow(window_);
}

void MainWindow::open_about() {
  if (about_ == nullptr || about_->hwnd() == nullptr) {
    HWND main = window_;
    auto box = std::make_unique<AboutBox>(
        [main] {
          // Back in the state it had; a window that went to the tray meanwhile stays there.
          if (!::IsIconic(main)) ::ShowWindow(main, SW_SHOW);
        },
        options_.dpi.for_new_window());
    // Made before the main window hides: without a box to take its place, it stays.
    if (!box->create(instance_)) return;
    about_ = std::move(box);
  }
  ::ShowWindow(window_, SW_HIDE);
  about_->show();
}

void MainWindow::remember_focus() {
  HWND focus = ::GetFocus();
  if (focus != nullptr && ::IsChild(window_, focus)) focus_ = focus;
}

void MainWindow::restore_focus() {
  ::SetFocus(focus_ != nullptr ? focus_ : context().start_stop_button.hwnd());
}

LRESULT MainWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: create_controls(); return 0;
    case WM_WINDOWPOSCHANGING: {
      // A minimised main window lives in the notification area only: one that is minimised while
      // hidden (control starting with the start-up, a start from a minimised shortcut) is never
      // shown, not even for the moment before its resize handling would hide it again, which
      // puts a button on the taskbar at every logon. While the shell holds no icon of ours, the
      // taskbar is its way back, and it shows there.
      auto* pos = reinterpret_cast<WINDOWPOS*>(lparam);
      if ((pos->flags & SWP_SHOWWINDOW) != 0 && ::IsIconic(window_) && icon_present_)
        pos->flags &= ~SWP_SHOWWINDOW;
      return ::DefWindowProcW(window_, message, wparam, lparam);
    }
    case WM_SIZE: on_size(static_cast<UINT>(wparam)); return 0;
    case WM_DPICHANGED: {
      // Where the window cannot ask for its resolution (Windows 8.1, 10 before 1607), the
      // message's is its own from now on.
      options_.dpi.moved_to(LOWORD(wparam));
      apply_fonts();
      const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
      ::SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      lay_out();
      return 0;
    }
    case WM_MEASUREITEM:
      if (TargetListView::measure(window_, *reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)))
        return TRUE;
      return ::DefWindowProcW(window_, message, wparam, lparam);
    case WM_DRAWITEM:
      if (TargetListView::draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))) return TRUE;
      return ::DefWindowProcW(window_, message, wparam, lparam);
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) on_command(LOWORD(wparam));
      return 0;
    case WM_TIMER:
      // A message posted just before its timer was stopped is dropped.
      if (wparam == selection_timer_id && parts_->selection_timer.running())
        control::selection_tick(context());
      if (wparam == control_timer_id && parts_->control_timer.running())
        control::control_tick(context());
      if (wparam == click_timer_id) control::click_timer(context());
      if (wparam == tray_timer_id && parts_->tray_timer.running()) retry_tray_icon();
      if (wparam == settings_timer_id && parts_->settings_timer.running()) load_settings();
      return 0;
    case control::foreground_changed_message: control::foreground_changed(context()); return 0;
    case control::raised_window_gone_message: control::raised_window_gone(context()); return 0;
    case WM_INPUT:
      control::raw_input(context(), lparam);
      // The system cleans up after the input here.
      return ::DefWindowProcW(window_, message, wparam, lparam);
    case WM_WTSSESSION_CHANGE:
    case WM_POWERBROADCAST:
      control::session_message(context(), message, wparam, lparam);
      return message == WM_POWERBROADCAST ? TRUE : 0;
    case WM_MOUSEMOVE: on_mouse_move(lparam); return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        remember_focus();
      } else if (HIWORD(wparam) == 0) {
        restore_focus();
      }
      return 0;
    case WM_SETFOCUS: restore_focus(); return 0;
    case WM_CLOSE:
      // The close cannot be cancelled; only a failed exit save asks, whether to try again.
      close_sequence(CloseKind::by_user);
      return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
      // At log-off the process may end as soon as this returns: save now.
      if (wparam && exit_box_open_) {
        session_end_while_asking();
      } else if (wparam) {
        close_sequence(CloseKind::session_end);
      }
      return 0;
    case WM_DESTROY:
      if (options_.quit_on_destroy) ::PostQuitMessage(0);
      return 0;
    default:
      if (message == taskbar_created_ && taskbar_created_ != 0) {
        // A new taskbar (Explorer restarted, or started after us) has no icon of ours: with
        // control running and the window hidden, the icon is the only way back.
        add_tray_icon();
        return 0;
      }
      if (message == bring_back_ && bring_back_ != 0) {
        // A second start for our settings file, or of our executable: the user wants this copy
        // back. The answer tells that start that it may end. A start for another file asks every
        // main window.
        auto is = [&](const CopyKey& key) { return wparam == key.low && lparam == key.high; };
        if (!is(copy_key_) && !(folder_key_ && is(*folder_key_))) return FALSE;
        tray_restore();
        return TRUE;
      }
      return ::DefWindowProcW(window_, message, wparam, lparam);
  }
}

}  // namespace lorvane::app
