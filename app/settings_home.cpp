#include "app/settings_home.h"

#include <cstdint>

#include "app/window_names.h"
#include "platform/decimal.h"
#include "platform/file_probe.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace lorvane::app {
namespace {

constexpr DWORD poll_ms = 50;

// 64-bit FNV-1a over the UTF-16 units: a path can be longer than an object name may be.
std::uint64_t fnv1a(const std::wstring& text) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (wchar_t c : text) {
    for (int shift = 0; shift < 16; shift += 8) {
      hash ^= (static_cast<std::uint16_t>(c) >> shift) & 0xFFu;
      hash *= 0x100000001b3ull;
    }
  }
  return hash;
}

std::wstring hex(std::uint64_t value) {
  std::wstring digits(16, L'0');
  for (int i = 15; i >= 0; --i, value >>= 4)
    digits[i] = L"0123456789abcdef"[static_cast<unsigned>(value & 0xF)];
  return digits;
}

std::wstring window_slot_name(const std::wstring& name) { return name + L"-window"; }

// The path in the one spelling that every spelling of it shares: the long form of the nearest
// folder that exists (a first run's folder in the application data may not yet), in upper case.
// A drive ("C:") alone is no folder: it would name the drive's current folder.
std::wstring normalised(const std::wstring& settings_path) {
  std::wstring path = settings_path;
  for (std::size_t slash = path.find_last_of(L'\\'); slash != std::wstring::npos && slash > 2;
       slash = path.find_last_of(L'\\', slash - 1)) {
    if (auto folder = platform::file_probe::long_path(path.substr(0, slash))) {
      path = *folder + path.substr(slash);
      break;
    }
  }
  return platform::running_copy::upper_case(path);
}

// What a claim is named from: the identity of the file's folder with the file's name in upper
// case, the same under every path that reaches the folder (a mapped drive and its UNC path, a
// subst drive, a junction); the file's own identity would not do, as a first run has no file yet
// and editors replace files. Where the folder cannot be opened, its normalised path.
std::wstring claim_text(const std::wstring& settings_path) {
  std::size_t slash = settings_path.find_last_of(L'\\');
  if (slash != std::wstring::npos) {
    std::wstring folder = settings_path.substr(0, slash);
    // "C:" alone would name the drive's current folder, "\\?\C:" the volume: the root is meant.
    if (!folder.empty() && folder.back() == L':') folder += L'\\';
    if (auto id = platform::file_probe::folder_identity(folder)) {
      // No path begins with "*": an identity never meets a path's text.
      return L"*" + hex(id->volume_serial) + hex(id->id_high) + hex(id->id_low) + L"\\" +
             platform::running_copy::upper_case(settings_path.substr(slash + 1));
    }
  }
  return normalised(settings_path);
}

// The claim's name and the bring-back message's key, both of a claim's text.
std::wstring name_of(const std::wstring& path, const wchar_t* name_space = L"Local\\") {
  // Per session: the copies that would share the file are the user's.
  return name_space + (L"Lorvane-" + hex(fnv1a(path))) + L"-" +
         platform::decimal_text(static_cast<std::int32_t>(path.size()));
}

CopyKey key_of(const std::wstring& path) {
  std::uint64_t hash = fnv1a(path);
  return {static_cast<WPARAM>(hash & 0xFFFFFFFFu), static_cast<LPARAM>(hash >> 32)};
}

settings::FolderNames names_of(const std::wstring& folder) {
  settings::FolderNames names{folder, platform::text::ansi_can_hold(folder), std::nullopt, false};
  if (!names.ansi_holds_path) {
    names.short_path = platform::file_probe::short_path(folder);
    names.ansi_holds_short_path =
        names.short_path && platform::text::ansi_can_hold(*names.short_path);
  }
  return names;
}

// Found out by trying, never from attributes: a read-only mark says nothing under a user who may
// write anyway, and nothing of a file another program holds locked.
// A file that another program holds (a scanner, a backup, a sync client) is in use, and stays
// the file of the run: the load waits for it. Only a file that is refused (access denied,
// read-only) or is a folder sends the settings away.
settings::BesideFile try_beside(const std::wstring& folder,
                                const platform::file_probe::OpenCall& open) {
  switch (open(settings::settings_path(folder))) {
    case platform::file_probe::FileOpen::opens:
    case platform::file_probe::FileOpen::held: return settings::BesideFile::opens;
    case platform::file_probe::FileOpen::absent:
      return platform::file_probe::folder_takes_new_file(folder) ? settings::BesideFile::can_be_made
                                                                 : settings::BesideFile::unusable;
    case platform::file_probe::FileOpen::refused:
    case platform::file_probe::FileOpen::unavailable: break;
  }
  return settings::BesideFile::unusable;
}

}  // namespace

std::wstring copy_name(const std::wstring& settings_path) {
  return name_of(claim_text(settings_path));
}

std::wstring machine_copy_name(const std::wstring& settings_path) {
  return name_of(claim_text(settings_path), L"Global\\");
}

std::wstring folder_claim_path(const std::wstring& exe_folder) {
  if (!exe_folder.empty() && exe_folder.back() == L'\\') return exe_folder;
  return exe_folder + L"\\";
}

CopyKey copy_key(const std::wstring& settings_path) { return key_of(claim_text(settings_path)); }

RunningCopyClaim::RunningCopyClaim(const std::wstring& claimed_path,
                                   const platform::running_copy::CreateMutexCall& create_mutex,
                                   DWORD patience_ms)
    : path_(claim_text(claimed_path)),
      name_(name_of(path_)),
      key_(key_of(path_)),
      patience_ms_(patience_ms),
      mutex_(name_, create_mutex) {}

bool RunningCopyClaim::take() {
  using platform::running_copy::MutexTake;
  // A copy that is still starting publishes its window a moment later; one that ends meanwhile
  // leaves the file to this one.
  const UINT bring_back_message = ::RegisterWindowMessageW(bring_back_message_name);
  const DWORD start = ::GetTickCount();
  bool denied = false;
  while (::GetTickCount() - start < patience_ms_) {
    MutexTake taken = mutex_.take(poll_ms);
    if (taken == MutexTake::taken) {
      slot_.emplace(window_slot_name(name_));
      return true;
    }
    denied = taken == MutexTake::denied;
    // A window that goes before it answers belonged to a copy that is ending: wait for the file.
    HWND running = platform::running_copy::published_window(window_slot_name(name_));
    if (running != nullptr &&
        platform::running_copy::bring_back(running, bring_back_message, key_.low, key_.high)) {
      return false;
    }
    if (denied) {
      // A copy that runs as administrator keeps its slot from us as well, but its main window
      // takes the message (it lets it through) and answers only for its own file.
      if (platform::running_copy::bring_back_any(main_window_class, bring_back_message, key_.low,
                                                 key_.high)) {
        return false;
      }
      ::Sleep(poll_ms);
    }
  }
  // A copy holds the file but shows no window: leave the file to it all the same. The user, who
  // started this one, learns why nothing came up when the copy is out of our reach.
  if (denied) platform::ask(nullptr, runs_as_administrator_text, window_caption, MB_OK);
  return false;
}

void RunningCopyClaim::publish(HWND main_window) {
  if (slot_) slot_->publish(main_window);
}

settings::SettingsChoice find_settings_file(
    const std::wstring& exe_folder,
    const std::function<std::optional<std::wstring>()>& app_data_folder,
    const platform::file_probe::OpenCall& open) {
  settings::SettingsPlaces places;
  places.exe_folder = exe_folder;
  places.exe_folder_ansi = settings::ansi_reachable(names_of(exe_folder));
  if (places.exe_folder_ansi) places.beside = try_beside(*places.exe_folder_ansi, open);
  if (places.beside == settings::BesideFile::unusable) {
    if (auto root = app_data_folder())
      places.app_data_ansi = settings::ansi_reachable(names_of(*root));
  }
  return settings::choose_settings_file(places);
}

void make_settings_folder(const settings::SettingsChoice& choice) {
  if (choice.folder_to_make) platform::file_probe::make_folder(*choice.folder_to_make);
}

platform::file_probe::CopyResult copy_settings_file(const std::wstring& from,
                                                    const std::wstring& to,
                                                    const platform::file_probe::CopyCall& copy) {
  // A copy left by an earlier run that had to come here is out of date once the file beside the
  // executable has been written since (by a run that could write there, or by hand). One that is
  // not is not copied at all: a scanner holding the original then keeps nobody waiting. Where no
  // file lies beside the executable (a first run, or a folder of that name), there is nothing to
  // copy, and the run starts from the copy as it is, or empty.
  auto original = platform::file_probe::last_written(from);
  if (!original) return platform::file_probe::CopyResult::copied;
  if (auto copy_written = platform::file_probe::last_written(to)) {
    if (!settings::written_later(*original, *copy_written))
      return platform::file_probe::CopyResult::copied;
    return copy(from, to, true);
  }
  return copy(from, to, false);
}

CopyClaims::CopyClaims(platform::running_copy::CreateMutexCall create_mutex)
    : create_mutex_(std::move(create_mutex)) {}

std::wstring profile_reachable(const std::wstring& settings_file) {
  std::size_t slash = settings_file.find_last_of(L'\\');
  if (slash == std::wstring::npos) return settings_file;
  auto folder = settings::ansi_reachable(names_of(settings_file.substr(0, slash)));
  return folder ? *folder + settings_file.substr(slash) : settings_file;
}

std::optional<SettingsHome> CopyClaims::take(
    const std::wstring& exe_folder,
    const std::function<std::optional<std::wstring>()>& app_data_folder) {
  // A second start of the same executable brings the running copy back, whichever settings file
  // it would take, before it tries any file.
  folder_.emplace(folder_claim_path(exe_folder), create_mutex_);
  if (!folder_->take()) return std::nullopt;
  // One settings file for the whole run: the start-up load, Save and the exit save all use it.
  settings::SettingsChoice choice = find_settings_file(exe_folder, app_data_folder);
  if (!claim_settings_file(choice)) return std::nullopt;
  // Another user of this machine (fast user switching, a remote session) may run this copy on the
  // file beside it: that copy's claims live in its own session. The file is claimed machine-wide
  // as well, without a wait, as the bring-back message does not cross sessions either. A run that
  // keeps its settings in the application data only reads the file beside the executable, to copy
  // it: it claims nothing there, so that every user of an install the users cannot write starts
  // from the list it holds.
  bool other_session = false;
  std::optional<std::wstring> passed_over;
  if (!choice.copy_from) {
    machine_.emplace(machine_copy_name(settings::settings_path(exe_folder)), create_mutex_);
  }
  if (machine_ && machine_->take(0) == platform::running_copy::MutexTake::taken) {
    // The file beside the executable is the one this folder's users share: once the other user's
    // copy has gone, it is this run's list again, and an own file this user kept meanwhile is
    // neither read as the list nor written over (nor merged: which list is right is the user's
    // to say). The run says where it stays.
    if (std::optional<std::wstring> root = app_data_folder()) {
      std::wstring own = settings::own_settings_file(*root).path;
      if (platform::file_probe::last_written(own)) passed_over = std::move(own);
    }
  } else if (machine_) {
    std::optional<std::wstring> root = app_data_folder();
    std::optional<std::wstring> reached;
    if (root) reached = settings::ansi_reachable(names_of(*root));
    if (reached) {
      // This user's own file, never copied nor refreshed from the one the other user writes.
      choice = settings::own_settings_file(*reached);
      other_session = true;
      if (!claim_settings_file(choice)) return std::nullopt;
    }
  }
  return SettingsHome{exe_folder,     choice.path,   choice.copy_from,      file_->key(),
                      folder_->key(), other_session, std::move(passed_over)};
}

bool CopyClaims::claim_settings_file(const settings::SettingsChoice& choice) {
  // The file's one-copy name is that of its folder's long path: the folder comes first, so that
  // a first run in the application data and a start a moment later take the same name.
  make_settings_folder(choice);
  // A second start for the same file brings the running copy back and leaves the file alone.
  file_.emplace(choice.path, create_mutex_);
  return file_->take();
}

void CopyClaims::publish(HWND main_window) {
  if (folder_) folder_->publish(main_window);
  if (file_) file_->publish(main_window);
}

}  // namespace lorvane::app
