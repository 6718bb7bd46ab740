#include "platform/file_probe.h"

#include <windows.h>

#include <shlobj.h>

#include <cstdint>
#include <cstring>

#include "platform/decimal.h"

namespace lorvane::platform::file_probe {
namespace {

// A call that fills a buffer with what it finds for the argument, and answers with the length it
// needs when the buffer is too small (the short and long path, an environment variable).
using FillCall = DWORD(WINAPI*)(const wchar_t* argument, wchar_t* buffer, DWORD size);

std::optional<std::wstring> filled(FillCall call, const wchar_t* argument) {
  std::wstring text(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD n = call(argument, text.data(), static_cast<DWORD>(text.size()));
    if (n == 0) return std::nullopt;
    if (n < text.size()) {
      text.resize(n);
      return text;
    }
    text.assign(n, L'\0');
  }
  return std::nullopt;
}

}  // namespace

FileOpen failed_open(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND: return FileOpen::absent;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return FileOpen::held;
    // A folder under the name is refused as well: without FILE_FLAG_BACKUP_SEMANTICS it does not
    // open.
    case ERROR_ACCESS_DENIED: return FileOpen::refused;
    default: return FileOpen::unavailable;
  }
}

FileOpen open_for_read_write(const std::wstring& path) {
  // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open (access denied), and so counts as
  // refused.
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return failed_open(::GetLastError());
  // A device or a pipe under that name is no settings file either.
  return ::GetFileType(file.get()) == FILE_TYPE_DISK ? FileOpen::opens : FileOpen::refused;
}

HANDLE open_for_reading(const std::wstring& path, DWORD& error) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  error = file != INVALID_HANDLE_VALUE ? ERROR_SUCCESS : ::GetLastError();
  return file;
}

ReadHold::ReadHold(const std::wstring& path, const ReadOpenCall& open) {
  DWORD error = ERROR_SUCCESS;
  file_.reset(open(path, error));
  if (!file_) {
    // A missing folder on the way is as absent as a missing file.
    state_ = error == ERROR_PATH_NOT_FOUND ? FileOpen::absent : failed_open(error);
  } else if (::GetFileType(file_.get()) != FILE_TYPE_DISK) {
    state_ = FileOpen::refused;
  } else {
    // The open proves only that the file opened: another program may lock a range of it, and the
    // profile functions' reads then find nothing. A few bytes read here meet such a lock.
    char head[16];
    DWORD got = 0;
    state_ = ::ReadFile(file_.get(), head, sizeof head, &got, nullptr)
                 ? FileOpen::opens
                 : failed_open(::GetLastError());
  }
}

bool folder_takes_new_file(const std::wstring& folder) {
  const std::wstring stem = folder + L"\\Lorvane-probe-" +
                            decimal_text(static_cast<std::int32_t>(::GetCurrentProcessId())) + L"-";
  const DWORD start = ::GetTickCount();
  for (DWORD n = 0; n < 100; ++n) {
    std::wstring name = stem + decimal_text(static_cast<std::int32_t>(start + n)) + L".tmp";
    // Deleted by the system as it is closed: a probe never stays behind.
    UniqueFile probe(::CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (probe) return true;
    if (::GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

std::optional<FolderIdentity> folder_identity(const std::wstring& folder) {
  // Only the attributes are asked for, with every sharing allowed: nobody is kept from the folder.
  UniqueFile handle(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return std::nullopt;
  // Windows 7 has the function but not the class, and fails: the 64-bit index stands there.
  FILE_ID_INFO id_info;
  const bool has_id_info =
      ::GetFileInformationByHandleEx(handle.get(), FileIdInfo, &id_info, sizeof id_info) != 0;
  return identity_of(has_id_info ? &id_info : nullptr, info);
}

std::optional<FolderIdentity> identity_of(const FILE_ID_INFO* id_info,
                                          const BY_HANDLE_FILE_INFORMATION& info) {
  FolderIdentity identity{};
  if (id_info != nullptr) {
    identity.volume_serial = id_info->VolumeSerialNumber;
    std::memcpy(&identity.id_low, id_info->FileId.Identifier, sizeof identity.id_low);
    std::memcpy(&identity.id_high, id_info->FileId.Identifier + sizeof identity.id_low,
                sizeof identity.id_high);
  } else {
    identity.volume_serial = info.dwVolumeSerialNumber;
    identity.id_low = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  }
  if (identity.id_low == 0 && identity.id_high == 0) return std::nullopt;
  return identity;
}

std::optional<std::wstring> short_path(const std::wstring& path) {
  return filled(::GetShortPathNameW, path.c_str());
}

std::optional<std::wstring> long_path(const std::wstring& path) {
  return filled(::GetLongPathNameW, path.c_str());
}

std::optional<std::wstring> application_data_folder() {
  wchar_t folder[MAX_PATH] = {};
  if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                   SHGFP_TYPE_CURRENT, folder)) &&
      folder[0] != L'\0') {
    return std::wstring(folder);
  }
  return filled(::GetEnvironmentVariableW, L"APPDATA");
}

void make_folder(const std::wstring& folder) { ::CreateDirectoryW(folder.c_str(), nullptr); }

CopyResult copy_file(const std::wstring& from, const std::wstring& to, bool replace) {
  if (!::CopyFileW(from.c_str(), to.c_str(), replace ? FALSE : TRUE)) {
    DWORD error = ::GetLastError();
    if (!replace && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS))
      return CopyResult::copied;
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? CopyResult::in_use
                                                                             : CopyResult::failed;
  }
  DWORD attributes = ::GetFileAttributesW(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    ::SetFileAttributesW(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  return CopyResult::copied;
}

std::optional<std::uint64_t> last_written(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
  return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
         data.ftLastWriteTime.dwLowDateTime;
}

}  // namespace lorvane::platform::file_probe
