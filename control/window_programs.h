#pragma once
// What the control cycle knows of a window for the window's life, found out once: its program,
// and whether it is the shell's. The push and the idle raise ask again what can change (whether
// it shows, where it lies, its owner: WinForms and classic Delphi change a form's owner while the
// form lives); the raise looks every second.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/process_name.h"

namespace lorvane::control {

// One window as found out once.
struct WindowRecord {
  // The full path of the window's program, and its file name; both empty where the program
  // cannot be read.
  std::wstring path;
  std::wstring program;
  // One of the shell's own windows, which is never moved.
  bool shell = false;
  // When the push last took the window back down since Start, in the order of all pushes: the
  // window the user last brought to the front is the later; 0 for never.
  std::uint32_t pushed = 0;
};

class WindowPrograms {
 public:
  // The full path of a window's program, empty where it cannot be read: the seam for the reading.
  using Reader = std::function<std::wstring(HWND)>;

  explicit WindowPrograms(Reader reader = platform::process_name::image_path_of)
      : reader_(std::move(reader)) {}

  // The window's record, found out once for each window and process. A program that cannot be
  // read is remembered as such too.
  const WindowRecord& record_of(HWND window);
  // The file name of the window's program, from its record.
  const std::wstring& program_of(HWND window) { return record_of(window).program; }
  // The push took the window back down: it is the window of its program the user works with.
  void mark_pushed(HWND window);
  // The mark of the latest push, 0 for none since Start.
  std::uint32_t last_push() const { return pushes_; }
  // Windows that are gone are forgotten: a handle is used again for another window in time.
  void forget_gone();
  void clear() {
    known_.clear();
    pushes_ = 0;
  }
  std::size_t size() const { return known_.size(); }

 private:
  struct Known {
    HWND window;
    DWORD process;
    WindowRecord record;
  };
  WindowRecord find_out(HWND window) const;

  Known& known_of(HWND window);

  Reader reader_;
  std::vector<Known> known_;
  std::uint32_t pushes_ = 0;
};

}  // namespace lorvane::control
