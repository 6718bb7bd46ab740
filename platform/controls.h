#pragma once
// Thin views of the standard controls, so that the logic reads and writes their properties by
// name. They do not own the child windows: a parent destroys its children.
#include <windows.h>

#include <string>
#include <string_view>

namespace lorvane::platform {

std::wstring window_text(HWND window);

// A child control and its window text: a button's or a check box's caption, a text box's text.
class TextControl {
 public:
  explicit TextControl(HWND window = nullptr) : window_(window) {}
  HWND hwnd() const { return window_; }

 protected:
  std::wstring text_of() const { return window_text(window_); }
  void set_text_of(const std::wstring& text) { ::SetWindowTextW(window_, text.c_str()); }

  HWND window_;
};

class Button : public TextControl {
 public:
  using TextControl::TextControl;
  std::wstring caption() const { return text_of(); }
  void set_caption(const std::wstring& text) { set_text_of(text); }
};

// A check box. The front-display option's caption is also the status line (StatusLine).
class CheckBox : public TextControl {
 public:
  using TextControl::TextControl;
  std::wstring caption() const { return text_of(); }
  void set_caption(const std::wstring& text) { set_text_of(text); }
  bool ticked() const;
  void set_ticked(bool ticked);
};

// The status line: the caption of the front-display option, where the program tells the user what
// it is doing or could not do. A second view over that check box, so that what writes a message
// says so, and what reads or ticks the option says that.
class StatusLine : public TextControl {
 public:
  using TextControl::TextControl;
  std::wstring text() const { return text_of(); }
  void show(std::wstring_view text) { set_text_of(std::wstring(text)); }
};

class TextBox : public TextControl {
 public:
  using TextControl::TextControl;
  std::wstring text() const { return text_of(); }
  void set_text(const std::wstring& text) { set_text_of(text); }
};

// A registered target: a window class and, where it is known, the file name of the program that
// owns the window ("player.exe"). An empty program stands for the class in every program.
struct Target {
  std::wstring class_name;
  std::wstring program;
  bool operator==(const Target&) const = default;
};

// A single-selection, unsorted list box of targets. An item's text is the class name, then, for
// a target with a program, a tab and the program; the item's data is the length of the class
// name, so that a class name with a tab in it reads back whole. Positions run from 0; no
// selection is -1.
class ListBox {
 public:
  explicit ListBox(HWND window = nullptr) : window_(window) {}
  HWND hwnd() const { return window_; }
  int count() const;
  // The entry at the position as a target.
  Target target(int position) const;
  // The class name of the entry at the position.
  std::wstring item(int position) const { return target(position).class_name; }
  void append(const Target& target);
  // An entry without a program.
  void append(const std::wstring& class_name) { append(Target{class_name, std::wstring()}); }
  // Replaces the entry in place; a selection on it stays.
  void replace(int position, const Target& target);
  void remove(int position);
  void clear();
  int selected() const;
  void select(int position);  // -1 selects nothing

 private:
  std::wstring text(int position) const;
  void set_class_length(int position, const Target& target);

  HWND window_;
};

// A timer of a window with an interval and an enabled flag. Unlike a bare Win32 timer, an
// interval of 0 never fires (SetTimer would fire every 10 ms).
class Timer {
 public:
  Timer(HWND window, UINT_PTR id) : window_(window), id_(id) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  UINT_PTR id() const { return id_; }
  bool enabled() const { return enabled_; }
  UINT interval() const { return interval_; }
  void set_enabled(bool enabled);
  // Setting the interval restarts a running timer, as the period starts over.
  void set_interval(UINT milliseconds);
  // Whether WM_TIMER for this id should run the handler: never while disabled or at interval 0,
  // which also drops a stale message posted before the timer was stopped.
  bool running() const { return enabled_ && interval_ > 0; }

 private:
  void apply();

  HWND window_;
  UINT_PTR id_;
  bool enabled_ = false;
  UINT interval_ = 0;
  bool armed_ = false;
};

}  // namespace lorvane::platform
