#pragma once
// How the target list looks: each entry on two lines, its class above and its program below in
// the grey text colour, so that a class name of about 20 characters and its program read whole in
// a list of the designed width, without a horizontal scroll bar. A line that still does not fit
// ends in an ellipsis, and the entry shows whole in a tooltip while the pointer rests on it.
//
// The list box keeps its strings (the class, a tab and the program) and the class length in each
// item's data: only the drawing is ours, so that whatever reads the list reads it as before.
#include <windows.h>

#include <string>

#include "platform/controls.h"
#include "platform/unique_handles.h"

namespace lorvane::app {

// The list box's style: single selection, unsorted, drawn by its parent at one height for every
// item, which follows the font.
inline constexpr DWORD target_list_style = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED |
                                           LBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP;

// What the tooltip shows for an entry: the whole entry, its class and, on a second line, its
// program, where either line is cut short in the list; nothing where both read whole.
std::wstring tip_text(const platform::Target& target, bool class_cut, bool program_cut);

class TargetListView {
 public:
  TargetListView() = default;
  TargetListView(const TargetListView&) = delete;
  TargetListView& operator=(const TargetListView&) = delete;
  ~TargetListView();

  // Takes the list box, made with target_list_style, and gives it its tooltip.
  void attach(HWND list);
  // After the list's font has changed (at creation, at a new resolution): the items are two lines
  // of the new font high, and the tooltip writes in it too.
  void fit_to_font();

  // The parent's WM_MEASUREITEM and WM_DRAWITEM: false where they are for another control.
  static bool measure(HWND parent, MEASUREITEMSTRUCT& item);
  static bool draw(const DRAWITEMSTRUCT& item);

 private:
  static LRESULT CALLBACK list_proc(HWND list, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
  // The list box gets its own procedure back.
  void let_go();
  // The pointer moved over the list: the tooltip takes the entry under it.
  void pointer_at(LPARAM client_point);
  // The entries moved under the pointer: the next move looks again.
  void forget_entry();
  void relay(UINT message, WPARAM wparam, LPARAM lparam);

  HWND list_ = nullptr;
  // The list box's own procedure, which every message goes on to.
  WNDPROC list_default_ = nullptr;
  platform::UniqueWindow tip_;
  // The entry the tooltip stands for; none is -1, and -2 asks for a fresh look.
  int entry_ = -2;
};

}  // namespace lorvane::app
