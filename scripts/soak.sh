#!/usr/bin/env bash
# The long run (not a CI test): MINUTES of control (default 10) with 20 registered classes, random
# target windows, alternating idle and active periods and one hung target. Prints the program's
# CPU time, handles, GUI objects and private memory at the start and at the end.
#   soak.sh [MINUTES]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
MINUTES=${1:-10}
bash "$ROOT/scripts/setup.sh"
cd "$ROOT"
BUILD=${LORVANE_BUILD_DIR:-build/mingw}
cmake --preset mingw -B "$BUILD" >/dev/null
cmake --build "$BUILD" --target Lorvane soak
source "$ROOT/scripts/wine-env.sh"
lorvane_wine_up
timeout $((MINUTES * 60 + 300)) wine "$BUILD/bin/soak.exe" "$(winepath -w "$BUILD/bin/Lorvane.exe")" \
  --minutes "$MINUTES" </dev/null 2>&1 | tr -d '\r'
