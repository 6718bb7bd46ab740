#pragma once
// The main window's settings file for the run: the start-up load, which waits while another
// program holds the file, Save and what the status line says of it, and the exit save, whose
// failure asks the user whether to try again.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/controls.h"
#include "platform/file_probe.h"
#include "settings/settings_file.h"

namespace lorvane::app {

// The status line while the start-up waits for the settings file, which another program holds or
// which cannot be read for another reason.
inline constexpr std::wstring_view settings_in_use_text =
    L"設定ファイルを他のプログラムが使用中です。使い終わるのを待っています。";
inline constexpr std::wstring_view settings_unreadable_text =
    L"設定ファイルを読み込めません。読み込めるようになるのを待っています。";
// The status line after a Save that failed, by why it failed.
inline constexpr std::wstring_view save_in_use_text =
    L"設定を保存できませんでした。設定ファイルを他のプログラムが使用中です。";
inline constexpr std::wstring_view save_refused_text =
    L"設定を保存できませんでした。設定ファイルへの書き込みが拒否されました。";
// Added to the reason in the box of an exit save that failed.
inline constexpr std::wstring_view exit_save_choice_text =
    L"\n\n「再試行」でもう一度保存します。「キャンセル」で保存せずに終了します。";
// The status line of a run whose copy in the application data could not be made: the list is read
// from the file beside the executable, and nothing is saved until the next start.
inline constexpr std::wstring_view settings_copy_failed_text =
    L"設定ファイルをコピーできませんでした。元の設定を読み込みましたが、今回は保存しません。";
// The status line of a run whose copy could not be made and whose file beside the executable
// refuses its reader for good (access denied): the run reads this user's own copy in the
// application data, left by an earlier run, or starts empty where there is none, and writes
// nothing.
inline constexpr std::wstring_view settings_original_refused_text =
    L"設定ファイルをコピーできず、元の設定ファイルの読み込みも拒否されました。"
    L"このユーザー専用のファイルの設定を読み込みましたが、今回は保存しません。";
inline constexpr std::wstring_view settings_original_refused_empty_text =
    L"設定ファイルをコピーできず、元の設定ファイルの読み込みも拒否されました。"
    L"空の一覧で始めますが、今回は保存しません。";
// The status line of a run that keeps its own settings while another user runs this copy.
inline constexpr std::wstring_view other_session_text =
    L"他のユーザーがこの Lorvane を使用中です。設定はこのユーザー専用のファイルに保存します。";
// The status line of a start that takes the file beside the executable again, once the other
// user's copy has gone, while this user's own file, kept meanwhile, holds names the list lacks.
inline std::wstring own_settings_left_text(const std::wstring& own_file) {
  return L"他のユーザーの使用中に保存した設定は、" + own_file + L" に残っています。";
}
// While the start-up waits for the settings file, it tries again at this interval: nothing tells
// when another program lets go of a file.
inline constexpr UINT settings_retry_interval_ms = 1000;

// The settings file of the run, and how it is reached.
struct SettingsSource {
  std::wstring path;
  // The file beside the executable that path (in the application data) is a copy of: copied, or
  // refreshed, by the start-up load before it reads.
  std::optional<std::wstring> copy_from;
  platform::file_probe::CopyCall copy = platform::file_probe::copy_file;
  // The start-up load's open for reading; a test makes it refuse as a file can on Windows.
  platform::file_probe::ReadOpenCall read_open = platform::file_probe::open_for_reading;
  // A copy in another session runs on the file beside the executable: path is this user's own.
  bool other_session = false;
  // This user's own file, kept while another user's copy ran on the file beside the executable
  // that path is again: the status line says where it stays.
  std::optional<std::wstring> own_file_passed_over;
  std::size_t key_limit = settings::key_by_key_limit;
};

class SettingsSession {
 public:
  // The window owns the retry timer and the exit save's box.
  SettingsSession(HWND window, UINT_PTR retry_timer_id, SettingsSource source);

  enum class Load {
    waiting,            // not read yet: the status line says why, and the timer tries again
    loaded,             // read at the first try
    loaded_after_wait,  // read at last, after the status line said why it waited
  };
  // The start-up load into the option and the list; a file that cannot be read yet is tried
  // again at each WM_TIMER of the retry timer, for which retry_due() answers.
  Load load(platform::CheckBox& front_display_option, platform::ListBox& target_list,
            platform::StatusLine status);
  bool retry_due() const { return retry_timer_.running(); }
  // Once loaded and control started: a run that saves nowhere, or to this user's own file, says
  // so on the status line, and so does one that passes over an own file holding names the list
  // lacks.
  void tell_where_saved(const platform::ListBox& target_list, platform::StatusLine status) const;
  // Save; a failure takes the status line, and the next Save that works gives back what it said.
  void save(const platform::ListBox& target_list, platform::StatusLine status);
  // The exit save. When the user closes the window, a failed save asks whether to try again; at
  // the end of the session nothing can be asked. Nothing is written over a file that was never
  // read, nor by a run that writes nowhere.
  void exit_save(const platform::ListBox& target_list,
                 const platform::CheckBox& front_display_option, bool may_ask);
  // The exit save's box is open.
  bool asking() const { return exit_box_open_; }
  // The session ends while the exit save's box asks whether to try again.
  void session_end_while_asking(const platform::ListBox& target_list,
                                const platform::CheckBox& front_display_option);
  // Whether the start-up load has read the file; until then nothing writes it.
  bool loaded() const { return loaded_; }
  const std::wstring& path() const { return source_.path; }

 private:
  // The start-up load's read of the file of the run, or of the file beside the executable in a
  // run whose copy failed.
  settings::LoadResult read(platform::CheckBox& front_display_option,
                            platform::ListBox& target_list);

  HWND window_;
  platform::Timer retry_timer_;
  SettingsSource source_;
  // What the status line said before a failed Save took it, for the next Save that works.
  std::wstring status_before_failure_;
  // The exit save writes nothing before the start-up load has read the file: a session that ends
  // while the shell keeps the start-up waiting must not save an empty list over the stored one.
  bool loaded_ = false;
  // The copy in the application data is made (or was not needed); until then the load waits.
  bool copied_ = false;
  // The copy failed for good: the list came from the file beside the executable, and this run
  // writes nowhere, so that neither file is written over with what the other should hold.
  bool read_only_ = false;
  // In such a run, the file beside the executable refused its reader for good as well: the list
  // comes from this user's own copy, if there is one.
  bool original_refused_ = false;
  // What a run that writes nowhere says of it, once loaded and at each Save.
  std::wstring_view read_only_text_ = settings_copy_failed_text;
  // The failed exit save's box is open; the session ended meanwhile, and the save was made then.
  bool exit_box_open_ = false;
  bool saved_at_session_end_ = false;
};

}  // namespace lorvane::app
