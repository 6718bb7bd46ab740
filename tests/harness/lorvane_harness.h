#pragma once
// What the programs around Lorvane share (the tests, the bench programs, the fuzzer, the soak run
// and the screenshot driver): scratch folders and file bytes, settings files written as Lorvane
// reads them, other programs started as processes, and their top-level windows found and waited
// for. Lorvane.exe itself never links this.
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>

namespace lorvane::harness {

struct HandleCloser {
  void operator()(HANDLE handle) const noexcept { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

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

// The whole file, or nothing when it cannot be read.
std::string read_bytes(const std::wstring& path);
// Replaces the file with the bytes; false when it could not write them all.
bool write_bytes(const std::wstring& path, const std::string& bytes);
bool file_exists(const std::wstring& path);

// "C:\x\Lorvane.exe" gives "C:\x" and "Lorvane.exe".
std::wstring folder_of(const std::wstring& path);
std::wstring file_name(const std::wstring& path);
// A path as the build hands it over: a Unix path is reached through Wine's drive Z:.
std::wstring windows_path(std::wstring path);

// ---- text ----

// The text in code page 932, as the settings file holds it.
std::string sjis(const std::wstring& text);
std::string utf8(const std::wstring& text);

// The bytes of a settings file from UTF-16 text: every line end CR LF (a lone LF gains its CR),
// in Shift-JIS, as Windows' profile functions write the file.
std::string ini_file_bytes(const std::wstring& text);
bool write_ini(const std::wstring& path, const std::wstring& text);

// ---- waiting ----

// Handles this thread's messages while it polls; true as soon as the condition holds.
bool pump_until(const std::function<bool()>& condition,
                std::chrono::milliseconds timeout = std::chrono::seconds(10),
                std::chrono::milliseconds step = std::chrono::milliseconds(10));
// Handles this thread's messages for a while (to show that something does NOT happen, or to
// keep this process's windows answering while another program works on them).
void pump_for(std::chrono::milliseconds duration);

// Whether we run under Wine (some figures and cases differ from Windows and say so).
bool running_under_wine();

// ---- processes and their windows ----

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
  UniqueHandle release();

 private:
  UniqueHandle handle_;
  DWORD id_ = 0;
};

// A top-level window of the process with that class, and that caption unless null; with
// visible_only, only a shown one. Null when there is none.
HWND find_window_of(DWORD process_id, const wchar_t* class_name, const wchar_t* caption = nullptr,
                    bool visible_only = false);

// Waits, handling this thread's messages, until the process has such a window. Null when the
// process ends first or the time runs out (running() tells which).
HWND wait_for_window(const Process& process, const wchar_t* class_name, const wchar_t* caption,
                     bool visible_only, std::chrono::milliseconds timeout);

// ---- the user's hand ----

// Moves the pointer there (screen pixels) and waits, handling this thread's messages, until it is
// there: under Wine a click batched with its move now and then lands where the pointer was.
void point_at(POINT at);
// A left click there, pressed once the pointer is there.
void click_at(POINT at);
// The pointer where no window of a test or bench ever appears, the middle of the taskbar: a
// window that appears under or leaves a still pointer counts as input under Wine.
void park_pointer();
// A small mouse move there and back: the user is at the machine again.
void nudge_pointer();
// A press and release of Shift, which types nothing: the user's hand on the keyboard.
void press_key();

}  // namespace lorvane::harness
