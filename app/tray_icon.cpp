#include "app/tray_icon.h"

#include "platform/running_copy.h"

namespace lorvane::app {

TrayIcon::TrayIcon(HWND window, HICON icon, platform::tray::Shell shell,
                   const platform::InputClock& clock, UINT_PTR retry_timer_id)
    : window_(window),
      icon_(icon),
      shell_(std::move(shell)),
      clock_(clock),
      retry_timer_(window, retry_timer_id),
      taskbar_created_(::RegisterWindowMessageW(L"TaskbarCreated")) {
  // A copy that runs as administrator still hears of a new taskbar, and the icon's clicks, which
  // the shell posts from its lower level.
  platform::running_copy::accept_from_lower_integrity(window_, taskbar_created_);
  platform::running_copy::accept_from_lower_integrity(window_, platform::tray::callback_message);
}

TrayIcon::~TrayIcon() {
  if (!removed_ && ::IsWindow(window_)) platform::tray::remove(window_, icon_, shell_);
}

void TrayIcon::add() {
  if (platform::tray::add(window_, icon_, shell_)) {
    arrived();
    return;
  }
  present_ = false;
  if (closing_) return;
  // A window hidden in the tray before the icon went (Explorer restarted and refuses the icon
  // again) would have no way back: it shows minimised on the taskbar until the icon is back.
  if (::IsIconic(window_) && !::IsWindowVisible(window_)) ::ShowWindow(window_, SW_SHOWMINNOACTIVE);
  // At a slow logon the shell refuses the icon, and tells nobody when it is ready: it is asked
  // again every few seconds for a while.
  retries_since_ = clock_.tick_count();
  retry_timer_.set_interval(tray_retry_interval_ms);
  retry_timer_.set_enabled(true);
}

void TrayIcon::on_timer() {
  // A message posted just before the timer was stopped is dropped.
  if (!retry_timer_.running()) return;
  if (platform::tray::add_again(window_, icon_, shell_)) {
    arrived();
    return;
  }
  if (clock_.tick_count() - retries_since_ >= tray_retry_period_ms) retry_timer_.set_enabled(false);
}

void TrayIcon::remove() {
  platform::tray::remove(window_, icon_, shell_);
  removed_ = true;
  retry_timer_.set_enabled(false);
}

void TrayIcon::arrived() {
  present_ = true;
  retry_timer_.set_enabled(false);
  // A window minimised meanwhile stayed on the taskbar; now it lives in the notification area.
  if (::IsIconic(window_)) ::ShowWindow(window_, SW_HIDE);
}

}  // namespace lorvane::app
