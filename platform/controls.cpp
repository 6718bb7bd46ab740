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

namespace {

std::wstring text_of(const Target& target) {
  if (target.program.empty()) return target.class_name;
  return target.class_name + L'\t' + target.program;
}

}  // namespace

std::wstring ListBox::text(int position) const {
  LRESULT length = ::SendMessageW(window_, LB_GETTEXTLEN, static_cast<WPARAM>(position), 0);
  if (length == LB_ERR) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT got = ::SendMessageW(window_, LB_GETTEXT, static_cast<WPARAM>(position),
                               reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
  return text;
}

Target ListBox::target(int position) const {
  std::wstring whole = text(position);
  LRESULT class_length = ::SendMessageW(window_, LB_GETITEMDATA, static_cast<WPARAM>(position), 0);
  // No class name is empty: data of 0 is an item added without it, and the text is the class.
  if (class_length <= 0 || static_cast<std::size_t>(class_length) >= whole.size()) {
    return {whole, std::wstring()};
  }
  auto at = static_cast<std::size_t>(class_length);
  return {whole.substr(0, at), whole.substr(at + 1)};
}

void ListBox::set_class_length(int position, const Target& target) {
  if (position < 0) return;
  ::SendMessageW(window_, LB_SETITEMDATA, static_cast<WPARAM>(position),
                 static_cast<LPARAM>(target.class_name.size()));
}

void ListBox::append(const Target& target) {
  std::wstring whole = text_of(target);
  auto at = static_cast<int>(
      ::SendMessageW(window_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(whole.c_str())));
  set_class_length(at, target);
}

void ListBox::replace(int position, const Target& target) {
  bool was_selected = selected() == position;
  std::wstring whole = text_of(target);
  // Redraw once, not once per message.
  ::SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(window_, LB_DELETESTRING, static_cast<WPARAM>(position), 0);
  auto at = static_cast<int>(::SendMessageW(window_, LB_INSERTSTRING, static_cast<WPARAM>(position),
                                            reinterpret_cast<LPARAM>(whole.c_str())));
  set_class_length(at, target);
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
