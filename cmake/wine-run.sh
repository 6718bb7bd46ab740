#!/usr/bin/env bash
# CMAKE_CROSSCOMPILING_EMULATOR: runs one Windows test program under the project's Wine prefix.
# The environment comes from scripts/wine-env.sh; when nothing has brought the prefix and its
# display up yet (ctest run on its own), this does, once. stdin is closed so that nothing waits
# on it.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"
if ! lorvane_display || ! lorvane_desktop_alive; then
  lorvane_wine_up >&2 || exit 1
fi
exec timeout "${LORVANE_TEST_TIMEOUT:-600}" wine "$@" </dev/null
