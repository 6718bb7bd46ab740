// The resolution functions of Windows 10 are found by name at run time: a misspelt or mismatched
// name would silently send every system down the older way.
#include "platform/dpi.h"

#include <gtest/gtest.h>

#include "harness/lorvane_harness.h"

namespace lorvane::platform {
namespace {

using Generic = void (*)();

TEST(DpiFunctions, EachIsTheFunctionOfItsNameWhereTheSystemHasIt) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  ASSERT_NE(user32, nullptr);
  auto exported = [&](const char* name) {
    return reinterpret_cast<Generic>(::GetProcAddress(user32, name));
  };
  const DpiFunctions& found = DpiFunctions::of_system();
  EXPECT_EQ(reinterpret_cast<Generic>(found.get_dpi_for_system), exported("GetDpiForSystem"));
  EXPECT_EQ(reinterpret_cast<Generic>(found.get_dpi_for_window), exported("GetDpiForWindow"));
  EXPECT_EQ(reinterpret_cast<Generic>(found.adjust_window_rect_ex_for_dpi),
            exported("AdjustWindowRectExForDpi"));
  EXPECT_EQ(reinterpret_cast<Generic>(found.system_parameters_info_for_dpi),
            exported("SystemParametersInfoForDpi"));
  if (harness::running_under_wine()) {
    // Wine 8 has all four, as Windows 10 1607 does: the tests of the window run the newer way,
    // and take the older one only with a table of nulls.
    EXPECT_NE(found.get_dpi_for_system, nullptr);
    EXPECT_NE(found.get_dpi_for_window, nullptr);
    EXPECT_NE(found.adjust_window_rect_ex_for_dpi, nullptr);
    EXPECT_NE(found.system_parameters_info_for_dpi, nullptr);
  }
}

}  // namespace
}  // namespace lorvane::platform
