#pragma once
// What the bench programs share: a clock, medians, scratch folders, starting and closing other
// programs, and plain windows of a given class to stand in for the windows Lorvane controls.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lorvane_harness.h"
#include "platform/unique_handles.h"

namespace lorvane::bench {

// Handles, file bytes, file names and encodings come from the support library that the tests
// and the tools use too.
using harness::file_name;
using harness::HandleCloser;
using harness::running_under_wine;
using harness::sjis;
using harness::UniqueHandle;
using harness::utf8;
using harness::write_bytes;

// Seconds from the performance counter.
double now_seconds();

double median(std::vector<double> values);

// A fresh folder under the temporary folder ("lorvane-bench-<tag>-..."), removed with its files.
class ScratchFolder : public harness::TempFolder {
 public:
  explicit ScratchFolder(const std::wstring& tag) : TempFolder(L"bench-" + tag) {}
};

// A settings file registering the class names in order, with the front-display option.
std::string settings_text(const std::vector<std::wstring>& class_names, bool front_display_off);

struct Started {
  UniqueHandle process;
  DWORD id = 0;
};

// Starts the program with its own folder as the working folder; an empty process on failure.
Started start_program(const std::wstring& exe);

// A top-level window of the class and caption that belongs to the process, or null; with
// `visible`, only a visible one.
HWND window_of(DWORD process_id, const wchar_t* class_name, const wchar_t* caption, bool visible);

// A window's text (a button's caption), at most 63 characters.
std::wstring caption_of(HWND window);

// Polls (1 ms steps), handling this thread's messages, until the condition holds; false after
// the timeout.
bool poll_until(const std::function<bool()>& condition, double timeout_seconds);

// Asks the window to close as its close box would, then waits for the process to end.
bool close_and_wait(HWND window, HANDLE process, DWORD timeout_ms = 15000);

// Handles this thread's messages for a while.
void pump_for(double seconds);

// A top-level window of the class (registered on first use, with the procedure) at the place,
// titled with the class name, shown without taking the foreground; `param` reaches WM_NCCREATE.
HWND show_window_of_class(const std::wstring& class_name, WNDPROC proc, const RECT& place,
                          void* param = nullptr);

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

}  // namespace lorvane::bench
