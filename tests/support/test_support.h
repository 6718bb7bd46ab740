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

namespace lorvane::test {

// A fresh, empty folder under the temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

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

std::string read_bytes(const std::wstring& path);
void write_bytes(const std::wstring& path, const std::string& bytes);
bool file_exists(const std::wstring& path);

// The text in code page 932, as the settings file holds it.
std::string sjis(const std::wstring& text);

// Lines of an INI's bytes, CR LF or LF, without their ends.
std::vector<std::string> lines_of(const std::string& bytes);

// Handles this thread's messages while it waits; true as soon as the condition holds.
bool pump_until(const std::function<bool()>& condition,
                std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Handles this thread's messages for a while (to show that something does NOT happen).
void pump_for(std::chrono::milliseconds duration);

// Whether we run under Wine (some cases differ from Windows and say so where they do).
bool running_under_wine();

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
