#include "platform/controls.h"

namespace lorvane::platform {

std::wstring window_text(HWND window) {
  int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  int got = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

bool CheckBox::ticked() const {
  return ::SendMessageW(window_, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

void CheckBox::set_ticked(bool ticked) {
  ::SendMessageW(window_, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int ListBox::count() const { return static_cast<int>(::SendMessageW(window_, LB_GETCOUNT, 0, 0)); }

std::wstring ListBox::item(int position) const {
  LRESULT length = ::SendMessageW(window_, LB_GETTEXTLEN, static_cast<WPARAM>(position), 0);
  if (length == LB_ERR) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT got = ::SendMessageW(window_, LB_GETTEXT, static_cast<WPARAM>(position),
                               reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
  return text;
}

Target ListBox::target(int position) const { return {item(position), std::wstring()}; }

bool ListBox::contains(const std::wstring& text) const {
  int n = count();
  for (int i = 0; i < n; ++i) {
    if (item(i) == text) return true;
  }
  return false;
}

void ListBox::append(const std::wstring& text) {
  ::SendMessageW(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ListBox::replace(int position, const std::wstring& text) {
  bool was_selected = selected() == position;
  // Redraw once, not once per message.
  ::SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(window_, LB_DELETESTRING, static_cast<WPARAM>(position), 0);
  ::SendMessageW(window_, LB_INSERTSTRING, static_cast<WPARAM>(position),
                 reinterpret_cast<LPARAM>(text.c_str()));
  if (was_selected) select(position);
  ::SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(window_, nullptr, TRUE);
}

void ListBox::remove(int position) {
  ::SendMessageW(window_, LB_DELETESTRING, static_cast<WPARAM>(position), 0);
}

void ListBox::clear() { ::SendMessageW(window_, LB_RESETCONTENT, 0, 0); }

int ListBox::selected() const {
  return static_cast<int>(::SendMessageW(window_, LB_GETCURSEL, 0, 0));
}

void ListBox::select(int position) {
  ::SendMessageW(window_, LB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

Timer::~Timer() {
  if (armed_) ::KillTimer(window_, id_);
}

void Timer::set_enabled(bool enabled) {
  enabled_ = enabled;
  apply();
}

void Timer::set_interval(UINT milliseconds) {
  interval_ = milliseconds;
  if (armed_) {
    ::KillTimer(window_, id_);
    armed_ = false;
  }
  apply();
}

void Timer::apply() {
  if (running() && !armed_) {
    armed_ = ::SetTimer(window_, id_, interval_, nullptr) != 0;
  } else if (!running() && armed_) {
    ::KillTimer(window_, id_);
    armed_ = false;
  }
}

}  // namespace lorvane::platform
