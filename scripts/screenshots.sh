#!/usr/bin/env bash
# Takes the README's pictures under Xvfb: the main window with a list, the About box and the
# selection wizard's first question, from the real Lorvane.exe. Writes docs/*.png.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$ROOT/scripts/setup.sh"
cd "$ROOT"
BUILD=${LORVANE_BUILD_DIR:-build/mingw}
cmake --preset mingw -B "$BUILD" >/dev/null
cmake --build "$BUILD" --target Lorvane screenshots
source "$ROOT/scripts/wine-env.sh"
lorvane_wine_up
work=$(mktemp -d)
mkdir -p "$ROOT/docs"
timeout 120 wine "$BUILD/bin/screenshots.exe" "$(winepath -w "$BUILD/bin/Lorvane.exe")" \
  "$(winepath -w "$work/run")" "$(winepath -w "$work")" </dev/null 2>&1 | tr -d '\r'
for name in main about wizard; do
  convert "$work/$name.bmp" "$ROOT/docs/$name.png"
  echo "screenshots: docs/$name.png"
done
rm -rf "$work"
