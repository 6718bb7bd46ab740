#include "app/single_copy.h"

#include <cstdint>

#include "platform/decimal.h"
#include "platform/file_probe.h"

namespace lorvane::app {
namespace {

constexpr DWORD poll_ms = 50;
// A copy that holds the file is given this long to show its main window.
constexpr DWORD patience_ms = 10000;

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

}  // namespace

std::wstring copy_name(const std::wstring& settings_path) {
  std::wstring path = settings_path;
  // The folder exists by now (the file may not): its long form stands for all its spellings.
  std::size_t slash = path.find_last_of(L'\\');
  if (slash != std::wstring::npos) {
    if (auto folder = platform::file_probe::long_path(path.substr(0, slash))) {
      path = *folder + path.substr(slash);
    }
  }
  // Per session: the copies that would share the file are the user's.
  return L"Local\\Lorvane-" + hex(fnv1a(platform::running_copy::upper_case(path))) + L"-" +
         platform::decimal_text(static_cast<std::int32_t>(path.size()));
}

SettingsClaim::SettingsClaim(const std::wstring& settings_path)
    : name_(copy_name(settings_path)), mutex_(name_) {}

bool SettingsClaim::take() {
  // A copy that is still starting publishes its window a moment later; one that ends meanwhile
  // leaves the file to this one.
  const UINT bring_back_message = ::RegisterWindowMessageW(bring_back_message_name);
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < patience_ms) {
    if (mutex_.take(poll_ms)) {
      slot_.emplace(window_slot_name(name_));
      return true;
    }
    // A window that goes before it answers belonged to a copy that is ending: wait for the file.
    HWND running = platform::running_copy::published_window(window_slot_name(name_));
    if (running != nullptr && platform::running_copy::bring_back(running, bring_back_message)) {
      return false;
    }
  }
  // A copy holds the file but shows no window: leave the file to it all the same.
  return false;
}

void SettingsClaim::publish(HWND main_window) {
  if (slot_) slot_->publish(main_window);
}

}  // namespace lorvane::app
