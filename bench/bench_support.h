#pragma once
// What only the bench programs need besides the support library: a clock in seconds, medians,
// copies of the program started to be measured, and plain windows of distinct classes to stand in
// for the windows Lorvane controls.
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "harness/lorvane_harness.h"
#include "platform/unique_handles.h"

namespace lorvane::bench {

// The bench programs speak the support library's vocabulary.
using namespace harness;

// Seconds from the performance counter.
double now_seconds();
// A time in seconds, as the waits take it.
std::chrono::milliseconds in_ms(double seconds);
// The bench polls every millisecond: a reaction is timed to the millisecond.
inline constexpr std::chrono::milliseconds poll_step{1};

double median(std::vector<double> values);

// A started copy whose process is not killed when it goes: the bench closes it and reads its
// end itself.
struct Started {
  platform::UniqueKernelHandle process;
  DWORD id = 0;
};

// Starts the program with its own folder as the working folder; an empty process on failure.
Started start_program(const std::wstring& exe);

// Asks the window to close as its close box would, then waits for the process to end.
bool close_and_wait(HWND window, HANDLE process, DWORD timeout_ms = 15000);

// A copy of Lorvane in a folder of its own, made by start_controlling.
struct ProgramCopy {
  std::unique_ptr<LorvaneCopy> lorvane;
  HWND main = nullptr;  // once it controls from the tray
  std::wstring folder() const { return lorvane ? lorvane->folder() : std::wstring(); }
};

// Copies the exe into a new folder ("lorvane-<tag>-..."), writes the settings that register
// these classes, and starts it; true once it controls from the tray.
bool start_controlling(ProgramCopy& copy, const std::wstring& tag, const std::wstring& exe,
                       const std::vector<std::wstring>& classes, bool front_display_off);
// Closes the copy as its close box would; one that does not end is killed, and false.
bool close_copy(ProgramCopy& copy);

// Top-level windows of distinct classes, registered and created by this process, shown without
// taking the foreground.
class TargetWindows {
 public:
  HWND add(const std::wstring& class_name);
  HWND at(std::size_t i) const { return windows_[i].get(); }
  std::size_t size() const { return windows_.size(); }
  void clear() { windows_.clear(); }

 private:
  std::vector<platform::UniqueWindow> windows_;
};

// Windows of another program for the bench to measure against: a child copy of the bench program,
// started with the names of two events, makes its windows, sets the first, and keeps them,
// answering their messages, until the second is set.
class WindowsChild {
 public:
  WindowsChild() = default;
  WindowsChild(const WindowsChild&) = delete;
  WindowsChild& operator=(const WindowsChild&) = delete;
  // Tells the child to go, and gives it the time to go on its own.
  ~WindowsChild();
  // Starts this program again with the arguments and the events' names after them (named with
  // `tag`), and waits for its windows; false where they did not come within a minute.
  bool start(const std::wstring& tag, const std::wstring& arguments);
  DWORD id() const { return child_.id(); }

 private:
  platform::UniqueKernelHandle ready_;
  platform::UniqueKernelHandle done_;
  Process child_;
};

// The child's side, with the two names it was given: makes the windows, says so, and keeps them
// until told to go.
int keep_windows(const std::wstring& ready_name, const std::wstring& done_name,
                 const std::function<void(TargetWindows&)>& make);

// A relative pointer move, as the user's hand makes it.
void move_pointer(LONG dx);

}  // namespace lorvane::bench
