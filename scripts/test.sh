#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite: the platform-free
# logic natively under AddressSanitizer and UndefinedBehaviorSanitizer (with a short fuzz run),
# then unit tests, in-process tests of the real main window, end-to-end tests of the real
# Lorvane.exe, hostile settings files and the release checks, all under Wine on a private display,
# and the formatting of every tracked C++ file (clang-format). The tests under Wine run side by
# side, one Wine worker each (cmake/wine-run.sh): one more worker than the machine has cores,
# or LORVANE_WINE_WORKERS of them.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/scripts/lib.sh"
lorvane_setup
bash "$ROOT/scripts/host-tests.sh"
lorvane_build_and_wine_up
cd "$ROOT"
workers_file=$BUILD/wine-workers.json
workers=$(grep -c '"id"' "$workers_file")
echo "test: $workers Wine workers side by side (logs: $BUILD/wine-workers/N/worker.log)"
ctest --preset mingw --test-dir "$BUILD" --resource-spec-file "$workers_file" -j "$workers" "$@"
