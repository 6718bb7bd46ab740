// Hostile settings files: generates many Lorvane.ini files, starts the real Lorvane.exe beside
// each, lets it come up, closes it, and checks that it neither crashed nor hung and that every
// class name it could read is still in the file, in order.
//
//   ini_fuzz.exe <Lorvane.exe> [--seed S] [--files N] [--huge-every K] [--keep-failures DIR]
//   ini_fuzz.exe <Lorvane.exe> --replay FILE      (one kept failure again)
//
// A class name counts as readable when the ANSI profile functions return it whole: present, not
// empty, at a position from 0 to the stored count, and no longer than 1023 bytes (longer values
// come back cut to 1023 bytes, and the cut value is what must survive). Characters that the
// ANSI code page cannot hold (in a UTF-16 file) come back as the code page's default character;
// that is what is compared as well.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "harness/lorvane_harness.h"

namespace {

using namespace std::chrono_literals;
using lorvane::harness::read_bytes;
using lorvane::harness::sjis;
using lorvane::harness::windows_path;
using lorvane::harness::write_bytes;

// Up and closed within this bound, or the run counts as a hang.
constexpr DWORD bound_ms = 15000;

std::string ansi_path(const std::wstring& path) {
  int n = ::WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(n > 0 ? n - 1 : 0));
  return out;
}

std::string ansi_value(const std::string& key, const std::wstring& path) {
  char buffer[1024] = {};
  ::GetPrivateProfileStringA("Lorvane", key.c_str(), "", buffer, sizeof buffer,
                             ansi_path(path).c_str());
  return std::string(buffer);
}

std::vector<std::string> ansi_keys(const std::wstring& path) {
  std::string buffer(1 << 16, '\0');
  DWORD got = 0;
  std::string p = ansi_path(path);
  for (;;) {
    got = ::GetPrivateProfileStringA("Lorvane", nullptr, "", buffer.data(),
                                     static_cast<DWORD>(buffer.size()), p.c_str());
    if (got + 2 < buffer.size() || buffer.size() > (64u << 20)) break;
    buffer.assign(buffer.size() * 4, '\0');
  }
  std::vector<std::string> keys;
  for (std::size_t at = 0; at < got;) {
    std::size_t end = buffer.find('\0', at);
    if (end == std::string::npos || end > got) end = got;
    if (end > at) keys.push_back(buffer.substr(at, end - at));
    at = end + 1;
  }
  return keys;
}

// Leading blanks, a sign, digits: the program's reading of a stored number (no digits: none).
std::int64_t number_or(const std::string& text, std::int64_t fallback) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), INT32_MAX + 1LL);
  }
  if (digits == 0) return fallback;
  return std::clamp<std::int64_t>(negative ? -value : value, INT32_MIN, INT32_MAX);
}

// The readable class names, in position order, as the ANSI profile functions see the file.
std::vector<std::string> readable_names(const std::wstring& path) {
  std::int64_t count = number_or(ansi_value(sjis(L"登録数"), path), 0);
  if (count < 0) count = 0;
  std::string prefix = sjis(L"クラス名");
  std::vector<std::int64_t> positions;
  for (const std::string& key : ansi_keys(path)) {
    if (key.compare(0, prefix.size(), prefix) != 0) continue;
    std::string digits = key.substr(prefix.size());
    if (digits.empty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == '0')) continue;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      continue;
    }
    std::int64_t k = std::stoll(digits);
    // Position count itself is read too; after a save it holds the empty value.
    if (k <= count) positions.push_back(k);
  }
  std::sort(positions.begin(), positions.end());
  positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
  std::vector<std::string> names;
  for (std::int64_t k : positions) {
    std::string value = ansi_value(prefix + std::to_string(k), path);
    if (!value.empty()) names.push_back(value);
  }
  return names;
}

// ---- generation ----

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : random_(seed) {}

  std::string file(bool huge) {
    std::string text = huge ? huge_file() : structured();
    switch (pick(8)) {
      case 0: return flip_bytes(text);
      case 1: return "\xEF\xBB\xBF" + text;  // UTF-8 byte-order mark
      case 2: return utf16(text);
      case 3: return replace_all(text, "\r\n", "\r");  // CR-only line ends
      case 4: return replace_all(text, "\r\n", "\n");
      default: return text;
    }
  }

 private:
  std::size_t pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
  }
  bool chance(int percent) { return static_cast<int>(pick(100)) < percent; }

  std::string count_value() {
    static const char* const counts[] = {
        "0",  "1",  "2",          "3",           "5",           "-1", "-7",   "abc", "",
        " 3", "3x", "2147483647", "-2147483648", "99999999999", "+2", "0003", "1e3", "３"};
    if (chance(30)) return std::to_string(pick(12));
    return counts[pick(std::size(counts))];
  }

  std::string name() {
    switch (pick(9)) {
      case 0: return sjis(L"動画プレーヤー");
      case 1: return "\x81";  // a lone lead byte
      case 2: return "Media\xFF\xFEPlayer";
      case 3: return std::string(pick(3000) + 1, 'N');  // over-long
      case 4: return sjis(L"表示ソフト");               // trail bytes 0x5C
      case 5: return std::string("Nul\0Inside", 10);
      case 6: return "\x82\xA0\x80\xA0";  // invalid pairs
      default: return "Class" + std::to_string(pick(40));
    }
  }

  std::string key_name(std::size_t k) {
    std::string key = sjis(L"クラス名");
    switch (pick(12)) {
      case 0: return key + "0" + std::to_string(k);  // leading zero
      case 1: return key + "-" + std::to_string(k);
      case 2: return key + " " + std::to_string(k);
      case 3: return key + std::to_string(k) + " ";
      default: return key + std::to_string(k);
    }
  }

  std::string structured() {
    std::string out;
    std::size_t sections = chance(10) ? 2 : 1;
    for (std::size_t s = 0; s < sections; ++s) {
      out += chance(5) ? "[lorvane]\r\n" : "[Lorvane]\r\n";
      if (chance(70))
        out += sjis(L"前面表示設定") + "=" + (chance(50) ? count_value() : "1") + "\r\n";
      if (chance(85)) out += sjis(L"登録数") + "=" + count_value() + "\r\n";
      std::size_t keys = pick(14);
      for (std::size_t k = 0; k < keys; ++k) {
        if (chance(15)) continue;  // a gap
        out += key_name(chance(10) ? pick(1000) : k) + "=" + name() + "\r\n";
        if (chance(8)) out += key_name(k) + "=" + name() + "\r\n";  // a duplicate key
      }
      if (chance(20)) out += "[Other]\r\nkey=value\r\n";
      if (chance(10)) out += std::string(pick(5000), 'x') + "\r\n";  // an over-long line
    }
    return out;
  }

  // About 10 MB: a sound head and a very long tail of keys and junk.
  std::string huge_file() {
    std::string out = "[Lorvane]\r\n" + sjis(L"登録数") + "=" + count_value() + "\r\n";
    out += sjis(L"クラス名0") + "=HugeHead\r\n";
    std::string line;
    for (std::size_t k = 1; out.size() < 10u * 1024 * 1024; ++k) {
      line = chance(50)
                 ? sjis(L"クラス名") + std::to_string(k * 7) + "=Tail" + std::to_string(k) + "\r\n"
                 : "junk" + std::to_string(k) + "=" + std::string(200, 'j') + "\r\n";
      out += line;
    }
    return out;
  }

  std::string flip_bytes(std::string text) {
    std::size_t flips = 1 + pick(8);
    for (std::size_t i = 0; i < flips && !text.empty(); ++i) {
      text[pick(text.size())] = static_cast<char>(pick(256));
    }
    return text;
  }

  static std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
      text.replace(at, from.size(), to);
    }
    return text;
  }

  // The same text as UTF-16 with its byte-order mark (decoded from the ANSI code page).
  static std::string utf16(const std::string& text) {
    int n = ::MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    std::string out = "\xFF\xFE";
    out.append(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
    return out;
  }

  std::mt19937 random_;
};

// ---- one run ----

// The failure, or the empty text when the run kept every invariant.
std::string run_one(const std::wstring& exe, const std::string& ini) {
  lorvane::harness::LorvaneCopy copy(exe, L"fuzz");
  const std::wstring ini_path = copy.ini_path();
  if (!copy.copied()) return "cannot copy the exe";
  write_bytes(ini_path, ini);
  // What the program can read, seen through the same functions before it starts.
  lorvane::harness::TempFolder reference;
  write_bytes(reference.file(L"Lorvane.ini"), ini);
  std::vector<std::string> before = readable_names(reference.file(L"Lorvane.ini"));

  const lorvane::harness::Process& program = copy.process();
  std::string failure;
  if (!copy.start(std::chrono::milliseconds(bound_ms))) {
    if (program.handle() == nullptr) return "cannot start";
    failure = program.running() ? "hang: no window" : "ended before its window";
  } else if (!lorvane::harness::send(copy.main(), WM_NULL, 0, 0, nullptr, bound_ms)) {
    failure = "hang: not answering (error " + std::to_string(::GetLastError()) + ")";
  } else if (!copy.close(std::chrono::milliseconds(bound_ms))) {
    failure = "hang: no exit";
  }
  if (failure.empty() && program.exit_code() != 0) {
    char text[64];
    std::snprintf(text, sizeof text, "crash: exit code 0x%08lX",
                  static_cast<unsigned long>(program.exit_code()));
    failure = text;
  }
  if (!failure.empty()) return failure;

  std::vector<std::string> after = readable_names(ini_path);
  if (after != before) {
    return "names changed: " + std::to_string(before.size()) + " readable before, " +
           std::to_string(after.size()) + " after";
  }
  return {};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: ini_fuzz <Lorvane.exe> [--seed S] [--files N] [--huge-every K] "
                 "[--keep-failures DIR]\n");
    return 2;
  }
  std::wstring exe = windows_path(argv[1]);
  std::uint32_t seed = 1;
  std::size_t files = 30;
  std::size_t huge_every = 0;
  std::wstring keep;
  std::wstring replay;
  for (int i = 2; i + 1 < argc; i += 2) {
    std::wstring option = argv[i];
    if (option == L"--seed")
      seed = static_cast<std::uint32_t>(std::wcstoul(argv[i + 1], nullptr, 10));
    if (option == L"--files") files = std::wcstoul(argv[i + 1], nullptr, 10);
    if (option == L"--huge-every") huge_every = std::wcstoul(argv[i + 1], nullptr, 10);
    if (option == L"--keep-failures") keep = argv[i + 1];
    if (option == L"--replay") replay = argv[i + 1];
  }
  if (!replay.empty()) {
    std::string failure = run_one(exe, read_bytes(windows_path(replay)));
    std::printf("%s\n", failure.empty() ? "1 passed, 0 failed" : ("replay: " + failure).c_str());
    return failure.empty() ? 0 : 1;
  }
  Generator generator(seed);
  std::size_t failed = 0;
  for (std::size_t i = 0; i < files; ++i) {
    bool huge = huge_every != 0 && i % huge_every == huge_every - 1;
    std::string ini = generator.file(huge);
    std::string failure = run_one(exe, ini);
    if (failure.empty()) continue;
    ++failed;
    std::printf("file %zu (seed %u): %s\n", i, seed, failure.c_str());
    if (!keep.empty())
      write_bytes(
          keep + L"\\failure-" + std::to_wstring(seed) + L"-" + std::to_wstring(i) + L".ini", ini);
  }
  std::printf("%zu passed, %zu failed\n", files - failed, failed);
  return failed == 0 ? 0 : 1;
}
