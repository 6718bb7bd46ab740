// The floor for start-up time: one class, one window shown, a message loop, and the icon in the
// notification area that a program living there adds at every start, shown or not. Built as
// Lorvane.exe is (static runtime, wWinMain), so that the two starts compare fairly.
//
// Built twice. minimal_window.exe is the bare window. bare_window_with_controls.exe (built with
// LORVANE_BARE_WITH_CONTROLS and Lorvane's resources, whose manifest asks for the version 6
// common controls) adds the main window's eleven controls, of the same classes and styles, in the
// message font: what any program with that window pays before the user sees it, which Lorvane
// cannot do without. What Lorvane adds to that (its one-copy claims, the settings file, the
// layout) is what the start-up ratio against it measures.
#include <windows.h>

#include <shellapi.h>

#include <cstring>

#ifdef LORVANE_BARE_WITH_CONTROLS
#include "resources/resource.h"
#endif

namespace {

// The icon the program shows in the notification area: its own, from its resources, where it has
// them (Lorvane's, in the build with the controls); the system's otherwise.
HICON small_icon(HINSTANCE instance) {
#ifdef LORVANE_BARE_WITH_CONTROLS
  return static_cast<HICON>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_LORVANE), IMAGE_ICON, 16, 16, LR_SHARED));
#else
  (void)instance;
  return static_cast<HICON>(::LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, 16, 16, LR_SHARED));
#endif
}

// The notification-area icon as Lorvane describes it: the first shell version's record (88 bytes),
// a callback message, the icon and a tip. The shell takes its time over an add whoever asks, and
// a start of a program that lives in the notification area pays it before its window shows.
constexpr DWORD first_record_size = 88;

NOTIFYICONDATAA icon_record(HWND window, HICON icon) {
  NOTIFYICONDATAA record;
  std::memset(&record, 0, sizeof record);
  record.cbSize = first_record_size;
  record.hWnd = window;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = WM_APP;
  record.hIcon = icon;
  std::memcpy(record.szTip, "Minimal", sizeof "Minimal");
  return record;
}

LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  if (message == WM_DESTROY) {
    // Deleted at every exit: the bench starts the program dozens of times, and an icon left
    // behind would stay in the notification area until the shell restarts.
    NOTIFYICONDATAA record = icon_record(window, nullptr);
    ::Shell_NotifyIconA(NIM_DELETE, &record);
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

#ifdef LORVANE_BARE_WITH_CONTROLS
struct Control {
  const wchar_t* window_class;
  const wchar_t* text;
  DWORD style;
  DWORD ex_style;
  RECT place;
};

constexpr Control controls[] = {
    {L"BUTTON", L"開始", BS_PUSHBUTTON | WS_TABSTOP, 0, {176, 192, 225, 217}},
    {L"BUTTON", L"選択", BS_PUSHBUTTON | WS_TABSTOP, 0, {176, 32, 225, 57}},
    {L"BUTTON",
     L"前面表示しない。",
     BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP,
     0,
     {8, 224, 217, 265}},
    {L"BUTTON", L"バージョン情報", BS_PUSHBUTTON | WS_TABSTOP, 0, {136, 0, 225, 25}},
    {L"BUTTON", L"保存", BS_PUSHBUTTON | WS_TABSTOP, 0, {176, 160, 225, 185}},
    {L"BUTTON", L"削除", BS_PUSHBUTTON | WS_TABSTOP, 0, {176, 128, 225, 153}},
    {L"BUTTON", L"↓", BS_PUSHBUTTON | WS_TABSTOP, 0, {176, 96, 225, 121}},
    {L"LISTBOX",
     L"",
     LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL |
         WS_TABSTOP,
     WS_EX_CLIENTEDGE,
     {0, 32, 169, 216}},
    {L"BUTTON", L"↑", BS_PUSHBUTTON | WS_TABSTOP, 0, {176, 64, 225, 89}},
    {L"STATIC", L"制御する窓", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, {8, 8, 67, 20}},
    {L"EDIT", L"5000", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, {120, 72, 161, 90}},
};

void add_controls(HWND window, HINSTANCE instance) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  // Left to the process's end, as the window is.
  HFONT font = ::CreateFontIndirectW(&metrics.lfMessageFont);
  int id = 100;
  for (const Control& c : controls) {
    // The last one, the idle threshold's box, is hidden in Lorvane's window too.
    DWORD visible = id == 110 ? 0 : WS_VISIBLE;
    HWND child = ::CreateWindowExW(
        c.ex_style, c.window_class, c.text, WS_CHILD | visible | c.style, c.place.left, c.place.top,
        c.place.right - c.place.left, c.place.bottom - c.place.top, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = window_proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"LorvaneBenchMinimal";
  if (!::RegisterClassExW(&wc)) return 1;
  HWND window =
      ::CreateWindowExW(0, wc.lpszClassName, L"Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 240, 300, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
#ifdef LORVANE_BARE_WITH_CONTROLS
  add_controls(window, instance);
#endif
  NOTIFYICONDATAA record = icon_record(window, small_icon(instance));
  ::Shell_NotifyIconA(NIM_ADD, &record);
  ::ShowWindow(window, show);
  ::UpdateWindow(window);

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
