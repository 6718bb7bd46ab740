#include "app/about_box.h"

#include "app/layout.h"
#include "app/twips.h"
#include "resources/resource.h"

namespace lorvane::app {
namespace {

constexpr DWORD about_style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD about_ex_style = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
constexpr int client_width = 3630;
constexpr int client_height = 1410;
constexpr int close_button_id = IDOK;  // Enter and Esc close the box as the button does

struct Label {
  TwipsRect rect;
  const wchar_t* text;
  bool title;  // 15.75 pt; otherwise 9 pt
};

// Drawn straight onto the picture, so that they stand transparent over it.
constexpr Label labels[] = {
    {{360, 120, 1815, 495}, L"Lorvane", true},
    {{2040, 120, 1695, 495}, L"Ｖｅｒ2.60", true},
    {{120, 600, 3375, 255}, L"© 2026 Lorvane Project", false},
};
constexpr TwipsRect close_button{1320, 960, 855, 375};

RECT to_pixels(const TwipsRect& r, int dpi) {
  int left = twips_to_pixels(r.left, dpi);
  int top = twips_to_pixels(r.top, dpi);
  return {left, top, left + twips_to_pixels(r.width, dpi), top + twips_to_pixels(r.height, dpi)};
}

// Bold "ＭＳ Ｐゴシック" in the Shift-JIS character set; where it is missing the platform
// substitutes its nearest face. Size in hundredths of a point.
platform::UniqueFont label_font(int centipoints, int dpi) {
  LOGFONTW font{};
  font.lfHeight = -::MulDiv(centipoints, dpi, 7200);
  font.lfWeight = FW_BOLD;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  ::lstrcpynW(font.lfFaceName, L"ＭＳ Ｐゴシック", LF_FACESIZE);
  return platform::UniqueFont(::CreateFontIndirectW(&font));
}

}  // namespace

AboutBox::AboutBox(std::function<void()> on_closed, platform::Dpi dpi)
    : on_closed_(std::move(on_closed)), dpi_(dpi) {}

// Destroyed without its close handling, before the fonts and the picture it draws with go.
AboutBox::~AboutBox() { destroy_unheard(); }

bool AboutBox::create(HINSTANCE instance) {
  if (!register_class(instance)) return false;
  background_.reset(static_cast<HBITMAP>(::LoadImageW(
      instance, MAKEINTRESOURCEW(IDB_ABOUT_BACKGROUND), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  int dpi = dpi_.system();
  SIZE outer =
      dpi_.outer_size({twips_to_pixels(client_width, dpi), twips_to_pixels(client_height, dpi)},
                      about_style, about_ex_style, dpi);
  // Centred in the primary monitor's work area.
  POINT origin = centred_in_work_area(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), outer);
  return ::CreateWindowExW(about_ex_style, class_name, caption, about_style, origin.x, origin.y,
                           outer.cx, outer.cy, nullptr, nullptr, instance, this) != nullptr;
}

void AboutBox::show() {
  ::ShowWindow(window_, SW_SHOW);
  ::SetForegroundWindow(window_);
  ::SetFocus(::GetDlgItem(window_, close_button_id));
}

void AboutBox::on_create(const CREATESTRUCTW& create) {
  ::CreateWindowExW(0, L"BUTTON", L"閉じる", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                    0, 0, 0, 0, window_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(close_button_id)),
                    create.hInstance, nullptr);
  create_fonts();
}

void AboutBox::on_dpi_changed(WPARAM wparam, LPARAM lparam) {
  take_new_dpi(dpi_, wparam, lparam);
  create_fonts();
  ::InvalidateRect(window_, nullptr, TRUE);
}

void AboutBox::create_fonts() {
  int dpi = dpi_.of_window(window_);
  title_font_ = label_font(1575, dpi);
  notice_font_ = label_font(900, dpi);
  NONCLIENTMETRICSW metrics;
  if (dpi_.non_client_metrics(metrics, dpi)) {
    button_font_.reset(::CreateFontIndirectW(&metrics.lfMessageFont));
  }
  HWND button = ::GetDlgItem(window_, close_button_id);
  ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(button_font_.get()), TRUE);
  RECT r = to_pixels(close_button, dpi);
  ::MoveWindow(button, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void AboutBox::paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(window_, &ps);
  if (background_) {
    // At its natural size from the top-left corner, neither stretched nor tiled.
    platform::UniqueMemoryDc source(::CreateCompatibleDC(dc));
    platform::SelectedObject picture(source.get(), background_.get());
    BITMAP info{};
    ::GetObjectW(background_.get(), sizeof info, &info);
    ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
  }
  int dpi = dpi_.of_window(window_);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  for (const Label& label : labels) {
    RECT r = to_pixels(label.rect, dpi);
    platform::SelectedObject font(dc, (label.title ? title_font_ : notice_font_).get());
    ::DrawTextW(dc, label.text, -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  ::EndPaint(window_, &ps);
}

void AboutBox::close_handling() {
  ::ShowWindow(window_, SW_HIDE);
  if (on_closed_) on_closed_();
  ::DestroyWindow(window_);
}

LRESULT AboutBox::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: on_create(*reinterpret_cast<const CREATESTRUCTW*>(lparam)); return 0;
    case WM_ERASEBKGND: return background_ ? 1 : ::DefWindowProcW(window_, message, wparam, lparam);
    case WM_PAINT: paint(); return 0;
    case WM_DPICHANGED: on_dpi_changed(wparam, lparam); return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == close_button_id || LOWORD(wparam) == IDCANCEL) close_handling();
      return 0;
    case WM_CLOSE: close_handling(); return 0;
    default: return ::DefWindowProcW(window_, message, wparam, lparam);
  }
}

}  // namespace lorvane::app
