#!/usr/bin/env bash
# Takes the README's pictures under Xvfb: the main window with a list, the About box and the
# selection wizard's first question, from the real Lorvane.exe. Writes docs/*.png.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/scripts/lib.sh"
lorvane_build_and_wine_up Lorvane screenshots
cd "$ROOT"
work=$(mktemp -d)
mkdir -p "$ROOT/docs"
timeout 120 wine "$BUILD/bin/screenshots.exe" "$(winepath -w "$BUILD/bin/Lorvane.exe")" \
  "$(winepath -w "$work")" </dev/null 2>&1 | tr -d '\r'
for name in main about wizard; do
  convert "$work/$name.bmp" "$ROOT/docs/$name.png"
  echo "screenshots: docs/$name.png"
done
rm -rf "$work"
