#include "test_support.h"

namespace lorvane::test {

HeldFile::HeldFile(const std::wstring& path, DWORD share)
    : handle_(
          ::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}

HeldFile::~HeldFile() {
  if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
}

std::vector<std::wstring> names_in(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

std::vector<std::string> lines_of(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

std::wstring message_box_text(HWND box) {
  // The message is the static control with id 0xFFFF.
  HWND text = ::GetDlgItem(box, 0xFFFF);
  if (text == nullptr) return {};
  wchar_t buffer[1024] = {};
  ::GetWindowTextW(text, buffer, 1024);
  return buffer;
}

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> answers) : answers_(std::move(answers)) {
  ::InitializeCriticalSection(&lock_);
  thread_ = std::thread([this] { run(); });
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  stop_ = true;
  thread_.join();
  ::DeleteCriticalSection(&lock_);
}

std::vector<SeenBox> MessageBoxAnswerer::seen() const {
  ::EnterCriticalSection(&lock_);
  std::vector<SeenBox> copy = seen_;
  ::LeaveCriticalSection(&lock_);
  return copy;
}

void MessageBoxAnswerer::run() {
  HWND last = nullptr;
  while (!stop_) {
    HWND box = ::FindWindowW(L"#32770", L"Lorvane");
    std::size_t next = answered_.load();
    if (box != nullptr && box != last && ::IsWindowVisible(box) && next < answers_.size()) {
      int answer = answers_[next];
      SeenBox seen{L"Lorvane", message_box_text(box), answer};
      ::EnterCriticalSection(&lock_);
      seen_.push_back(seen);
      ::LeaveCriticalSection(&lock_);
      last = box;
      ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
      answered_ = next + 1;
    } else if (box == nullptr) {
      last = nullptr;
    }
    ::Sleep(20);
  }
}

}  // namespace lorvane::test
