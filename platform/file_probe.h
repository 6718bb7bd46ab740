#pragma once
// Where a settings file can live: whether a file opens or a folder takes a new file, found out by
// trying; the short form of a path; the user's application-data folder; and the folder and copy
// that a file there needs first.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/unique_handles.h"

namespace lorvane::platform::file_probe {

enum class FileOpen { opens, absent, held, refused, unavailable };

// What a failed open says of the file: held while another program has it open without sharing,
// or locked; absent when nothing stands under that name; refused for good when access is denied
// (a file not writable, a folder of that name, a folder that cannot be read); unavailable for any
// other failure, which may pass by itself as a held file does (a share not yet connected at
// logon, a drive not ready).
FileOpen failed_open(DWORD error);

// Opens the file for reading and writing with others allowed to read and write, and closes it
// again: opens when it is a file that does, else as failed_open says.
FileOpen open_for_read_write(const std::wstring& path);

// The open; tests put one in its place that finds the file refused, as a read-only file is on
// Windows (Wine lets root write such a file).
using OpenCall = std::function<FileOpen(const std::wstring& path)>;

// Opens the file for reading, with others allowed to read and write it: the handle, or an invalid
// one with the error.
HANDLE open_for_reading(const std::wstring& path, DWORD& error);
// The open for reading; tests put one in its place that is refused as a file may refuse its
// reader on Windows (Wine lets root read anything).
using ReadOpenCall = std::function<HANDLE(const std::wstring& path, DWORD& error)>;

// The file open for reading, with others allowed to read and write it but not to delete it or to
// take it for themselves: while this is held, what is read from it comes from the file, and a
// read that finds nothing found nothing there. Its first bytes are read through the hold: a file
// another program has locked (a range of it) is held too, not open.
class ReadHold {
 public:
  explicit ReadHold(const std::wstring& path, const ReadOpenCall& open = open_for_reading);
  ReadHold(const ReadHold&) = delete;
  ReadHold& operator=(const ReadHold&) = delete;
  // opens while the file is held open and its first bytes read; refused for a folder or a device
  // that opens under the name; else as failed_open says.
  FileOpen state() const { return state_; }

 private:
  UniqueFile file_;
  FileOpen state_ = FileOpen::refused;
};

// Whether a new file can be made in the folder: a probe file of a name no one else uses is
// created and deleted again.
bool folder_takes_new_file(const std::wstring& folder);

// What tells a folder from every other, whatever path reaches it (a mapped drive or its UNC path,
// a subst drive, a junction, the "\\?\" form): its volume's serial number and its id there.
struct FolderIdentity {
  std::uint64_t volume_serial;
  std::uint64_t id_high;
  std::uint64_t id_low;

  bool operator==(const FolderIdentity&) const = default;
};
// The folder's identity, or none when it cannot be opened or read, or is no folder.
std::optional<FolderIdentity> folder_identity(const std::wstring& folder);
// The identity from what the file system answers: the 128-bit id and 64-bit serial number of
// FileIdInfo where it answers for that class (Windows 8 and later; ReFS's 64-bit index is not
// unique), else the 64-bit index and 32-bit serial number (Windows 7). None where the id is 0,
// as some network shares report it for every file: it would name every folder there alike.
std::optional<FolderIdentity> identity_of(const FILE_ID_INFO* id_info,
                                          const BY_HANDLE_FILE_INFORMATION& info);

// The path with every component in its short (8.3) form, or none when the platform cannot give
// one; a component that has no short name stays as it is.
std::optional<std::wstring> short_path(const std::wstring& path);

// The path with every component in its long form, or none when it does not exist.
std::optional<std::wstring> long_path(const std::wstring& path);

// The user's roaming application-data folder, as the shell or else %APPDATA% names it.
std::optional<std::wstring> application_data_folder();

// Makes the folder unless it exists. A failure is not reported here: the writes into it fail as
// well, and a failed save is told.
void make_folder(const std::wstring& folder);

// What became of a copy: made (or, unless it was to replace one, found made already), in use
// while another program held either file (a sharing or a lock violation), or failed for another
// reason (access denied, a full disc, the original gone).
enum class CopyResult { copied, in_use, failed };

// Copies the file, over the target when replace is set, else unless the target exists. The copy
// is the program's own to write, so a read-only mark of the original is not carried over.
CopyResult copy_file(const std::wstring& from, const std::wstring& to, bool replace);
// The copy; tests put one in its place that fails as a copy fails on Windows (Wine lets root copy
// anything).
using CopyCall =
    std::function<CopyResult(const std::wstring& from, const std::wstring& to, bool replace)>;

// The time the file was last written, in 100-ns units since 1601, or none when it cannot be read
// or is no file (a folder of that name).
std::optional<std::uint64_t> last_written(const std::wstring& path);

}  // namespace lorvane::platform::file_probe
