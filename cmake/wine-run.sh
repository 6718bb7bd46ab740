#!/usr/bin/env bash
# CMAKE_CROSSCOMPILING_EMULATOR: runs one Windows test program under the project's Wine prefix.
# The environment comes from scripts/wine-env.sh; stdin is closed so that nothing waits on it.
exec timeout "${LORVANE_TEST_TIMEOUT:-600}" wine "$@" </dev/null
