#!/usr/bin/env bash
# Takes the README's pictures under Xvfb: the main window with a list, the About box and the
# selection wizard's first question, from the real Lorvane.exe; then the main window once more
# with the display at 144 dpi (Wine's LogPixels), as a monitor at 150 % shows it. Writes docs/*.png.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/scripts/lib.sh"
lorvane_build_and_wine_up Lorvane screenshots
cd "$ROOT"
work=$(mktemp -d)
mkdir -p "$ROOT/docs"

shoot() {
  timeout 120 wine "$BUILD/bin/screenshots.exe" "$(winepath -w "$BUILD/bin/Lorvane.exe")" \
    "$(winepath -w "$work")" "$@" </dev/null 2>&1 | tr -d '\r'
}

# The prefix's resolution; Wine reads it as it starts, so the server and the desktop start again.
set_resolution() {
  if [[ $1 == default ]]; then
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f </dev/null >/dev/null 2>&1 || true
  else
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
      </dev/null >/dev/null 2>&1
  fi
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
  lorvane_wine_up
}

shoot
for name in main about wizard; do
  convert "$work/$name.bmp" "$ROOT/docs/$name.png"
  echo "screenshots: docs/$name.png"
done

# The tests run at the default resolution: it comes back however this part ends.
trap 'set_resolution default; rm -rf "$work"' EXIT
set_resolution 144
shoot main-only
convert "$work/main.bmp" "$ROOT/docs/main-144dpi.png"
echo "screenshots: docs/main-144dpi.png"
