#!/usr/bin/env bash
# CMAKE_CROSSCOMPILING_EMULATOR: runs one Windows test program under Wine. stdin is closed so
# that nothing waits on it.
#
# A test that ctest runs with a Wine worker of its own (the resource file of the build folder,
# as `ctest --preset mingw` and scripts/test.sh use it) runs in that worker's prefix on that
# worker's display (scripts/wine-env.sh, lorvane_worker_up), brought up here the first time it is
# needed. Everything else (the listing of a program's tests, ctest without that file, a script of
# its own) runs in the project's prefix from scripts/wine-env.sh, which this brings up, once,
# when nothing has yet.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"
worker=
if [[ -n ${LORVANE_WORKERS_DIR:-} && ${CTEST_RESOURCE_GROUP_0_WINE:-} =~ ^id:([0-9]+), ]]; then
  worker=$LORVANE_WORKERS_DIR/${BASH_REMATCH[1]}
  lorvane_worker_up "$worker" || exit 1
  # Shown by ctest with the output of a test that fails.
  echo "wine-run: Wine worker ${worker##*/} on display $DISPLAY; its log: $worker/worker.log" >&2
elif ! lorvane_display || ! lorvane_desktop_alive; then
  lorvane_wine_up >&2 || exit 1
fi
exec timeout "${LORVANE_TEST_TIMEOUT:-600}" wine "$@" </dev/null
