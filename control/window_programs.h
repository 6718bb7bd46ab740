#pragma once
// The program of each window that the control cycle has had to tell apart by its program,
// remembered for that window and its process: the idle raise asks again every second.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/process_name.h"

namespace lorvane::control {

class WindowPrograms {
 public:
  using Reader = std::function<std::wstring(HWND)>;

  explicit WindowPrograms(Reader reader = platform::process_name::program_of)
      : reader_(std::move(reader)) {}

  // The file name of the window's program, read once for each window and process; empty when it
  // cannot be read, which is remembered too.
  const std::wstring& program_of(HWND window);
  // Windows that are gone are forgotten: a handle is used again for another window in time.
  void forget_gone();
  void clear() { known_.clear(); }
  std::size_t size() const { return known_.size(); }

 private:
  struct Known {
    HWND window;
    DWORD process;
    std::wstring program;
  };
  Reader reader_;
  std::vector<Known> known_;
};

}  // namespace lorvane::control
