// Windows of a class made for a test or a bench, the Z-order, and the notification area.
#include "harness/lorvane_harness.h"

#include <shellapi.h>

#include <algorithm>
#include <string_view>

namespace lorvane::harness {
namespace {

// The hook's callback has no context pointer; the events go to the thread that set the hook.
thread_local MessageBoxAnswerer* watching_answerer = nullptr;

}  // namespace

HWND show_window_of_class(const std::wstring& class_name, WNDPROC proc, const RECT& place,
                          void* param, Shape shape, Activation activation, HWND owner) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = class_name.c_str();
  ::RegisterClassExW(&wc);  // a class registered for an earlier window stays registered
  RECT at = place;
  DWORD style = WS_OVERLAPPEDWINDOW;
  if (shape == Shape::full_screen) {
    style = WS_POPUP;
    at.left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    at.top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    at.right = at.left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    at.bottom = at.top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  }
  // Created shown, a window activates as a program's new window does.
  if (activation == Activation::activated) style |= WS_VISIBLE;
  HWND window =
      ::CreateWindowExW(0, class_name.c_str(), class_name.c_str(), style, at.left, at.top,
                        at.right - at.left, at.bottom - at.top, owner, nullptr, instance, param);
  if (window == nullptr) return nullptr;
  if (shape == Shape::maximised) {
    ::ShowWindow(window, SW_SHOWMAXIMIZED);
  } else if (activation == Activation::not_activated) {
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
  }
  return window;
}

std::vector<HWND> top_level_windows() {
  std::vector<HWND> windows;
  for (HWND w = ::GetTopWindow(nullptr); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
    windows.push_back(w);
  }
  return windows;
}

std::vector<HWND> visible_top_level_windows() {
  std::vector<HWND> windows = top_level_windows();
  std::erase_if(windows, [](HWND w) { return !::IsWindowVisible(w); });
  return windows;
}

bool is_topmost(HWND window) {
  return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

int z_position(HWND window) {
  std::vector<HWND> windows = top_level_windows();
  auto at = std::find(windows.begin(), windows.end(), window);
  return at == windows.end() ? -1 : static_cast<int>(at - windows.begin());
}

bool is_below(HWND lower, HWND upper) {
  int l = z_position(lower);
  int u = z_position(upper);
  return l >= 0 && u >= 0 && u < l;
}

std::vector<HWND> windows_as_seen() {
  std::vector<HWND> windows = visible_top_level_windows();
  // As the user's eye finds it: the desktop and the taskbar are no windows over it (Wine keeps its
  // taskbar out of the topmost band, low in the Z-order), and neither is a minimised window or one
  // of no size.
  HWND desktop = ::GetShellWindow();
  std::erase_if(windows, [desktop](HWND w) {
    wchar_t name[32] = {};
    ::GetClassNameW(w, name, 32);
    RECT r{};
    return w == desktop || std::wstring_view(name) == L"Shell_TrayWnd" ||
           std::wstring_view(name) == L"Shell_SecondaryTrayWnd" || ::IsIconic(w) ||
           !::GetWindowRect(w, &r) || ::IsRectEmpty(&r);
  });
  return windows;
}

HWND last_visible_window() {
  std::vector<HWND> windows = windows_as_seen();
  return windows.empty() ? nullptr : windows.back();
}

bool is_last_visible(HWND window) { return window != nullptr && last_visible_window() == window; }

void bring_to_front(HWND window) {
  UINT flags = SWP_NOMOVE | SWP_NOSIZE;
  // A window that does not answer is raised by its own thread once it answers again, never
  // waited for; one that answers is on top when this returns.
  if (!send(window, WM_NULL, 0, 0, nullptr, 100)) flags |= SWP_ASYNCWINDOWPOS;
  ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, flags);
  ::SetForegroundWindow(window);
}

bool tray_icon_present(HWND window) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = window;
  record.uID = 0;
  record.uFlags = 0;  // change nothing
  return ::Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

bool delete_tray_icon(HWND window) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = window;
  record.uID = 0;
  return ::Shell_NotifyIconW(NIM_DELETE, &record) != FALSE;
}

std::wstring message_box_text(HWND box) {
  // The message is the static control with id 0xFFFF.
  HWND text = ::GetDlgItem(box, 0xFFFF);
  if (text == nullptr) return {};
  wchar_t buffer[1024] = {};
  ::GetWindowTextW(text, buffer, 1024);
  return buffer;
}

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> answers)
    : answers_(std::move(answers)), ready_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  ::InitializeCriticalSection(&lock_);
  thread_ = std::thread([this] { run(); });
  ::WaitForSingleObject(ready_.get(), INFINITE);
  // Under Wine a thread learns of a new hook only when it next takes messages, and until then
  // raises no event for its windows: this thread, which shows the boxes in a test, looks now.
  MSG msg{};
  ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  ::PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
  thread_.join();
  ::DeleteCriticalSection(&lock_);
}

std::vector<SeenBox> MessageBoxAnswerer::seen() const {
  ::EnterCriticalSection(&lock_);
  std::vector<SeenBox> copy = seen_;
  ::LeaveCriticalSection(&lock_);
  return copy;
}

void CALLBACK MessageBoxAnswerer::on_win_event(HWINEVENTHOOK, DWORD, HWND window, LONG object,
                                               LONG child, DWORD, DWORD) {
  if (watching_answerer == nullptr || object != OBJID_WINDOW || child != CHILDID_SELF) return;
  wchar_t name[16] = {};
  if (::GetAncestor(window, GA_PARENT) != ::GetDesktopWindow() ||
      ::GetClassNameW(window, name, 16) == 0 || std::wstring_view(name) != L"#32770") {
    return;
  }
  watching_answerer->heard_.push_back({window, ::GetTickCount()});
}

void MessageBoxAnswerer::run() {
  watching_answerer = this;
  // From creation to showing (one event or the other, or both, for each box), for this process's
  // windows alone: a test run beside it may have boxes of its own.
  platform::UniqueWinEventHook hook(
      ::SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, &on_win_event,
                        ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT));
  MSG msg{};
  ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue, for the quit message
  thread_id_ = ::GetCurrentThreadId();
  // A box already open is answered too.
  if (HWND open = find_window_of(::GetCurrentProcessId(), L"#32770", L"Lorvane"))
    heard_.push_back({open, ::GetTickCount()});
  ::SetEvent(ready_.get());
  for (;;) {
    answer_shown();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, heard_.empty() ? INFINITE : 10, QS_ALLINPUT);
    // The hook's events are handled inside the peek.
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        watching_answerer = nullptr;
        return;
      }
      ::DispatchMessageW(&msg);
    }
  }
}

void MessageBoxAnswerer::answer_shown() {
  const DWORD now = ::GetTickCount();
  std::erase_if(heard_, [&](const Heard& heard) {
    HWND box = heard.box;
    if (!::IsWindow(box) || std::ranges::count(answered_boxes_, box) > 0) return true;
    // Handled once the box's thread waits for messages.
    send(box, WM_NULL, 0, 0, nullptr, 1000);
    if (!::IsWindowVisible(box)) return now - heard.since > 2000;
    std::size_t next = answered_.load();
    if (text_of(box) != L"Lorvane" || next >= answers_.size()) return true;
    int answer = answers_[next];
    ::EnterCriticalSection(&lock_);
    seen_.push_back({L"Lorvane", message_box_text(box), answer});
    ::LeaveCriticalSection(&lock_);
    answered_boxes_.push_back(box);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
    answered_ = next + 1;
    return true;
  });
}

}  // namespace lorvane::harness
