#include "platform/tray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace lorvane::platform::tray {
namespace {

// The handles only need to be recognisable in the bytes.
HWND const window = reinterpret_cast<HWND>(std::uintptr_t{0x00012345});
HICON const icon = reinterpret_cast<HICON>(std::uintptr_t{0x0ABCDEF0});

std::string bytes_of(const NOTIFYICONDATAA& record, std::size_t from, std::size_t count) {
  std::string out(count, '\0');
  std::memcpy(out.data(), reinterpret_cast<const char*>(&record) + from, count);
  return out;
}

std::uint32_t dword_at(const NOTIFYICONDATAA& record, std::size_t offset) {
  std::uint32_t value;
  std::memcpy(&value, reinterpret_cast<const char*>(&record) + offset, sizeof value);
  return value;
}

// The record is read by its offsets in the first shell version's 32-bit layout, whatever the
// header's newer fields add behind it.
void expect_common_fields(const NOTIFYICONDATAA& record) {
  static_assert(sizeof(void*) == 4, "the 88-byte record is the 32-bit one");
  EXPECT_EQ(dword_at(record, 0), 88u);
  EXPECT_EQ(dword_at(record, 4), 0x00012345u);
  EXPECT_EQ(dword_at(record, 8), 0u);
  EXPECT_EQ(dword_at(record, 12), 7u);
  EXPECT_EQ(dword_at(record, 20), 0x0ABCDEF0u);
  // Built afresh: nothing behind the first 88 bytes.
  EXPECT_EQ(bytes_of(record, 88, sizeof record - 88), std::string(sizeof record - 88, '\0'));
}

TEST(TrayRecord, AddRecord) {
  NOTIFYICONDATAA record = add_record(window, icon);
  expect_common_fields(record);
  EXPECT_EQ(dword_at(record, 16), 0x200u);
  EXPECT_EQ(bytes_of(record, 24, 64), std::string("Lorvane", 8) + std::string(56, ' '));
}

TEST(TrayRecord, DeleteRecord) {
  NOTIFYICONDATAA record = delete_record(window, icon);
  expect_common_fields(record);
  EXPECT_EQ(dword_at(record, 16), 0u);
  EXPECT_EQ(bytes_of(record, 24, 64), std::string(64, ' '));
}

}  // namespace
}  // namespace lorvane::platform::tray
