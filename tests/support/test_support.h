#pragma once
// Shared helpers of the Windows tests: temporary folders, file bytes, Shift-JIS texts, waiting
// for a state by polling, and answering the program's message boxes as a user would.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "lorvane_harness.h"

namespace lorvane::test {

// Folders, file bytes, Shift-JIS texts, settings files and waiting by polling come from the
// support library that the bench programs and the tools use too.
using harness::file_exists;
using harness::ini_file_bytes;
using harness::pump_for;
using harness::pump_until;
using harness::read_bytes;
using harness::running_under_wine;
using harness::sjis;
using harness::TempFolder;
using harness::write_bytes;

// Holds a file open as another program may, sharing it only as asked: 0 locks it outright,
// FILE_SHARE_READ lets others read it but not write it.
class HeldFile {
 public:
  HeldFile(const std::wstring& path, DWORD share);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// The names in a folder, "." and ".." aside.
std::vector<std::wstring> names_in(const std::wstring& folder);

// Lines of an INI's bytes, CR LF or LF, without their ends.
std::vector<std::string> lines_of(const std::string& bytes);

// A message box seen and answered by MessageBoxAnswerer.
struct SeenBox {
  std::wstring title;
  std::wstring text;
  int answer;
};

// Watches, from a thread of its own, for message boxes (#32770) titled "Lorvane" and presses the
// next answer of its script (IDYES, IDNO, IDOK, IDCANCEL) in each, recording what it saw.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(std::vector<int> answers);
  ~MessageBoxAnswerer();
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;
  std::vector<SeenBox> seen() const;
  std::size_t answered() const { return answered_.load(); }

 private:
  void run();
  std::vector<int> answers_;
  std::vector<SeenBox> seen_;
  mutable CRITICAL_SECTION lock_;
  std::atomic<std::size_t> answered_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// The text of a message box's message (its static control).
std::wstring message_box_text(HWND box);

}  // namespace lorvane::test
