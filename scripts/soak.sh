#!/usr/bin/env bash
# The long run (not a CI test): MINUTES of control (default 10) with 20 registered classes, random
# target windows, alternating idle and active periods and one hung target. Prints the program's
# CPU time, handles, GUI objects and private memory at the start and at the end.
#   soak.sh [MINUTES]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
MINUTES=${1:-10}
source "$ROOT/scripts/lib.sh"
lorvane_build_and_wine_up Lorvane soak
cd "$ROOT"
timeout $((MINUTES * 60 + 300)) wine "$BUILD/bin/soak.exe" "$(winepath -w "$BUILD/bin/Lorvane.exe")" \
  --minutes "$MINUTES" </dev/null 2>&1 | tr -d '\r'
