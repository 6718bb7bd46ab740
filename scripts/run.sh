#!/usr/bin/env bash
# Builds Lorvane.exe and starts it under Wine, bringing up a display of its own when there is
# none. Leaves a screenshot of what it shows at the path it prints. Ctrl+C, or closing the
# window, ends it.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/scripts/lib.sh"
lorvane_build_and_wine_up Lorvane
cd "$ROOT"

# Lorvane keeps its settings beside the exe: run it from a folder of its own.
RUN_DIR=${LORVANE_RUN_DIR:-$ROOT/build/run}
mkdir -p "$RUN_DIR"
cp "$BUILD/bin/Lorvane.exe" "$RUN_DIR/"
echo "run: $RUN_DIR/Lorvane.exe on display $DISPLAY (settings: $RUN_DIR/Lorvane.ini)"
(cd "$RUN_DIR" && wine Lorvane.exe </dev/null >"$ROOT/build/run.log" 2>&1) &
pid=$!
shot=$ROOT/build/screenshot-main.png
sleep 3  # start-up takes well under a second; this leaves room for a cold Wine
import -window root -display "$DISPLAY" "$shot" 2>/dev/null || true
echo "run: screenshot of the display: $shot"
wait "$pid"
