#pragma once
// What the programs around Lorvane share (the tests, the bench programs, the fuzzer, the soak run
// and the screenshot driver): scratch folders and file bytes, settings files written as Lorvane
// reads them, the one wait, other programs started as processes, copies of Lorvane started and
// closed, windows made, found and read,
// the Z-order, the notification area, and the user's hand. Lorvane.exe itself never links this.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/unique_handles.h"

namespace lorvane::harness {

// ---- files ----

// A fresh, empty folder under the temporary folder ("lorvane-<tag>-<process>-<n>"), removed
// with everything in it.
class TempFolder {
 public:
  explicit TempFolder(const std::wstring& tag = L"test");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// An existing file opened with the access and the sharing asked for; null when it cannot be
// opened (CreateFile's INVALID_HANDLE_VALUE is not kept).
platform::UniqueKernelHandle open_file(const std::wstring& path, DWORD access, DWORD share);
// The whole file, or nothing when it cannot be read.
std::string read_bytes(const std::wstring& path);
// Replaces the file with the bytes; false when it could not write them all.
bool write_bytes(const std::wstring& path, const std::string& bytes);
bool file_exists(const std::wstring& path);
// The names in a folder, without "." and "..".
std::vector<std::wstring> names_in(const std::wstring& folder);

// "C:\x\Lorvane.exe" gives "C:\x" and "Lorvane.exe".
std::wstring folder_of(const std::wstring& path);
std::wstring file_name(const std::wstring& path);
// A path as the build hands it over: a Unix path is reached through Wine's drive Z:.
std::wstring windows_path(std::wstring path);
// Under Wine, the same file or folder reached through another drive: drive Z:, the root of the
// Unix file system, as a mapped drive and its UNC path reach one folder on Windows. Empty where
// there is no such spelling.
std::wstring through_root_drive(const std::wstring& path);

// ---- text and settings files ----

// The text in code page 932, as the settings file holds it.
std::string sjis(const std::wstring& text);
std::string utf8(const std::wstring& text);

// The bytes of a settings file from UTF-16 text: every line end CR LF (a lone LF gains its CR),
// in Shift-JIS, as Windows' profile functions write the file.
std::string ini_file_bytes(const std::wstring& text);
bool write_ini(const std::wstring& path, const std::wstring& text);
// The bytes of a settings file that registers the class names in order, with the front-display
// option, as the program saves it.
std::string settings_text(const std::vector<std::wstring>& class_names, bool front_display_off);

// ---- waiting ----

// The one wait: polls the condition every step, handling this thread's messages meanwhile; true
// as soon as it holds, false once the timeout has passed.
bool pump_until(const std::function<bool()>& condition,
                std::chrono::milliseconds timeout = std::chrono::seconds(10),
                std::chrono::milliseconds step = std::chrono::milliseconds(10));
// Waits until the state settles: two readings a step apart agree. True once they do, false once
// the timeout has passed. For a state that has no single condition to wait for, such as where a
// window ends up after its first show.
bool pump_until_settled(const std::function<std::vector<std::intptr_t>()>& reading,
                        std::chrono::milliseconds timeout = std::chrono::seconds(10),
                        std::chrono::milliseconds step = std::chrono::milliseconds(20));
// Handles this thread's messages until none is left in its queue: for a reaction that comes as
// messages of this thread (a hook's post, a sent event), so that "nothing happened" is seen only
// once everything the program was told has been handled.
void pump_until_empty();
// Handles this thread's messages for a while (to show that something does NOT happen, or to
// keep this process's windows answering while another program works on them).
void pump_for(std::chrono::milliseconds duration);

// Whether we run under Wine (some figures and cases differ from Windows and say so).
bool running_under_wine();

// ---- processes ----

// A started program; one still running when its owner goes is killed, so that a failed run
// leaves nothing behind.
class Process {
 public:
  Process() = default;
  ~Process() { kill(); }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts exe with the arguments, in folder (the exe's own folder when empty); false if it
  // cannot be started.
  bool start(const std::wstring& exe, const std::wstring& arguments = L"",
             const std::wstring& folder = L"");
  DWORD id() const { return id_; }
  HANDLE handle() const { return handle_.get(); }
  bool running() const;
  // Waits for the process to end on its own.
  bool wait_exit(std::chrono::milliseconds timeout) const;
  DWORD exit_code() const;
  // Terminates it if it still runs.
  void kill();
  // Hands the process handle over: it is no longer killed when this goes.
  platform::UniqueKernelHandle release();

 private:
  platform::UniqueKernelHandle handle_;
  DWORD id_ = 0;
};

// The folder of the running program: where the build puts the test programs side by side.
std::wstring program_folder();

// ---- a desktop as Windows has it ----

// The shell's desktop window as Windows keeps it, stood in for by e2e_target.exe started with
// --desktop: a full-screen tool window, never activated, registered with SetShellWindow and put
// back last whenever another window goes below it. Wine's explorer registers no shell window and
// keeps no window last; over the stand-in, HWND_BOTTOM leaves a window above the desktop, as on
// Windows. It is started in its own process: a test process registered as the shell would make
// its own windows the shell's. When this goes, the stand-in is closed and the wait lasts until
// the system names no shell window again.
class DesktopStandIn {
 public:
  // The stand-in from e2e_target.exe beside this program, or from the exe given.
  explicit DesktopStandIn(std::wstring exe = {});
  ~DesktopStandIn();
  DesktopStandIn(const DesktopStandIn&) = delete;
  DesktopStandIn& operator=(const DesktopStandIn&) = delete;

  // The shell's window, once the system names it; null when it could not be started.
  HWND window() const { return window_; }
  bool started() const { return window_ != nullptr; }
  // Whether the system names no shell window: the state each test that starts the stand-in
  // leaves behind.
  static bool gone() { return ::GetShellWindow() == nullptr; }

 private:
  Process process_;
  HWND window_ = nullptr;
};

// ---- a copy of Lorvane ----

// Lorvane.exe copied into a scratch folder of its own ("lorvane-<tag>-..."), where its settings
// file lies beside it; started there, its main window found, and closed as its close box would
// close it. A copy still running when this goes is killed before its folder is removed.
class LorvaneCopy {
 public:
  LorvaneCopy(const std::wstring& exe, const std::wstring& tag);
  LorvaneCopy(const LorvaneCopy&) = delete;
  LorvaneCopy& operator=(const LorvaneCopy&) = delete;

  // Whether the exe was copied.
  bool copied() const { return copied_; }
  const std::wstring& folder() const { return folder_.path(); }
  std::wstring exe_path() const { return folder_.file(L"Lorvane.exe"); }
  std::wstring ini_path() const { return folder_.file(L"Lorvane.ini"); }

  // Starts the copy in its folder and waits for its main window to exist; false when either
  // fails (process().running() tells which).
  bool start(std::chrono::milliseconds timeout);
  // Posts WM_CLOSE to the main window and waits for the program to end; false when it does not.
  bool close(std::chrono::milliseconds timeout);
  HWND main() const { return main_; }
  const Process& process() const { return process_; }

 private:
  TempFolder folder_;
  bool copied_ = false;
  // After the folder: a copy left running is killed before its folder is removed.
  Process process_;
  HWND main_ = nullptr;
};

// ---- windows: made, found and read ----

// How a window of a test class lies on the screen: a plain window with a title bar, that window
// maximised, or a popup without a title bar over the whole virtual desktop (a film, a game).
enum class Shape { normal, maximised, full_screen };
// Whether the new window takes the foreground as a program's new window does, or leaves it with
// whoever had it.
enum class Activation { activated, not_activated };

// The one way to make a window of a class: registers the class on first use (with the
// procedure; a later registration fails harmlessly and keeps the first), creates a top-level
// window titled with the class name at the place (a full-screen one ignores it) and shows it.
// `param` reaches WM_NCCREATE. The window belongs to the calling thread, and to `owner` where
// one is given.
HWND show_window_of_class(const std::wstring& class_name, WNDPROC proc, const RECT& place,
                          void* param = nullptr, Shape shape = Shape::normal,
                          Activation activation = Activation::not_activated, HWND owner = nullptr);

// A top-level window of the process with that class, and that caption unless null; with
// visible_only, only a shown one. Null when there is none.
HWND find_window_of(DWORD process_id, const wchar_t* class_name, const wchar_t* caption = nullptr,
                    bool visible_only = false);
// Waits, handling this thread's messages, until the process has such a window. Null when the
// process ends first or the time runs out (running() tells which).
HWND wait_for_window(const Process& process, const wchar_t* class_name, const wchar_t* caption,
                     bool visible_only, std::chrono::milliseconds timeout);

// SendMessageTimeout that gives up on a window whose thread does not answer.
bool send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0,
          LRESULT* result = nullptr, UINT timeout_ms = 5000);
// A window's text (a caption, a button's label) through WM_GETTEXT, which works across
// processes; "<no answer>" from a window that does not answer.
std::wstring text_of(HWND window);

// ---- message boxes ----

// The text of a message box's message (its static control).
std::wstring message_box_text(HWND box);

// A message box seen and answered by MessageBoxAnswerer.
struct SeenBox {
  std::wstring title;
  std::wstring text;
  int answer;
};

// Watches, from a thread of its own, for message boxes (#32770) of this process titled "Lorvane",
// and presses the next answer of its script (IDYES, IDNO, IDOK, IDCANCEL) in each, recording what
// it saw. Between boxes the thread sleeps until the system tells of a new window (a WinEvent
// hook, out of context). Wine 8 tells only of its creation (EVENT_OBJECT_CREATE; of other
// processes' windows too), before the box has its title or shows; Windows also tells when it
// shows. So a box heard of is sent a message, which its thread takes once it waits for messages
// in the box's own loop, where the box shows with its text; one still hidden then is looked at
// again every 10 ms, for 2 s at most.
class MessageBoxAnswerer {
 public:
  // Returns once the watch is on: a box shown from then on by this thread, or by another once it
  // has taken messages since, is answered.
  explicit MessageBoxAnswerer(std::vector<int> answers);
  ~MessageBoxAnswerer();
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

  std::vector<SeenBox> seen() const;
  std::size_t answered() const { return answered_.load(); }

 private:
  struct Heard {
    HWND box;
    DWORD since;  // the tick count when it was heard of
  };
  static void CALLBACK on_win_event(HWINEVENTHOOK, DWORD event, HWND window, LONG object,
                                    LONG child, DWORD, DWORD);
  void run();
  // Answers the boxes heard of that show, and forgets the ones that are gone or not to answer.
  void answer_shown();

  std::vector<int> answers_;
  std::vector<SeenBox> seen_;
  mutable CRITICAL_SECTION lock_;
  std::atomic<std::size_t> answered_{0};
  // On the watching thread alone.
  std::vector<Heard> heard_;
  std::vector<HWND> answered_boxes_;
  platform::UniqueKernelHandle ready_;
  DWORD thread_id_ = 0;
  std::thread thread_;
};

// ---- the Z-order ----

// The top-level windows from the top of the Z-order down (the GW_HWNDNEXT walk), and the shown
// ones among them.
std::vector<HWND> top_level_windows();
std::vector<HWND> visible_top_level_windows();
bool is_topmost(HWND window);
// The window's place in the walk from the top, or -1.
int z_position(HWND window);
// Whether both are top-level windows and lower comes after upper in the walk.
bool is_below(HWND lower, HWND upper);
// The shown top-level windows from the top down, as the user sees them: without the shell's windows
// (its desktop, which Windows keeps last, and the taskbar, which keep their own places),
// minimised windows and windows of no size.
std::vector<HWND> windows_as_seen();
// The shown top-level window that every other shown one lies above, or null: what the user sees
// at the bottom. A window that was pushed to the very bottom is it. The shell's windows (its
// desktop, which Windows keeps last, and the taskbar), minimised windows and windows of no size
// are not counted.
HWND last_visible_window();
bool is_last_visible(HWND window);
// As a user's click would: raised to the top and activated. Under Wine, activating the window
// that already is the foreground window does not raise it, so it is raised first. A hung window
// is raised by its own thread once it answers again: the caller is never held up by it.
void bring_to_front(HWND window);

// ---- the notification area ----

// Whether the shell holds the icon of that window (uID 0): it accepts a change of nothing only
// for an icon it has.
bool tray_icon_present(HWND window);
// Takes the window's icon out, as a restarted shell would have lost it.
bool delete_tray_icon(HWND window);

// ---- the user's hand ----

// Moves the pointer there (screen pixels) and waits, handling this thread's messages, until it is
// there: under Wine a click batched with its move now and then lands where the pointer was.
void point_at(POINT at);
// A left click there, pressed once the pointer is there.
void click_at(POINT at);
// The left button pressed there and kept down, and let go again where the pointer is: a click
// in two halves, for a test that looks at what comes between them.
void press_at(POINT at);
void release_button();
// A left click in the middle of the window's rectangle.
void click_window(HWND window);
// A click there that brings the window to the front, clicked once more while it does not: under
// Wine, now and then, a click on a window just made and moved leaves the foreground where it was
// (seen in full runs on a loaded machine). True once the window is the foreground window.
bool click_to_front(HWND window, POINT at);
bool click_to_front(HWND window);
// The pointer where no window of a test or bench ever appears, the middle of the taskbar: a
// window that appears under or leaves a still pointer counts as input under Wine.
void park_pointer();
// A small mouse move there and back: the user is at the machine again.
void nudge_pointer();
// A press and release of a key; Shift, the default, types nothing: the user's hand on the keyboard.
void press_key(WORD key = VK_SHIFT);

}  // namespace lorvane::harness
