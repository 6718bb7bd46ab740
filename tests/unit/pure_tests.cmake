# The unit tests of platform-free logic: no windows.h, so tests/host also runs them natively
# under the sanitizers.
set(LORVANE_PURE_UNIT_TESTS
  decimal_test.cpp
  save_walk_test.cpp
  settings_choice_test.cpp
  list_edits_test.cpp
  idle_test.cpp
  click_delay_test.cpp
  full_screen_test.cpp
  layout_test.cpp
)
