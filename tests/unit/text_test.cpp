#include "platform/text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace lorvane::platform::text {
namespace {

// Every case here is about Shift-JIS; scripts/wine-env.sh sets the Japanese locale for that.
class AnsiText : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(::GetACP(), 932u) << "the tests need the Japanese locale"; }
};

TEST_F(AnsiText, JapaneseRoundTripIncludingTrailByte5C) {
  // 表 and ソ end in 0x5C, the byte of the backslash.
  const std::string bytes = "\x95\x5C\x8E\xA6\x83\x5C\x83\x74\x83\x67";
  EXPECT_EQ(to_ansi(L"表示ソフト"), bytes);
  EXPECT_EQ(from_ansi(bytes), L"表示ソフト");
  EXPECT_EQ(to_ansi(L"Player表\\x"), "Player\x95\x5C\\x");
  EXPECT_EQ(from_ansi("\xC3\xBD\xC4"), L"ﾃｽﾄ");  // single-byte katakana
  EXPECT_EQ(from_ansi(""), L"");
  EXPECT_EQ(to_ansi(L""), "");
}

TEST_F(AnsiText, BufferEndsAtItsFirstZeroByte) {
  const char filled[] = "ab\x95\x5C\0stale";
  EXPECT_EQ(from_ansi_buffer(filled, sizeof filled), L"ab表");
  const char empty[8] = {};
  EXPECT_EQ(from_ansi_buffer(empty, sizeof empty), L"");
  // No zero at all: the whole buffer, nothing beyond it.
  const char full[] = {'x', 'y', '\x95', '\x5C'};
  EXPECT_EQ(from_ansi_buffer(full, sizeof full), L"xy表");
}

TEST_F(AnsiText, UndecodableBytesComeBackExactly) {
  const std::string damaged[] = {
      "\x81",                      // a lone lead byte at the end
      "abc\x81",                   // the same after text
      "\x81\x20",                  // a lead byte with a trail byte out of range
      "\x81\x20\x81\x40",          // then a valid pair (full-width space)
      "\x95\x5C\x81\x31\x95\x5C",  // a lead byte before a digit, between two 表
      "\x95",                      // the first half of 表 cut off by the buffer
      "\xFF",
      "\xA0",
      "\x80",
      "\xFD\xFE",
  };
  for (const std::string& bytes : damaged) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    EXPECT_EQ(to_ansi(from_ansi(bytes)), bytes);
  }
}

TEST_F(AnsiText, DamageStaysLocal) {
  // 0x81 is a lead byte, but a space cannot follow it: the lead byte alone is kept, and the
  // characters on either side decode as usual.
  std::wstring text = from_ansi("A\x81 B\x95\x5C");
  ASSERT_EQ(text.size(), 5u);
  EXPECT_EQ(text[0], L'A');
  EXPECT_EQ(text.substr(2), L" B表");
  // The kept byte is not mistaken for a character the code page has.
  EXPECT_EQ(to_ansi(text.substr(1, 1)), "\x81");
}

}  // namespace
}  // namespace lorvane::platform::text
