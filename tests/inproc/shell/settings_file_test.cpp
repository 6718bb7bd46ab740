// The settings file as the real main window reads and writes it: start-up load, Save and the exit
// save, checked against the exact bytes the profile functions leave on disk.
#include "settings/settings_file.h"

#include <atomic>
#include <thread>
#include "app/main_window.h"
#include "app/settings_home.h"
#include "control/control_cycle.h"
#include "main_window_fixture.h"
#include "platform/file_probe.h"
#include "platform/text.h"

namespace lorvane::test {
namespace {

using Items = std::vector<std::wstring>;

class SettingsFileTest : public BothSettingsPathsTest {};

TEST_P(SettingsFileTest, FirstRunStartsEmptyWithTheHintAndTheExitCreatesTheFile) {
  ASSERT_FALSE(file_exists(ini_path()));
  start();
  EXPECT_EQ(context().target_list.count(), 0);
  EXPECT_FALSE(context().front_display_option.ticked());
  EXPECT_EQ(context().front_display_option.caption(), control::first_use_hint);
  EXPECT_EQ(context().start_stop_button.caption(), L"開始");
  EXPECT_FALSE(context().control_timer.enabled());
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_FALSE(::IsIconic(hwnd()));
  EXPECT_FALSE(::IsZoomed(hwnd()));
  // Nothing is written before the first Save or exit.
  EXPECT_FALSE(file_exists(ini_path()));
  close();
  EXPECT_EQ(ini_bytes(), ini_file_bytes(L"[Lorvane]\n登録数=0\nクラス名0=\n前面表示設定=0\n"));
  // And the next start finds the empty list it left.
  start();
  EXPECT_EQ(context().target_list.count(), 0);
}

TEST_P(SettingsFileTest, WithoutACountOrWithCountZeroTheFirstKeyIsStillRead) {
  for (const wchar_t* count_line : {L"", L"登録数=0\n"}) {
    SCOPED_TRACE(count_line);
    write_ini(std::wstring(L"[Lorvane]\n") + count_line + L"クラス名0=Notepad\nクラス名1=Other\n");
    start();
    EXPECT_EQ(list_items(), Items{L"Notepad"});
    close();
  }
}

TEST_P(SettingsFileTest, MissingKeysCloseUpAndKeysAboveTheCountAreNeitherReadNorTouched) {
  write_ini(
      L"[Lorvane]\n登録数=3\nクラス名0=A\nクラス名2=C\nクラス名3=D\nクラス名5=Stale\nクラス名9="
      L"Old\n");
  start();
  // Position 3 is the one extra key the load reads; position 1 leaves no gap.
  EXPECT_EQ(list_items(), (Items{L"A", L"C", L"D"}));
  close();
  // The new key for position 1 goes to the end of the section, as the profile functions add it;
  // the keys above the count stay exactly as they were.
  EXPECT_EQ(ini_bytes(),
            ini_file_bytes(L"[Lorvane]\n登録数=3\nクラス名0=A\nクラス名2=D\nクラス名3=\n"
                           L"クラス名5=Stale\nクラス名9=Old\nクラス名1=C\n前面表示設定=0\n"));
}

TEST_P(SettingsFileTest, SaveAfterCuttingTheListRemovesTheKeysItLeftBehind) {
  write_ini(
      L"[Lorvane]\n前面表示設定=0\n登録数=5\nクラス名0=A\nクラス名1=B\nクラス名2=C\n"
      L"クラス名3=D\nクラス名4=E\nクラス名5=\n");
  start();
  tray_event(WM_LBUTTONUP);
  context().target_list.select(2);
  for (int i = 0; i < 3; ++i) click(app::id_delete_button);
  ASSERT_EQ(list_items(), (Items{L"A", L"B"}));
  click(app::id_save_button);
  EXPECT_EQ(ini_bytes(),
            ini_file_bytes(L"[Lorvane]\n前面表示設定=0\n登録数=2\nクラス名0=A\nクラス名1=B\n"
                           L"クラス名2=\n"));
  // Save leaves the list and its selection as they are.
  EXPECT_EQ(list_items(), (Items{L"A", L"B"}));
  EXPECT_EQ(context().target_list.selected(), 1);
}

TEST_P(SettingsFileTest, SaveAfterGrowingTheListWritesEveryEntryAndOneEmptyKey) {
  write_ini(L"[Lorvane]\n登録数=2\nクラス名0=A\nクラス名1=B\nクラス名2=\n");
  start();
  tray_event(WM_LBUTTONUP);
  context().target_list.append(L"C");
  context().target_list.append(L"ウィンドウ表");  // a trail byte of 0x5C in Shift-JIS
  click(app::id_save_button);
  EXPECT_EQ(ini_bytes(),
            ini_file_bytes(L"[Lorvane]\n登録数=4\nクラス名0=A\nクラス名1=B\nクラス名2=C\n"
                           L"クラス名3=ウィンドウ表\nクラス名4=\n"));
  close();
  start();
  EXPECT_EQ(list_items(), (Items{L"A", L"B", L"C", L"ウィンドウ表"}));
}

using Targets = std::vector<platform::Target>;

// A program key goes with the class-name key of its position: read with it, moved with it, and
// removed where its entry has none or the list has no entry.
TEST_P(SettingsFileTest, ProgramKeysLoadWithTheirEntriesAndSaveMovesThemAlong) {
  write_ini(
      L"[Lorvane]\n登録数=3\nクラス名0=A\nプログラム名0=a.exe\nクラス名1=B\nクラス名2=C\n"
      L"プログラム名2=表.exe\nプログラム名1=\nプログラム名7=stale.exe\nプログラム名9=x.exe\n"
      L"クラス名3=\n");
  start();
  EXPECT_EQ(list_targets(), (Targets{{L"A", L"a.exe"}, {L"B", L""}, {L"C", L"表.exe"}}));
  tray_event(WM_LBUTTONUP);
  context().target_list.select(2);
  click(app::id_move_up_button);
  ASSERT_EQ(list_targets(), (Targets{{L"A", L"a.exe"}, {L"C", L"表.exe"}, {L"B", L""}}));
  click(app::id_save_button);
  // The empty key of position 1 takes its program where it stands.
  EXPECT_EQ(ini_bytes(),
            ini_file_bytes(L"[Lorvane]\n登録数=3\nクラス名0=A\nプログラム名0=a.exe\n"
                           L"クラス名1=C\nクラス名2=B\nプログラム名1=表.exe\nクラス名3=\n"));
  close();
  start();
  EXPECT_EQ(list_targets(), (Targets{{L"A", L"a.exe"}, {L"C", L"表.exe"}, {L"B", L""}}));
}

TEST_P(SettingsFileTest, ProgramKeysAreWrittenOnlyForEntriesThatHaveOne) {
  const std::wstring old_file = L"[Lorvane]\n登録数=1\nクラス名0=A\nクラス名1=\n";
  write_ini(old_file);
  start();
  tray_event(WM_LBUTTONUP);
  context().target_list.append(platform::Target{L"B", L"b.exe"});
  context().target_list.append(L"C");
  click(app::id_save_button);
  EXPECT_EQ(ini_bytes(), ini_file_bytes(L"[Lorvane]\n登録数=3\nクラス名0=A\nクラス名1=B\n"
                                        L"クラス名2=C\nクラス名3=\nプログラム名1=b.exe\n"));
  context().target_list.select(1);
  click(app::id_delete_button);
  context().target_list.select(1);
  click(app::id_delete_button);
  click(app::id_save_button);
  // Back to the file of a list without programs, byte for byte.
  EXPECT_EQ(ini_bytes(), ini_file_bytes(old_file));
}

// Where the class name ends is kept beside the entry, never found in its text: a class name with
// a tab in it, from a file, reads back whole, with or without a program after it.
TEST_P(SettingsFileTest, AClassNameWithATabKeepsItsProgramApart) {
  write_ini(
      L"[Lorvane]\n登録数=2\nクラス名0=Tab\there\nプログラム名0=p.exe\nクラス名1=Tab\tbare\n"
      L"クラス名2=\n");
  start();
  EXPECT_EQ(list_targets(), (Targets{{L"Tab\there", L"p.exe"}, {L"Tab\tbare", L""}}));
  tray_event(WM_LBUTTONUP);
  context().target_list.select(0);
  click(app::id_move_down_button);
  ASSERT_EQ(list_targets(), (Targets{{L"Tab\tbare", L""}, {L"Tab\there", L"p.exe"}}));
  click(app::id_save_button);
  EXPECT_EQ(ini_bytes(), ini_file_bytes(L"[Lorvane]\n登録数=2\nクラス名0=Tab\tbare\n"
                                        L"クラス名1=Tab\there\nクラス名2=\nプログラム名1=p.exe\n"));
}

TEST_P(SettingsFileTest, TheFrontDisplayTickReachesTheFileOnlyAtExitAndSurvivesARestart) {
  start();
  click(app::id_front_display_option);
  ASSERT_TRUE(context().front_display_option.ticked());
  click(app::id_save_button);
  EXPECT_EQ(ini_bytes(), ini_file_bytes(L"[Lorvane]\n登録数=0\nクラス名0=\n"));
  close();
  EXPECT_EQ(ini_bytes(), ini_file_bytes(L"[Lorvane]\n登録数=0\nクラス名0=\n前面表示設定=1\n"));

  start();
  EXPECT_TRUE(context().front_display_option.ticked());
  click(app::id_front_display_option);
  close();
  start();
  EXPECT_FALSE(context().front_display_option.ticked());
}

// A folder stands under the file's name as Save is pressed: the status line says that nothing was
// saved and why, until a save works. (A file held by another program: end to end.)
TEST_P(SettingsFileTest, ASaveThatIsRefusedIsToldUntilOneWorks) {
  write_ini(L"[Lorvane]\n登録数=1\nクラス名0=A\nクラス名1=\n");
  start();
  tray_event(WM_LBUTTONUP);
  const std::wstring status = context().front_display_option.caption();
  ASSERT_TRUE(::DeleteFileW(ini_path().c_str()));
  ASSERT_TRUE(::CreateDirectoryW(ini_path().c_str(), nullptr));
  context().target_list.append(L"B");
  click(app::id_save_button);
  EXPECT_EQ(context().front_display_option.caption(), app::save_refused_text);
  ASSERT_TRUE(::RemoveDirectoryW(ini_path().c_str()));
  click(app::id_save_button);
  EXPECT_EQ(context().front_display_option.caption(), status);
  EXPECT_EQ(ini_bytes(),
            ini_file_bytes(L"[Lorvane]\n登録数=2\nクラス名0=A\nクラス名1=B\nクラス名2=\n"));
}

// Where the settings file lives: chosen as the program's start chooses it, for an executable in
// the fixture's folder (or a folder made in it), with a temporary folder for the user's
// application data.
class SettingsPlaceTest : public MainWindowTest {
 protected:
  settings::SettingsChoice choose(const std::wstring& exe_folder) {
    settings::SettingsChoice choice = app::find_settings_file(
        exe_folder, [&] { return std::optional<std::wstring>(app_data_.path()); });
    app::make_settings_folder(choice);
    settings_path_ = choice.path;
    copy_from_ = choice.copy_from;
    return choice;
  }
  std::wstring in_app_data() const { return app_data_.file(L"Lorvane\\Lorvane.ini"); }

  // A run that saves one entry at exit, into the chosen file.
  void run_adding(const std::wstring& entry) {
    start();
    context().target_list.append(entry);
    close();
  }

  TempFolder app_data_;
};

const std::wstring stored = L"[Lorvane]\n登録数=1\nクラス名0=Stored\nクラス名1=\n";
// The stored file after a run that added one entry.
const std::wstring stored_and_added =
    L"[Lorvane]\n登録数=2\nクラス名0=Stored\nクラス名1=Added\nクラス名2=\n前面表示設定=0\n";

TEST_F(SettingsPlaceTest, TheUsualCaseStaysBesideTheExeAndLeavesNothingElseThere) {
  const std::wstring beside = folder_.file(L"Lorvane.ini");
  EXPECT_EQ(choose(folder_.path()).path, beside);
  // The probe file is gone again, and nothing went to the application data.
  EXPECT_TRUE(names_in(folder_.path()).empty());
  EXPECT_TRUE(names_in(app_data_.path()).empty());

  write_ini(stored);
  EXPECT_EQ(choose(folder_.path()).path, beside);
  run_adding(L"Added");
  EXPECT_EQ(read_bytes(beside), ini_file_bytes(stored_and_added));
  EXPECT_TRUE(names_in(app_data_.path()).empty());
}

// What a read-only file or one the user may not write answers on Windows. Wine as root opens a
// read-only file for writing, so the refusal is put in at the probe's seam.
platform::file_probe::FileOpen refused(const std::wstring&) {
  return platform::file_probe::FileOpen::refused;
}

TEST_F(SettingsPlaceTest, AFolderUnderTheNameOrARefusedFileSendsTheSettingsToApplicationData) {
  TempFolder with_folder;
  ASSERT_TRUE(::CreateDirectoryW(with_folder.file(L"Lorvane.ini").c_str(), nullptr));
  EXPECT_EQ(choose(with_folder.path()).path, in_app_data());
  // A folder cannot be copied: the run starts empty and its exit save creates the file.
  run_adding(L"Added");
  EXPECT_EQ(read_bytes(in_app_data()),
            ini_file_bytes(L"[Lorvane]\n登録数=1\nクラス名0=Added\nクラス名1=\n前面表示設定=0\n"));
  ASSERT_TRUE(::DeleteFileW(in_app_data().c_str()));

  write_ini(stored);
  settings::SettingsChoice choice = app::find_settings_file(
      folder_.path(), [&] { return std::optional<std::wstring>(app_data_.path()); }, refused);
  EXPECT_EQ(choice.path, in_app_data());
}

// A virus scanner, a backup or a sync client holds the file, however long: it is in use, not
// unusable, and the settings stay beside the exe with nothing written anywhere.
TEST_F(SettingsPlaceTest, AHeldFileStaysBesideTheExeWithoutAWait) {
  write_ini(stored);
  for (DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ}}) {
    SCOPED_TRACE(sharing);
    platform::UniqueKernelHandle held =
        open_file(folder_.file(L"Lorvane.ini"), GENERIC_READ, sharing);
    ASSERT_TRUE(held);
    EXPECT_EQ(choose(folder_.path()).path, folder_.file(L"Lorvane.ini"));
  }
  EXPECT_EQ(names_in(folder_.path()), std::vector<std::wstring>{L"Lorvane.ini"});
  EXPECT_TRUE(names_in(app_data_.path()).empty());
}

// Gives the file that last-write time, in 100-ns units since 1601.
void set_written(const std::wstring& path, std::uint64_t time) {
  platform::UniqueKernelHandle file = open_file(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ);
  FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
  ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &written));
}
constexpr std::uint64_t minute = 60 * 10'000'000ull;

TEST_F(SettingsPlaceTest, ACopyInApplicationDataIsMadeOnceAndRefreshedOnlyFromANewerFile) {
  write_ini(stored);
  const std::wstring beside = folder_.file(L"Lorvane.ini");
  auto choose_refused = [&] {
    settings::SettingsChoice choice = app::find_settings_file(
        folder_.path(), [&] { return std::optional<std::wstring>(app_data_.path()); }, refused);
    app::make_settings_folder(choice);
    settings_path_ = choice.path;
    copy_from_ = choice.copy_from;
    // What the start-up load copies before it reads.
    ASSERT_TRUE(copy_from_);
    EXPECT_EQ(app::copy_settings_file(*copy_from_, settings_path_),
              platform::file_probe::CopyResult::copied);
  };
  ::SetFileAttributesW(beside.c_str(), FILE_ATTRIBUTE_READONLY);
  choose_refused();
  ::SetFileAttributesW(beside.c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_EQ(settings_path_, in_app_data());
  EXPECT_EQ(read_bytes(in_app_data()), ini_file_bytes(stored));
  // The copy is ours to write, whatever marks the original had.
  EXPECT_EQ(::GetFileAttributesW(in_app_data().c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  run_adding(L"Added");
  EXPECT_EQ(read_bytes(in_app_data()), ini_file_bytes(stored_and_added));
  EXPECT_EQ(read_bytes(beside), ini_file_bytes(stored));

  // The file beside the exe written later than the copy: by as much as a FAT volume rounds to, or
  // by exactly the hour that daylight saving time shifts it, is no change; by more, it wins.
  const std::uint64_t copy_time = *platform::file_probe::last_written(in_app_data());
  constexpr std::uint64_t second = 10'000'000;
  for (std::uint64_t later : {2 * second, 3600 * second}) {
    set_written(beside, copy_time + later);
    choose_refused();
    EXPECT_EQ(read_bytes(in_app_data()), ini_file_bytes(stored_and_added)) << later;
  }
  set_written(beside, copy_time + 3 * second);
  choose_refused();
  EXPECT_EQ(read_bytes(in_app_data()), ini_file_bytes(stored));
}

// The file beside the exe refused, as a read-only one is on Windows: the run goes to the
// application data, with that file to copy from.
settings::SettingsChoice refused_beside(const std::wstring& exe_folder,
                                        const std::wstring& app_data) {
  settings::SettingsChoice choice = app::find_settings_file(
      exe_folder, [&] { return std::optional<std::wstring>(app_data); }, refused);
  app::make_settings_folder(choice);
  return choice;
}

// A scanner holds the older copy that the newer file beside the exe should refresh: the load waits
// for it, as for a held settings file, and then reads the refreshed copy, not the older one.
TEST_F(SettingsPlaceTest, AHeldCopyToRefreshIsWaitedForAndThenRefreshed) {
  write_ini(stored);
  settings::SettingsChoice choice = refused_beside(folder_.path(), app_data_.path());
  settings_path_ = choice.path;
  copy_from_ = choice.copy_from;
  ASSERT_EQ(settings_path_, in_app_data());
  harness::write_ini(in_app_data(), L"[Lorvane]\n登録数=1\nクラス名0=Older\nクラス名1=\n");
  set_written(*copy_from_, *platform::file_probe::last_written(in_app_data()) + minute);
  platform::UniqueKernelHandle scanner = open_file(in_app_data(), GENERIC_READ, 0);
  ASSERT_TRUE(scanner);
  start();
  EXPECT_EQ(context().front_display_option.caption(), app::settings_in_use_text);
  EXPECT_TRUE(list_items().empty());
  scanner.reset();
  EXPECT_TRUE(pump_until([&] { return list_items() == Items{L"Stored"}; }));
  EXPECT_EQ(read_bytes(in_app_data()), ini_file_bytes(stored));
  close();
  EXPECT_EQ(read_bytes(*copy_from_), ini_file_bytes(stored));
}

// Where the copy fails for another reason (access denied, a full disc; Wine lets root copy
// anything, so the failure is put in at the copy's seam), the list is read from the file beside
// the exe, the status line says so, and neither Save nor the exit writes anywhere.
TEST_F(SettingsPlaceTest, ACopyThatFailsLoadsTheFileBesideTheExeAndWritesNowhere) {
  write_ini(stored);
  settings::SettingsChoice choice = refused_beside(folder_.path(), app_data_.path());
  settings_path_ = choice.path;
  copy_from_ = choice.copy_from;
  ASSERT_EQ(settings_path_, in_app_data());
  copy_ = [](const std::wstring&, const std::wstring&, bool) {
    return platform::file_probe::CopyResult::failed;
  };
  start();
  EXPECT_EQ(list_items(), Items{L"Stored"});
  EXPECT_EQ(context().front_display_option.caption(), app::settings_copy_failed_text);
  tray_event(WM_LBUTTONUP);
  context().target_list.append(L"Added");
  click(app::id_save_button);
  EXPECT_EQ(context().front_display_option.caption(), app::settings_copy_failed_text);
  close();
  EXPECT_FALSE(file_exists(in_app_data()));
  EXPECT_EQ(read_bytes(*copy_from_), ini_file_bytes(stored));
}

// The copy fails and the file beside the exe then refuses its reader for good (access denied;
// Wine lets root read anything, so the refusal is put in at the load's open). Nothing would end a
// wait for it: the run reads this user's own copy in the application data where there is one, or
// starts empty, writes nothing, and can be edited and started. A failure that may pass by itself
// (a drive not ready) is still waited for, and the list then comes from beside the exe.
TEST_F(SettingsPlaceTest, AFileBesideTheExeThatRefusesItsReaderAfterAFailedCopyIsNotWaitedFor) {
  write_ini(stored);
  settings::SettingsChoice choice = refused_beside(folder_.path(), app_data_.path());
  settings_path_ = choice.path;
  copy_from_ = choice.copy_from;
  copy_ = [](const std::wstring&, const std::wstring&, bool) {
    return platform::file_probe::CopyResult::failed;
  };
  DWORD beside_error = ERROR_ACCESS_DENIED;
  read_open_ = [&](const std::wstring& path, DWORD& error) {
    if (path == in_app_data() || beside_error == ERROR_SUCCESS)
      return platform::file_probe::open_for_reading(path, error);
    error = beside_error;
    return INVALID_HANDLE_VALUE;
  };
  // This user's copy from an earlier run, older than the file beside the exe that would refresh it.
  const std::wstring own = L"[Lorvane]\n登録数=1\nクラス名0=Own\nクラス名1=\n";
  harness::write_ini(in_app_data(), own);
  set_written(*copy_from_, *platform::file_probe::last_written(in_app_data()) + minute);
  for (const Items& loaded : {Items{L"Own"}, Items{}}) {
    start();
    EXPECT_EQ(list_items(), loaded);
    const std::wstring_view told = loaded.empty() ? app::settings_original_refused_empty_text
                                                  : app::settings_original_refused_text;
    EXPECT_EQ(context().front_display_option.caption(), told);
    EXPECT_TRUE(::IsWindowEnabled(item(app::id_start_stop_button)));
    context().target_list.append(L"Added");
    click(app::id_save_button);
    EXPECT_EQ(context().front_display_option.caption(), told);
    close();
    EXPECT_EQ(read_bytes(*copy_from_), ini_file_bytes(stored));
    if (loaded.empty()) continue;
    EXPECT_EQ(read_bytes(in_app_data()), ini_file_bytes(own));
    ASSERT_TRUE(::DeleteFileW(in_app_data().c_str()));
  }
  EXPECT_FALSE(file_exists(in_app_data()));

  beside_error = ERROR_NOT_READY;
  start();
  EXPECT_EQ(context().front_display_option.caption(), app::settings_unreadable_text);
  EXPECT_FALSE(::IsWindowEnabled(item(app::id_start_stop_button)));
  beside_error = ERROR_SUCCESS;
  EXPECT_TRUE(pump_until([&] { return list_items() == Items{L"Stored"}; }));
  close();
  EXPECT_FALSE(file_exists(in_app_data()));
}

// Another user of the machine runs the copy in this folder: that copy's claim of the file beside
// the exe lives across the sessions, held here by a thread of its own as that copy would hold it;
// a claim this start may not open is put in at the mutex's seam. Either way the start keeps this
// user's own settings in the application data, never copied from the shared file, and says so.
TEST_F(SettingsPlaceTest, AnotherSessionsCopyOfThisFolderLeavesThisUserItsOwnSettings) {
  write_ini(stored);
  const std::wstring beside = folder_.file(L"Lorvane.ini");
  auto app_data = [&] { return std::optional<std::wstring>(app_data_.path()); };
  auto expect_own_settings = [&](const platform::running_copy::CreateMutexCall& create) {
    app::CopyClaims claims(create);
    std::optional<app::SettingsHome> home = claims.take(folder_.path(), app_data);
    ASSERT_TRUE(home);
    EXPECT_EQ(home->path, in_app_data());
    EXPECT_FALSE(home->copy_from);
    EXPECT_TRUE(home->other_session);
  };

  std::atomic<int> held{0};  // 1 while the other session's copy holds its claim, 2 to let go
  std::thread other_session([&] {
    platform::UniqueKernelHandle claim(
        ::CreateMutexW(nullptr, TRUE, app::machine_copy_name(beside).c_str()));
    held = 1;
    while (held.load() == 1) ::Sleep(10);
    ::ReleaseMutex(claim.get());
  });
  ASSERT_TRUE(pump_until([&] { return held.load() == 1; }));
  expect_own_settings(platform::running_copy::create_mutex);
  held = 2;
  other_session.join();
  auto global_denied = [](const std::wstring& name, DWORD& error) -> HANDLE {
    if (name.rfind(L"Global\\", 0) == 0) {
      error = ERROR_ACCESS_DENIED;
      return nullptr;
    }
    return platform::running_copy::create_mutex(name, error);
  };
  expect_own_settings(global_denied);
  {
    // A copy that keeps its settings in the application data anyway writes nothing beside the
    // exe, and so claims nothing there: every user of such an install starts from its file.
    TempFolder with_folder;
    ASSERT_TRUE(::CreateDirectoryW(with_folder.file(L"Lorvane.ini").c_str(), nullptr));
    app::CopyClaims claims(global_denied);
    std::optional<app::SettingsHome> home = claims.take(with_folder.path(), app_data);
    ASSERT_TRUE(home);
    EXPECT_EQ(home->path, in_app_data());
    EXPECT_EQ(home->copy_from, with_folder.file(L"Lorvane.ini"));
    EXPECT_FALSE(home->other_session);
  }

  settings_path_ = in_app_data();
  other_session_ = true;
  start();
  EXPECT_TRUE(list_items().empty());
  EXPECT_EQ(context().front_display_option.caption(), app::other_session_text);
  context().target_list.append(L"Added");
  close();
  EXPECT_EQ(read_bytes(in_app_data()),
            ini_file_bytes(L"[Lorvane]\n登録数=1\nクラス名0=Added\nクラス名1=\n前面表示設定=0\n"));
  EXPECT_EQ(read_bytes(beside), ini_file_bytes(stored));

  // With the other copy gone, the file beside the exe is this start's again. The list this user
  // kept meanwhile stays in the own file, never written, which the start names for as long as it
  // holds a name the shared list lacks.
  const std::string own = read_bytes(in_app_data());
  for (bool brought_over : {false, true}) {
    app::CopyClaims claims;
    std::optional<app::SettingsHome> home = claims.take(folder_.path(), app_data);
    ASSERT_TRUE(home);
    EXPECT_EQ(home->path, beside);
    EXPECT_FALSE(home->other_session);
    EXPECT_EQ(home->own_file_passed_over, in_app_data());
    settings_path_ = beside;
    other_session_ = false;
    own_settings_passed_over_ = home->own_file_passed_over;
    start();
    EXPECT_EQ(
        context().front_display_option.caption() == app::own_settings_left_text(in_app_data()),
        !brought_over);
    if (!brought_over) context().target_list.append(L"Added");
    close();
    EXPECT_EQ(read_bytes(in_app_data()), own);
  }
}

TEST_F(SettingsPlaceTest, AFolderTheCodePageCannotHoldIsReachedByItsShortPath) {
  ASSERT_EQ(::GetACP(), 932u);
  // A Japanese name needs no short path; "€", Hangul and an emoji are not in code page 932.
  for (const wchar_t* name : {L"表示ソフト", L"設定€", L"한글", L"絵😀"}) {
    const std::wstring exe_folder = folder_.file(name);
    SCOPED_TRACE(testing::Message() << exe_folder);
    ASSERT_TRUE(::CreateDirectoryW(exe_folder.c_str(), nullptr));
    std::wstring reached = exe_folder;
    if (!platform::text::ansi_can_hold(exe_folder))
      reached = platform::file_probe::short_path(exe_folder).value_or(L"");
    EXPECT_EQ(choose(exe_folder).path, settings::settings_path(reached));
    EXPECT_TRUE(platform::text::ansi_can_hold(settings_path_));
    // The profile functions reach the file beside the exe through that path.
    run_adding(L"Added");
    EXPECT_EQ(
        read_bytes(exe_folder + L"\\Lorvane.ini"),
        ini_file_bytes(L"[Lorvane]\n登録数=1\nクラス名0=Added\nクラス名1=\n前面表示設定=0\n"));
  }
}

TEST(SettingsPlace, TheRealApplicationDataFolderIsAskedOnlyWhenNeeded) {
  TempFolder exe;
  int asked = 0;
  auto real = [&] {
    ++asked;
    return platform::file_probe::application_data_folder();
  };
  app::find_settings_file(exe.path(), real);
  EXPECT_EQ(asked, 0);
  ASSERT_TRUE(::CreateDirectoryW(exe.file(L"Lorvane.ini").c_str(), nullptr));
  std::optional<std::wstring> app_data = platform::file_probe::application_data_folder();
  ASSERT_TRUE(app_data && file_exists(*app_data));
  // Chosen but not prepared: nothing is written into the real folder.
  EXPECT_EQ(app::find_settings_file(exe.path(), real).path,
            settings::settings_path(*app_data + L"\\Lorvane"));
  EXPECT_EQ(asked, 1);
}

TEST(SettingsPath, TheFolderIsTakenUnchanged) {
  EXPECT_EQ(settings::settings_path(L"C:\\x"), L"C:\\x\\Lorvane.ini");
  // A folder that already ends with a separator still gets one more.
  EXPECT_EQ(settings::settings_path(L"C:\\x\\"), L"C:\\x\\\\Lorvane.ini");
  EXPECT_EQ(settings::settings_path(L"C:\\"), L"C:\\\\Lorvane.ini");
}

INSTANTIATE_TEST_SUITE_P(BothPaths, SettingsFileTest, settings_paths, settings_path_name);

}  // namespace
}  // namespace lorvane::test
