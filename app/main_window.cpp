#include "app/main_window.h"

#include <iterator>

#include "app/first_show.h"
#include "app/layout.h"
#include "app/target_list_view.h"
#include "app/twips.h"
#include "control/control_cycle.h"
#include "control/target_selection.h"
#include "platform/controls.h"
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
// 3 is the click's timer, click_timer_id in main_window.h.
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

// What a wait for the settings file disables: Select, the list's buttons and Start/Stop, as nothing
// is there to edit or to control yet. The front-display option, whose caption says why, stays as
// it is.
constexpr ControlId editing_controls[] = {id_select_button,    id_move_up_button,
                                          id_move_down_button, id_delete_button,
                                          id_save_button,      id_start_stop_button};

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

}  // namespace

struct MainWindow::Parts {
  Parts(HWND window, const platform::InputClock& clock, const platform::WindowMover& mover,
        const platform::Cloaking& cloaking, const platform::SessionSystem& session_system)
      : selection_timer(window, selection_timer_id),
        control_timer(window, control_timer_id),
        raw_input_hold(
            [this](const platform::RawInputEvent& input) { control::held_input(context, input); }),
        watch(window, click_timer_id, session_system, raw_input_hold),
        context{window,
                platform::ListBox(::GetDlgItem(window, id_target_list)),
                platform::Button(::GetDlgItem(window, id_start_stop_button)),
                platform::CheckBox(::GetDlgItem(window, id_front_display_option)),
                platform::StatusLine(::GetDlgItem(window, id_front_display_option)),
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
  tray_.reset();
  about_.reset();
  // The window goes first, while the font its controls use and the parts its messages reach
  // still exist.
  destroy_unheard();
}

control::ControlContext& MainWindow::context() { return parts_->context; }

control::RawInputHold* MainWindow::raw_input_hold() {
  return parts_ != nullptr ? &parts_->raw_input_hold : nullptr;
}

bool MainWindow::create(HINSTANCE instance) {
  instance_ = instance;
  small_icon_ = load_icon(instance, 16);
  large_icon_ = load_icon(instance, 32);
  if (!register_class(instance, large_icon_, small_icon_)) return false;
  bring_back_ = ::RegisterWindowMessageW(bring_back_message_name);
  // Each key asks the file system for the long form of its folder: a start asks once.
  copy_key_ = options_.settings_key ? *options_.settings_key : copy_key(options_.settings_path);
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
  // A copy that runs as administrator still hears of a normal start, which asks from its lower
  // level.
  platform::running_copy::accept_from_lower_integrity(window_, bring_back_);

  // Centred before the start-up sequence: a window that it minimises comes back here.
  RECT rect;
  ::GetWindowRect(window_, &rect);
  SIZE actual{rect.right - rect.left, rect.bottom - rect.top};
  POINT origin =
      centred_in_work_area(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), actual);
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
  if (!settings_->loaded() && first.state == platform::WindowState::minimised) {
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

void MainWindow::on_create() {
  // The child windows first: the controls of the parts are views of them.
  for (const ControlDesign& design : control_designs) {
    DWORD style = WS_CHILD | design.style | (design.id == id_idle_threshold_box ? 0 : WS_VISIBLE);
    ::CreateWindowExW(design.ex_style, design.window_class, design.text, style, 0, 0, 0, 0, window_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance_, nullptr);
  }
  parts_ = std::make_unique<Parts>(window_, options_.clock, options_.mover, options_.cloaking,
                                   options_.session_system);
  tray_.emplace(window_, small_icon_, options_.tray_shell, options_.clock, tray_timer_id);
  settings_.emplace(window_, settings_timer_id,
                    SettingsSource{options_.settings_path, options_.copy_from, options_.copy,
                                   options_.settings_read_open, options_.other_session,
                                   options_.own_settings_passed_over, options_.settings_key_limit});
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
  tray_->add();
  if (closed_) return;
  load_settings();
}

void MainWindow::load_settings() {
  control::ControlContext& c = context();
  switch (settings_->load(c.front_display_option, c.target_list, c.status_line)) {
    case SettingsSession::Load::waiting: set_editing_enabled(false); return;
    case SettingsSession::Load::loaded_after_wait:
      c.status_line.show(front_display_caption);
      set_editing_enabled(true);
      break;
    case SettingsSession::Load::loaded: break;
  }
  control::start_stop(c);
  settings_->tell_where_saved(c.target_list, c.status_line);
}

void MainWindow::set_editing_enabled(bool enabled) {
  for (ControlId id : editing_controls) ::EnableWindow(::GetDlgItem(window_, id), enabled);
}

void MainWindow::close_sequence(CloseKind kind) {
  if (closed_) return;
  closed_ = true;
  tray_->closing();
  settings_->exit_save(context().target_list, context().front_display_option,
                       kind == CloseKind::by_user);
  tray_->remove();
  // Any other window goes without its own close handling, and a running cycle simply stops.
  about_.reset();
  parts_->selection_timer.set_enabled(false);
  parts_->control_timer.set_enabled(false);
  parts_->watch.stop();
  ::DestroyWindow(window_);
}

void MainWindow::resize_client(int width, int height) {
  SIZE size = outer_size_for_client(options_.dpi, width, height, options_.dpi.of_window(window_));
  ::SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::on_window_pos_changing(WINDOWPOS& pos) {
  // A minimised main window lives in the notification area only: one that is minimised while
  // hidden (control starting with the start-up, a start from a minimised shortcut) is never
  // shown, not even for the moment before its resize handling would hide it again, which puts a
  // button on the taskbar at every logon. While the shell holds no icon of ours, the taskbar is
  // its way back, and it shows there.
  if ((pos.flags & SWP_SHOWWINDOW) != 0 && ::IsIconic(window_) && tray_icon_present())
    pos.flags &= ~SWP_SHOWWINDOW;
}

void MainWindow::on_size(UINT type) {
  if (type == SIZE_MINIMIZED || ::IsIconic(window_)) {
    // A minimised main window lives in the notification area only; while the shell holds no icon
    // of ours, it stays on the taskbar, the one way back.
    if (tray_icon_present()) ::ShowWindow(window_, SW_HIDE);
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

void MainWindow::on_dpi_changed(WPARAM wparam, LPARAM lparam) {
  take_new_dpi(options_.dpi, wparam, lparam);
  apply_fonts();
  lay_out();
}

void MainWindow::lay_out() {
  int dpi = options_.dpi.of_window(window_);
  RECT client;
  ::GetClientRect(window_, &client);
  Layout layout = layout_for(pixels_to_twips(client.right, dpi) + design_frame_width,
                             pixels_to_twips(client.bottom, dpi) + design_frame_height);
  HDWP batch = ::BeginDeferWindowPos(static_cast<int>(std::size(control_designs)));
  for (const ControlDesign& design : control_designs) {
    const TwipsRect& r = layout[design.id];
    HWND child = ::GetDlgItem(window_, design.id);
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
    case id_save_button: settings_->save(c.target_list, c.status_line); break;
    case id_delete_button: settings::delete_selected(c.target_list); break;
    case id_move_up_button: settings::move_up(c.target_list); break;
    case id_move_down_button: settings::move_down(c.target_list); break;
    default: break;
  }
}

void MainWindow::on_timer(UINT_PTR id) {
  // A message posted just before its timer was stopped is dropped.
  switch (id) {
    case selection_timer_id:
      if (parts_->selection_timer.running()) control::selection_tick(context());
      break;
    case control_timer_id:
      if (parts_->control_timer.running()) control::control_tick(context());
      break;
    case click_timer_id: control::click_timer(context()); break;
    case tray_timer_id: tray_->on_timer(); break;
    case settings_timer_id:
      if (settings_->retry_due()) load_settings();
      break;
    default: break;
  }
}

void MainWindow::on_tray_callback(LPARAM lparam) {
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

void MainWindow::on_activate(bool inactive, bool minimised) {
  if (inactive) {
    remember_focus();
  } else if (!minimised) {
    restore_focus();
  }
}

void MainWindow::remember_focus() {
  HWND focus = ::GetFocus();
  if (focus != nullptr && ::IsChild(window_, focus)) focus_ = focus;
}

void MainWindow::restore_focus() {
  ::SetFocus(focus_ != nullptr ? focus_ : context().start_stop_button.hwnd());
}

void MainWindow::on_close() {
  // The close cannot be cancelled; only a failed exit save asks, whether to try again.
  close_sequence(CloseKind::by_user);
}

void MainWindow::on_end_session() {
  // At log-off the process may end as soon as this returns: save now.
  if (settings_->asking()) {
    control::ControlContext& c = context();
    settings_->session_end_while_asking(c.target_list, c.front_display_option);
  } else {
    close_sequence(CloseKind::session_end);
  }
}

void MainWindow::on_destroy() {
  if (options_.quit_on_destroy) ::PostQuitMessage(0);
}

void MainWindow::on_taskbar_created() {
  // A new taskbar (Explorer restarted, or started after us) has no icon of ours: with control
  // running and the window hidden, the icon is the only way back.
  tray_->add();
}

bool MainWindow::on_bring_back(WPARAM wparam, LPARAM lparam) {
  // A second start for our settings file, or of our executable: the user wants this copy back.
  // The answer tells that start that it may end. A start for another file asks every main window.
  auto is = [&](const CopyKey& key) { return wparam == key.low && lparam == key.high; };
  if (!is(copy_key_) && !(folder_key_ && is(*folder_key_))) return false;
  tray_restore();
  return true;
}

LRESULT MainWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: on_create(); return 0;
    case WM_WINDOWPOSCHANGING: on_window_pos_changing(*reinterpret_cast<WINDOWPOS*>(lparam)); break;
    case WM_SIZE: on_size(static_cast<UINT>(wparam)); return 0;
    case WM_DPICHANGED: on_dpi_changed(wparam, lparam); return 0;
    case WM_MEASUREITEM:
      if (TargetListView::measure(window_, *reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)))
        return TRUE;
      break;
    case WM_DRAWITEM:
      if (TargetListView::draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))) return TRUE;
      break;
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) on_command(LOWORD(wparam));
      return 0;
    case WM_TIMER: on_timer(wparam); return 0;
    case control::foreground_changed_message: control::foreground_changed(context()); return 0;
    case control::raised_window_gone_message: control::raised_window_gone(context()); return 0;
    case WM_INPUT:
      control::raw_input(context(), lparam);
      break;  // the system cleans up after the input
    case WM_WTSSESSION_CHANGE:
      control::session_message(context(), message, wparam, lparam);
      return 0;
    case WM_POWERBROADCAST:
      control::session_message(context(), message, wparam, lparam);
      return TRUE;
    case platform::tray::callback_message: on_tray_callback(lparam); return 0;
    case WM_ACTIVATE: on_activate(LOWORD(wparam) == WA_INACTIVE, HIWORD(wparam) != 0); return 0;
    case WM_SETFOCUS: restore_focus(); return 0;
    case WM_CLOSE: on_close(); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
      if (wparam) on_end_session();
      return 0;
    case WM_DESTROY: on_destroy(); return 0;
    default:
      if (tray_ && tray_->is_taskbar_created(message)) {
        on_taskbar_created();
        return 0;
      }
      if (message == bring_back_ && bring_back_ != 0) return on_bring_back(wparam, lparam);
      break;
  }
  return ::DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace lorvane::app
