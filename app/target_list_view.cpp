#include "app/target_list_view.h"

#include <commctrl.h>

#include "app/layout.h"

namespace lorvane::app {
namespace {

constexpr UINT_PTR tool_id = 1;

// The font the list box writes in, or null without one: it then writes in the system font, the
// device context's own, which a null selection keeps.
HGDIOBJ list_font(HWND list) {
  return reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0));
}

// Where the two lines of an item lie: inside a margin that follows the font, so that it grows
// with the resolution as the text does.
struct ItemLines {
  RECT whole;  // both lines: an entry without a program stands in the middle of them
  RECT top;
  RECT bottom;
};

int vertical_margin(const TEXTMETRICW& metrics) { return (metrics.tmHeight + 4) / 8; }

ItemLines lines_in(const RECT& item, const TEXTMETRICW& metrics) {
  RECT inner = item;
  ::InflateRect(&inner, -(metrics.tmAveCharWidth / 2 + 1), -vertical_margin(metrics));
  ItemLines lines{inner, inner, inner};
  lines.top.bottom = inner.top + metrics.tmHeight;
  lines.bottom.top = lines.top.bottom;
  return lines;
}

int item_height(HDC dc) {
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  return 2 * metrics.tmHeight + 2 * vertical_margin(metrics);
}

bool wider_than(HDC dc, const std::wstring& text, const RECT& line) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx > line.right - line.left;
}

void draw_line(HDC dc, const std::wstring& text, RECT line, UINT placing) {
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
              placing | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

std::wstring tip_text(const platform::Target& target, bool class_cut, bool program_cut) {
  if (!class_cut && !program_cut) return std::wstring();
  if (target.program.empty()) return target.class_name;
  return target.class_name + L"\r\n" + target.program;
}

TargetListView::~TargetListView() { let_go(); }

void TargetListView::let_go() {
  if (list_ == nullptr) return;
  ::SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(list_default_));
  ::SetWindowLongPtrW(list_, GWLP_USERDATA, 0);
  list_ = nullptr;
}

void TargetListView::attach(HWND list) {
  list_ = list;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&classes);
  // Always shown, whether or not our window is active: the pointer rests on the list either way.
  tip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, ::GetParent(list),
                               nullptr, nullptr, nullptr));
  if (tip_ != nullptr) {
    // The size of the first version's tool: comctl32 5 refuses a larger one.
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_TRANSPARENT;
    tool.hwnd = list;
    tool.uId = tool_id;
    tool.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // Lines break where the text breaks them, between the class and the program, and nowhere
    // else.
    ::SendMessageW(tip_.get(), TTM_SETMAXTIPWIDTH, 0, SHRT_MAX);
  }
  // The list box's own procedure is replaced rather than chained through the common controls'
  // subclassing, which keeps its chain in a window property: under Wine each property read is a
  // call into the server, and the tick reads the list a dozen times a second.
  ::SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  list_default_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&list_proc)));
}

void TargetListView::fit_to_font() {
  if (list_ == nullptr) return;
  platform::WindowDc dc(list_);
  if (dc.get() == nullptr) return;
  platform::SelectedObject font(dc.get(), list_font(list_));
  // A list box drawn by its parent at one height never asks again when its font changes.
  ::SendMessageW(list_, LB_SETITEMHEIGHT, 0, MAKELPARAM(item_height(dc.get()), 0));
  ::InvalidateRect(list_, nullptr, TRUE);
  if (tip_ != nullptr)
    ::SendMessageW(tip_.get(), WM_SETFONT, ::SendMessageW(list_, WM_GETFONT, 0, 0), 0);
  forget_entry();
}

bool TargetListView::measure(HWND parent, MEASUREITEMSTRUCT& item) {
  if (item.CtlType != ODT_LISTBOX || item.CtlID != static_cast<UINT>(id_target_list)) return false;
  // Asked once, as the list box is made, before it has a font; fit_to_font follows.
  HWND list = ::GetDlgItem(parent, id_target_list);
  platform::WindowDc dc(list != nullptr ? list : parent);
  if (dc.get() == nullptr) return false;
  platform::SelectedObject font(dc.get(), list_font(list));
  item.itemHeight = static_cast<UINT>(item_height(dc.get()));
  return true;
}

bool TargetListView::draw(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_LISTBOX || item.CtlID != static_cast<UINT>(id_target_list)) return false;
  HDC dc = item.hDC;
  const bool focus = (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;
  // An empty list that has the focus shows where the first entry would be.
  if (item.itemID == static_cast<UINT>(-1)) {
    if (focus) ::DrawFocusRect(dc, &item.rcItem);
    return true;
  }
  // Every action draws the whole item, the focus rectangle included: nothing rests on what an
  // earlier drawing left.
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  ::FillRect(dc, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  platform::Target target = platform::ListBox(item.hwndItem).target(static_cast<int>(item.itemID));
  platform::SelectedObject font(dc, list_font(item.hwndItem));
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  ItemLines lines = lines_in(item.rcItem, metrics);
  const int old_mode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF old_colour = ::SetTextColor(dc, ::GetSysColor(selected   ? COLOR_HIGHLIGHTTEXT
                                                               : disabled ? COLOR_GRAYTEXT
                                                                          : COLOR_WINDOWTEXT));
  if (target.program.empty()) {
    draw_line(dc, target.class_name, lines.whole, DT_VCENTER);
  } else {
    draw_line(dc, target.class_name, lines.top, DT_TOP);
    // The program tells entries of one class apart; it stands back from the class, except on
    // the selection's colour, where grey would not read.
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT));
    draw_line(dc, target.program, lines.bottom, DT_TOP);
  }
  ::SetTextColor(dc, old_colour);
  ::SetBkMode(dc, old_mode);
  if (focus) ::DrawFocusRect(dc, &item.rcItem);
  return true;
}

LRESULT CALLBACK TargetListView::list_proc(HWND list, UINT message, WPARAM wparam,
                                           LPARAM lparam) noexcept {
  auto* view = reinterpret_cast<TargetListView*>(::GetWindowLongPtrW(list, GWLP_USERDATA));
  WNDPROC list_default = view->list_default_;
  switch (message) {
    case WM_MOUSEMOVE:
      view->pointer_at(lparam);
      view->relay(message, wparam, lparam);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: view->relay(message, wparam, lparam); break;
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_SETTOPINDEX: view->forget_entry(); break;
    case WM_NCDESTROY:
      view->let_go();
      view->tip_.reset();
      break;
    default: break;
  }
  return ::CallWindowProcW(list_default, list, message, wparam, lparam);
}

void TargetListView::pointer_at(LPARAM client_point) {
  if (tip_ == nullptr) return;
  LRESULT hit = ::SendMessageW(list_, LB_ITEMFROMPOINT, 0, client_point);
  int entry = HIWORD(hit) != 0 ? -1 : static_cast<int>(LOWORD(hit));
  if (entry == entry_) return;
  entry_ = entry;
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = list_;
  tool.uId = tool_id;
  std::wstring text;
  if (entry >= 0) {
    ::SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(entry),
                   reinterpret_cast<LPARAM>(&tool.rect));
    platform::Target target = platform::ListBox(list_).target(entry);
    platform::WindowDc dc(list_);
    if (dc.get() != nullptr) {
      platform::SelectedObject font(dc.get(), list_font(list_));
      TEXTMETRICW metrics{};
      ::GetTextMetricsW(dc.get(), &metrics);
      ItemLines lines = lines_in(tool.rect, metrics);
      text = tip_text(target, wider_than(dc.get(), target.class_name, lines.whole),
                      wider_than(dc.get(), target.program, lines.whole));
    }
  }
  // The old entry's tip goes; the new one's comes once the pointer rests on it.
  ::SendMessageW(tip_.get(), TTM_POP, 0, 0);
  ::SendMessageW(tip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  tool.lpszText = text.data();
  ::SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TargetListView::forget_entry() {
  if (entry_ == -2 || tip_ == nullptr) return;
  entry_ = -2;
  // Until the pointer moves, it rests on no entry that the tip could stand for.
  ::SendMessageW(tip_.get(), TTM_POP, 0, 0);
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = list_;
  tool.uId = tool_id;
  tool.lpszText = const_cast<wchar_t*>(L"");
  ::SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TargetListView::relay(UINT message, WPARAM wparam, LPARAM lparam) {
  if (tip_ == nullptr) return;
  MSG msg{list_, message, wparam, lparam, 0, {}};
  ::SendMessageW(tip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

}  // namespace lorvane::app
