#include "platform/tray.h"

#include <cstring>

namespace lorvane::platform::tray {
namespace {

constexpr std::size_t tip_bytes = 64;
// The headers' record has grown with each shell (956 bytes for Windows 7's, more for Vista's
// headers on): only the size it is given tells the shell which one it reads. The first version's
// fields come first in every one.
static_assert(sizeof(NOTIFYICONDATAA) >= record_size,
              "the first fields as the first shell had them");

NOTIFYICONDATAA base_record(HWND window, HICON icon) {
  NOTIFYICONDATAA record;
  std::memset(&record, 0, sizeof record);
  record.cbSize = record_size;
  record.hWnd = window;
  record.uID = 0;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.hIcon = icon;
  return record;
}

}  // namespace

NOTIFYICONDATAA add_record(HWND window, HICON icon) {
  NOTIFYICONDATAA record = base_record(window, icon);
  record.uCallbackMessage = callback_message;
  std::memset(record.szTip, ' ', tip_bytes);
  static constexpr char tip[] = "Lorvane";
  std::memcpy(record.szTip, tip, sizeof tip);  // with its terminating zero
  return record;
}

NOTIFYICONDATAA delete_record(HWND window, HICON icon) {
  NOTIFYICONDATAA record = base_record(window, icon);
  std::memset(record.szTip, ' ', tip_bytes);
  return record;
}

bool shell_notify(DWORD message, NOTIFYICONDATAA& record) {
  return ::Shell_NotifyIconA(message, &record) != FALSE;
}

bool add(HWND window, HICON icon, const Shell& shell) {
  NOTIFYICONDATAA record = add_record(window, icon);
  return shell(NIM_ADD, record);
}

bool add_again(HWND window, HICON icon, const Shell& shell) {
  NOTIFYICONDATAA record = add_record(window, icon);
  if (shell(NIM_MODIFY, record)) return true;
  record = add_record(window, icon);
  return shell(NIM_ADD, record);
}

void remove(HWND window, HICON icon, const Shell& shell) {
  NOTIFYICONDATAA record = delete_record(window, icon);
  shell(NIM_DELETE, record);
}

}  // namespace lorvane::platform::tray
