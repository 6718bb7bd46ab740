// Scratch folders, file bytes, paths, and settings files as the program reads them.
#include "harness/lorvane_harness.h"

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace lorvane::harness {
namespace {

std::string encode(UINT code_page, const std::wstring& text) {
  if (text.empty()) return {};
  int n = ::WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

platform::UniqueKernelHandle create_file(const std::wstring& path, DWORD access, DWORD share,
                                         DWORD disposition) {
  HANDLE file = ::CreateFileW(path.c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  return platform::UniqueKernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

}  // namespace

TempFolder::TempFolder(const std::wstring& tag) {
  wchar_t base[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, base);
  static std::atomic<unsigned> counter{0};
  do {
    path_ = std::wstring(base) + L"lorvane-" + tag + L"-" +
            std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
  } while (!::CreateDirectoryW(path_.c_str(), nullptr));
}

TempFolder::~TempFolder() {
  // SHFileOperation wants a double-NUL-terminated list.
  std::wstring from = path_ + L'\0';
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  ::SHFileOperationW(&op);
}

platform::UniqueKernelHandle open_file(const std::wstring& path, DWORD access, DWORD share) {
  return create_file(path, access, share, OPEN_EXISTING);
}

std::string read_bytes(const std::wstring& path) {
  platform::UniqueKernelHandle file =
      open_file(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
  if (!file) return {};
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
    bytes.append(chunk, got);
  }
  return bytes;
}

bool write_bytes(const std::wstring& path, const std::string& bytes) {
  platform::UniqueKernelHandle file = create_file(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

bool file_exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring folder_of(const std::wstring& path) {
  std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring file_name(const std::wstring& path) {
  std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring windows_path(std::wstring path) {
  if (!path.empty() && path[0] == L'/') {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    path = L"Z:" + path;
  }
  return path;
}

std::wstring through_root_drive(const std::wstring& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unix_name = reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unix_name == nullptr) return {};
  char* name = unix_name(path.c_str());
  if (name == nullptr) return {};
  std::wstring spelled(name, name + std::strlen(name));  // the test's paths are ASCII
  ::HeapFree(::GetProcessHeap(), 0, name);
  return windows_path(spelled);
}

std::string sjis(const std::wstring& text) { return encode(932, text); }

std::string utf8(const std::wstring& text) { return encode(CP_UTF8, text); }

std::string ini_file_bytes(const std::wstring& text) {
  std::wstring crlf;
  crlf.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) crlf += L'\r';
    crlf += text[i];
  }
  return sjis(crlf);
}

bool write_ini(const std::wstring& path, const std::wstring& text) {
  return write_bytes(path, ini_file_bytes(text));
}

std::string settings_text(const std::vector<std::wstring>& class_names, bool front_display_off) {
  std::wstring text = L"[Lorvane]\n";
  text += L"前面表示設定=" + std::wstring(front_display_off ? L"1" : L"0") + L"\n";
  text += L"登録数=" + std::to_wstring(class_names.size()) + L"\n";
  for (std::size_t k = 0; k <= class_names.size(); ++k) {
    text += L"クラス名" + std::to_wstring(k) + L"=" +
            (k < class_names.size() ? class_names[k] : std::wstring()) + L"\n";
  }
  return ini_file_bytes(text);
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

}  // namespace lorvane::harness
