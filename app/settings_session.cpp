#include "app/settings_session.h"

#include "app/settings_home.h"
#include "app/window_names.h"
#include "platform/message_box.h"

namespace lorvane::app {

SettingsSession::SettingsSession(HWND window, UINT_PTR retry_timer_id, SettingsSource source)
    : window_(window), retry_timer_(window, retry_timer_id), source_(std::move(source)) {}

SettingsSession::Load SettingsSession::load(platform::CheckBox& front_display_option,
                                            platform::ListBox& target_list,
                                            platform::StatusLine status) {
  settings::LoadResult result = settings::LoadResult::loaded;
  if (source_.copy_from && !copied_) {
    // A copy that fails is never read as an empty list: the exit save would write that list, and
    // the copy, newer from then on, would never be refreshed again.
    switch (copy_settings_file(*source_.copy_from, source_.path, source_.copy)) {
      case platform::file_probe::CopyResult::copied: copied_ = true; break;
      case platform::file_probe::CopyResult::in_use: result = settings::LoadResult::in_use; break;
      case platform::file_probe::CopyResult::failed: copied_ = read_only_ = true; break;
    }
  }
  if (result == settings::LoadResult::loaded) result = read(front_display_option, target_list);
  if (result != settings::LoadResult::loaded) {
    status.show(result == settings::LoadResult::in_use ? settings_in_use_text
                                                       : settings_unreadable_text);
    retry_timer_.set_interval(settings_retry_interval_ms);
    retry_timer_.set_enabled(true);
    return Load::waiting;
  }
  loaded_ = true;
  if (!retry_timer_.enabled()) return Load::loaded;
  retry_timer_.set_enabled(false);
  return Load::loaded_after_wait;
}

settings::LoadResult SettingsSession::read(platform::CheckBox& front_display_option,
                                           platform::ListBox& target_list) {
  if (read_only_ && !original_refused_) {
    settings::LoadResult result = settings::start_up_load(front_display_option, target_list,
                                                          profile_reachable(*source_.copy_from),
                                                          source_.key_limit, source_.read_open);
    if (result != settings::LoadResult::refused) return result;
    // The file beside the executable, read because the copy failed, refuses its reader for good
    // (access denied): waiting for it would never end. The copy this user already has is read
    // instead, and only read, as its original could not refresh it; where there is none, the run
    // starts empty.
    original_refused_ = true;
  }
  settings::LoadResult result = settings::start_up_load(
      front_display_option, target_list, source_.path, source_.key_limit, source_.read_open);
  // The run's own file refused is waited for: it is the one the run would write. In a run that
  // writes nothing, nothing is left to wait for.
  if (!original_refused_) return result;
  const bool refused = result == settings::LoadResult::refused;
  read_only_text_ = !refused && platform::file_probe::last_written(source_.path)
                        ? settings_original_refused_text
                        : settings_original_refused_empty_text;
  return refused ? settings::LoadResult::loaded : result;
}

void SettingsSession::tell_where_saved(const platform::ListBox& target_list,
                                       platform::StatusLine status) const {
  if (read_only_) status.show(read_only_text_);
  if (source_.other_session) status.show(other_session_text);
  // Only read: an own file whose names the list holds too loses nothing, and goes unmentioned.
  if (source_.own_file_passed_over &&
      settings::holds_names_beyond(profile_reachable(*source_.own_file_passed_over), target_list)) {
    status.show(own_settings_left_text(*source_.own_file_passed_over));
  }
}

void SettingsSession::save(const platform::ListBox& target_list, platform::StatusLine status) {
  if (!loaded_) return;
  // Nothing is written in such a run; Save says so, and why, again.
  if (read_only_) {
    status.show(read_only_text_);
    return;
  }
  const std::wstring shown = status.text();
  const bool failure_shown = shown == save_in_use_text || shown == save_refused_text;
  switch (settings::save(target_list, source_.path, source_.key_limit)) {
    case settings::SaveResult::saved:
      if (failure_shown) status.show(status_before_failure_);
      return;
    case settings::SaveResult::in_use:
      if (!failure_shown) status_before_failure_ = shown;
      status.show(save_in_use_text);
      return;
    case settings::SaveResult::refused:
      if (!failure_shown) status_before_failure_ = shown;
      status.show(save_refused_text);
      return;
  }
}

void SettingsSession::exit_save(const platform::ListBox& target_list,
                                const platform::CheckBox& front_display_option, bool may_ask) {
  retry_timer_.set_enabled(false);
  while (loaded_ && !read_only_) {
    settings::SaveResult result =
        settings::exit_save(target_list, front_display_option, source_.path, source_.key_limit);
    if (result == settings::SaveResult::saved || !may_ask) break;
    std::wstring text(result == settings::SaveResult::in_use ? save_in_use_text
                                                             : save_refused_text);
    text += exit_save_choice_text;
    exit_box_open_ = true;
    const int answer = platform::ask(window_, text, window_caption, MB_RETRYCANCEL);
    exit_box_open_ = false;
    // The session ended while the box was open, and saved then.
    if (saved_at_session_end_ || answer != IDRETRY) break;
  }
}

void SettingsSession::session_end_while_asking(const platform::ListBox& target_list,
                                               const platform::CheckBox& front_display_option) {
  // The user, asked whether to try again, has no say once the session ends: the save is tried
  // once more, silently, as any session end saves, and the box goes. The exit save, whose box it
  // was, then goes on.
  if (saved_at_session_end_) return;
  saved_at_session_end_ = true;
  settings::exit_save(target_list, front_display_option, source_.path, source_.key_limit);
  platform::cancel_asks(window_);
}

}  // namespace lorvane::app
