// Settings files damaged by hand or by other programs: the window still starts, loads what it can
// and closes without harm to what it could not read.
#include <random>

#include "main_window_fixture.h"

namespace lorvane::test {
namespace {

using Items = std::vector<std::wstring>;

class HostileIniTest : public BothSettingsPathsTest {
 protected:
  void TearDown() override {
    // The temporary folder goes with everything in it, a read-only file included.
    ::SetFileAttributesW(ini_path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
};

TEST_P(HostileIniTest, ACountThatIsNegativeOrNoNumberReadsLikeZero) {
  // A damaged count never hides the first entry; the entry above it is not read, and the exit
  // save writes the list it has over it.
  for (const wchar_t* count : {L"-3", L"abc"}) {
    SCOPED_TRACE(count);
    write_ini(std::wstring(L"[Lorvane]\n登録数=") + count + L"\nクラス名0=A\nクラス名1=B\n");
    start();
    EXPECT_EQ(list_items(), Items{L"A"});
    close();
    EXPECT_EQ(ini_bytes(),
              ini_file_bytes(L"[Lorvane]\n登録数=1\nクラス名0=A\nクラス名1=\n前面表示設定=0\n"));
  }
}

TEST_P(HostileIniTest, AHugeCountReadsOnlyTheKeysTheFileHolds) {
  // Start-up and exit walk the keys the file holds, not two billion positions: this case ending
  // at all is the check.
  write_ini(
      L"[Lorvane]\n登録数=2147483647\nクラス名0=A\nクラス名1=B\nクラス名7=C\n"
      L"クラス名2147483647=Z\n");
  start();
  EXPECT_EQ(list_items(), (Items{L"A", L"B", L"C", L"Z"}));
  close();
  // The keys between the new count and the stored one are gone, the highest one included.
  EXPECT_EQ(ini_bytes(),
            ini_file_bytes(L"[Lorvane]\n登録数=4\nクラス名0=A\nクラス名1=B\nクラス名2=C\n"
                           L"クラス名3=Z\nクラス名4=\n前面表示設定=0\n"));
}

TEST_P(HostileIniTest, AnyFrontDisplayNumberButZeroTicksTheBoxAndNoNumberLeavesItClear) {
  struct Case {
    const wchar_t* value;
    bool ticked;
  };
  for (const Case& c : {Case{L"1", true}, Case{L"2", true}, Case{L"-1", true}, Case{L"abc", false},
                        Case{L"0", false}}) {
    SCOPED_TRACE(c.value);
    write_ini(std::wstring(L"[Lorvane]\n前面表示設定=") + c.value + L"\n");
    start();
    EXPECT_EQ(context().front_display_option.ticked(), c.ticked);
    close();
    // The exit writes back what the box shows.
    EXPECT_EQ(ini_bytes(), ini_file_bytes(std::wstring(L"[Lorvane]\n前面表示設定=") +
                                          (c.ticked ? L"1" : L"0") + L"\n登録数=0\nクラス名0=\n"));
  }
}

TEST_P(HostileIniTest, AValueLongerThan1023BytesIsReadCutAndKeptWholeInTheFile) {
  std::string long_value;
  for (int i = 0; i < 1500; ++i) long_value += static_cast<char>('0' + i % 10);
  write_bytes(ini_path(), ini_file_bytes(L"[Lorvane]\n登録数=1\nクラス名0=") + long_value +
                              ini_file_bytes(L"\nクラス名1=\n"));
  start();
  ASSERT_EQ(context().target_list.count(), 1);
  std::wstring expected(long_value.begin(), long_value.begin() + 1023);
  EXPECT_EQ(context().target_list.item(0), expected);
  close();
  // The key already reads as the entry, so Save leaves it alone and the file loses nothing.
  EXPECT_EQ(ini_bytes(), ini_file_bytes(L"[Lorvane]\n登録数=1\nクラス名0=") + long_value +
                             ini_file_bytes(L"\nクラス名1=\n前面表示設定=0\n"));
}

TEST_P(HostileIniTest, AMovedEntryIsWrittenAndAnUnchangedOneIsNot) {
  // Two keys whose stored form differs from what they read as: quotes and blanks around the
  // value. Moving the entries rewrites both keys; saving them unchanged rewrites neither.
  write_bytes(
      ini_path(),
      ini_file_bytes(L"[Lorvane]\n登録数=2\nクラス名0=\"Alpha\"\nクラス名1= Beta \nクラス名2=\n"));
  start();
  tray_event(WM_LBUTTONUP);  // control started and hid the window; its buttons want it shown
  ASSERT_EQ(list_items(), (std::vector<std::wstring>{L"Alpha", L"Beta"}));
  click(app::id_save_button);
  EXPECT_EQ(
      ini_bytes(),
      ini_file_bytes(L"[Lorvane]\n登録数=2\nクラス名0=\"Alpha\"\nクラス名1= Beta \nクラス名2=\n"));
  context().target_list.select(1);
  click(app::id_move_up_button);
  click(app::id_save_button);
  EXPECT_EQ(ini_bytes(),
            ini_file_bytes(L"[Lorvane]\n登録数=2\nクラス名0=Beta\nクラス名1=Alpha\nクラス名2=\n"));
  close();
}

TEST_P(HostileIniTest, ClassNamesThatAreNotShiftJisAreWrittenBackByteForByte) {
  // A stray lead byte at the end, a lead byte with a bad trail byte, and two bytes Shift-JIS
  // does not use at all.
  const std::string names[] = {"Ab\x81", "\x81\x20X", "\xFF\xFE"};
  std::string file = ini_file_bytes(L"[Lorvane]\n登録数=3\n");
  for (int k = 0; k < 3; ++k) {
    file += ini_file_bytes(L"クラス名" + std::to_wstring(k) + L"=") + names[k] + "\r\n";
  }
  file += ini_file_bytes(L"クラス名3=\n前面表示設定=0\n");
  write_bytes(ini_path(), file);
  start();
  EXPECT_EQ(context().target_list.count(), 3);
  close();
  EXPECT_EQ(ini_bytes(), file);
}

// Whether this process could open the file for writing now.
bool writable(const std::wstring& path) {
  return open_file(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE) != nullptr;
}

TEST_P(HostileIniTest, AFileThatCannotBeWrittenLoadsAndStaysUnchanged) {
  write_ini(L"[Lorvane]\n登録数=1\nクラス名0=A\nクラス名1=\n");
  const std::string before = ini_bytes();
  // Save says it failed, and the exit save asks: the user quits without saving.
  auto edit_save_and_close = [&] {
    const bool refused = !writable(ini_path());
    start();
    EXPECT_EQ(list_items(), Items{L"A"});
    tray_event(WM_LBUTTONUP);
    context().target_list.append(L"B");
    click(app::id_front_display_option);
    click(app::id_save_button);
    if (refused) {
      EXPECT_NE(context().front_display_option.caption(), L"前面表示しない。");
    }
    MessageBoxAnswerer answerer({IDCANCEL});
    close();
    EXPECT_EQ(answerer.answered(), refused ? 1u : 0u);
  };

  // Held open by another program that lets others read it but not write it.
  {
    platform::UniqueKernelHandle lock = open_file(ini_path(), GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(lock);
    ASSERT_FALSE(writable(ini_path()));
    edit_save_and_close();
    lock.reset();
    EXPECT_EQ(ini_bytes(), before);
  }

  // Marked read-only. Wine keeps this attribute as the file's Unix permission bits, which do not
  // bind a process running as root: there the file stays writable, and only the start and the
  // close are checked.
  ASSERT_TRUE(::SetFileAttributesW(ini_path().c_str(), FILE_ATTRIBUTE_READONLY));
  const bool read_only = !writable(ini_path());
  if (!read_only) {
    EXPECT_TRUE(running_under_wine());
  }
  edit_save_and_close();
  if (read_only) {
    EXPECT_EQ(ini_bytes(), before);
  }
}

TEST_P(HostileIniTest, AFolderInPlaceOfTheFileIsWaitedForAndNeverWritten) {
  ASSERT_TRUE(::CreateDirectoryW(ini_path().c_str(), nullptr));
  start();
  EXPECT_EQ(context().target_list.count(), 0);
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_FALSE(window_->settings_loaded());
  close();
  EXPECT_EQ(::GetFileAttributesW(ini_path().c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST_P(HostileIniTest, AFileInUtf16OrOfGarbageStartsAndWhatTheExitWritesReadsBack) {
  // A file saved as UTF-16 by an editor: the profile functions read it as text all the same.
  std::string utf16 = "\xFF\xFE";
  for (wchar_t c : std::wstring(L"[Lorvane]\r\n登録数=1\r\nクラス名0=動画\r\nクラス名1=\r\n")) {
    utf16 += static_cast<char>(c & 0xFF);
    utf16 += static_cast<char>(c >> 8);
  }
  // Bytes of no text at all, zeros and line ends among them, with no section of ours.
  std::string garbage;
  unsigned seed = 12345;
  for (int i = 0; i < 4096; ++i) {
    seed = seed * 1103515245u + 12345u;
    garbage += static_cast<char>(seed >> 16);
  }
  struct Case {
    std::string bytes;
    Items loaded;
  };
  for (const Case& c : {Case{utf16, {L"動画"}}, Case{garbage, {}}}) {
    SCOPED_TRACE(c.bytes.size());
    write_bytes(ini_path(), c.bytes);
    start();
    EXPECT_EQ(list_items(), c.loaded);
    tray_event(WM_LBUTTONUP);
    click(app::id_front_display_option);
    close();
    start();
    EXPECT_EQ(list_items(), c.loaded);
    EXPECT_TRUE(context().front_display_option.ticked());
    close();
  }
}

std::string without_lines_lacking_equals(const std::string& bytes) {
  std::string kept;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t end = bytes.find("\r\n", at);
    end = end == std::string::npos ? bytes.size() : end + 2;
    std::string line = bytes.substr(at, end - at);
    if (line[0] == '[' || line.find('=') != std::string::npos) kept += line;
    at = end;
  }
  return kept;
}

// Generated hostile files, each loaded, edited and saved at exit both ways by the real window's
// controls: the two ways must leave the same list and the same bytes, whatever the file holds.
using GeneratedIniTest = MainWindowTest;

TEST_F(GeneratedIniTest, HostileFilesComeOutTheSameKeyByKeyAndASectionAtATime) {
  start();
  std::mt19937 random(20261207);
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  const std::string key = ini_file_bytes(L"クラス名");
  const std::string counts[] = {"3", " 3 ", "0", "-1", "abc", "0003", "2147483647", ""};
  const std::string names[] = {
      "A",      "\"Quoted\"", "  Blanks  ",           "'Half",
      "Ab\x81", "\xFF\xFE",   std::string(1500, 'L'), ini_file_bytes(L"表示ソフト"),
      ""};
  const std::wstring file = folder_.file(L"generated.ini");
  for (int round = 0; round < 60; ++round) {
    // Half of the files are laid out as Save leaves them, with odd names; the rest are damaged.
    const bool sound = pick(2) == 0;
    const std::size_t keys = pick(7);
    std::string bytes =
        ini_file_bytes(L"[Lorvane]\n前面表示設定=") + (sound ? "0" : counts[pick(8)]) + "\r\n";
    if (sound || pick(4) != 0)
      bytes +=
          ini_file_bytes(L"登録数=") + (sound ? std::to_string(keys) : counts[pick(8)]) + "\r\n";
    for (std::size_t k = 0; k < keys; ++k) {
      if (sound) {
        bytes += key + std::to_string(k) + "=" + names[pick(8)] + "\r\n";
        continue;
      }
      std::size_t position = pick(5) == 0 ? pick(12) : k;   // gaps, repeats, keys above the count
      std::string prefix = pick(8) == 0 ? key + "0" : key;  // "クラス名07" is no class-name key
      bytes +=
          prefix + std::to_string(position) + (pick(10) == 0 ? "" : "=" + names[pick(9)]) + "\r\n";
    }
    if (sound) bytes += key + std::to_string(keys) + "=\r\n";
    if (pick(4) == 0) bytes += "[Other]\r\nkey=value\r\n";
    SCOPED_TRACE(testing::Message() << "round " << round << ": " << testing::PrintToString(bytes));

    std::vector<Items> lists;
    std::vector<std::string> files;
    std::size_t edit = pick(4);  // 0 cuts the list, 1 grows it, others leave it
    for (std::size_t key_limit : {key_by_key.key_limit, section_at_a_time.key_limit}) {
      write_bytes(file, bytes);
      set_list({});
      context().front_display_option.set_ticked(false);
      settings::start_up_load(context().front_display_option, context().target_list, file,
                              key_limit);
      lists.push_back(list_items());
      Items items = list_items();
      if (edit == 0 && !items.empty()) items.pop_back();
      if (edit == 1) items.push_back(L"Added");
      set_list(items);
      settings::exit_save(context().target_list, context().front_display_option, file, key_limit);
      files.push_back(read_bytes(file));
    }
    EXPECT_EQ(lists[0], lists[1]);
    // Wine's section write drops a line without "=", which no read returns and which key by key
    // stays where it is: the files are compared without such lines.
    EXPECT_EQ(without_lines_lacking_equals(files[0]), without_lines_lacking_equals(files[1]));
  }
  close();
}

INSTANTIATE_TEST_SUITE_P(BothPaths, HostileIniTest, settings_paths, settings_path_name);

}  // namespace
}  // namespace lorvane::test
