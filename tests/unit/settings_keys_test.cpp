#include <gtest/gtest.h>

#include <climits>

#include "settings/settings_file.h"

namespace lorvane::settings {
namespace {

TEST(ClassKey, PlainDecimalPositionAfterThePrefix) {
  EXPECT_EQ(class_key(0), L"クラス名0");
  EXPECT_EQ(class_key(9), L"クラス名9");
  EXPECT_EQ(class_key(10), L"クラス名10");
  EXPECT_EQ(class_key(INT32_MAX), L"クラス名2147483647");
}

TEST(ClassKey, PositionOfACanonicalKey) {
  EXPECT_EQ(class_key_position(L"クラス名0"), 0);
  EXPECT_EQ(class_key_position(L"クラス名10"), 10);
  EXPECT_EQ(class_key_position(L"クラス名2147483647"), INT32_MAX);
  for (std::int32_t k : {1, 99, 256, 1000000}) EXPECT_EQ(class_key_position(class_key(k)), k);
}

TEST(ClassKey, EveryOtherFormIsNoClassKey) {
  for (const wchar_t* key : {
           L"クラス名01",
           L"クラス名00",
           L"クラス名-1",
           L"クラス名+1",
           L"クラス名",
           L"クラス名1a",
           L"クラス名 1",
           L"クラス名1 ",
           L"クラス名１",
           L"クラス名0x1",
           L"クラス名2147483648",
           L"クラス名4294967296",
           L"クラス名99999999999",
           L"クラス名0000000001",
           L"クラス1",
           L"くらす名1",
           L" クラス名1",
           L"登録数",
           L"前面表示設定",
           L"",
       }) {
    EXPECT_FALSE(class_key_position(key)) << testing::PrintToString(std::wstring(key));
  }
}

}  // namespace
}  // namespace lorvane::settings
