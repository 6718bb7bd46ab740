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
  make_room_for(target);
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
  make_room_for(target);
  ::SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(window_, nullptr, TRUE);
}

void ListBox::make_room_for(const Target& target) {
  if (target.program.empty()) return;
  HDC dc = ::GetDC(window_);
  if (dc == nullptr) return;
  auto font = reinterpret_cast<HFONT>(::SendMessageW(window_, WM_GETFONT, 0, 0));
  HGDIOBJ old_font = font != nullptr ? ::SelectObject(dc, font) : nullptr;
  SIZE class_size{}, program_size{}, alphabet_size{};
  ::GetTextExtentPoint32W(dc, target.class_name.c_str(), static_cast<int>(target.class_name.size()),
                          &class_size);
  ::GetTextExtentPoint32W(dc, target.program.c_str(), static_cast<int>(target.program.size()),
                          &program_size);
  // The list box turns tab stops into pixels by its font's average character width, taken over
  // the alphabet: a quarter of it is one unit.
  static constexpr wchar_t alphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  ::GetTextExtentPoint32W(dc, alphabet, 52, &alphabet_size);
  if (old_font != nullptr) ::SelectObject(dc, old_font);
  ::ReleaseDC(window_, dc);
  int average = (alphabet_size.cx / 26 + 1) / 2;
  if (average <= 0) average = 8;

  // Two average characters between the columns.
  int gap = 2 * average;
  // The tab stop in pixels, kept in the list box's slot for its application.
  auto stop = static_cast<int>(::GetWindowLongPtrW(window_, GWLP_USERDATA));
  if (class_size.cx + gap > stop) {
    stop = class_size.cx + gap;
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, stop);
    INT units = (stop * 4 + average - 1) / average;
    ::SendMessageW(window_, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&units));
    ::InvalidateRect(window_, nullptr, TRUE);
  }
  // The scroll bar reaches the end of the longest program.
  auto extent = static_cast<int>(::SendMessageW(window_, LB_GETHORIZONTALEXTENT, 0, 0));
  int needed = stop + program_size.cx + gap;
  if (needed > extent) {
    ::SendMessageW(window_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(needed), 0);
  }
}

void ListBox::remove(int position) {
  ::SendMessageW(window_, LB_DELETESTRING, static_cast<WPARAM>(position), 0);
}

void ListBox::clear() {
  ::SendMessageW(window_, LB_RESETCONTENT, 0, 0);
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  ::SendMessageW(window_, LB_SETHORIZONTALEXTENT, 0, 0);
}

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
