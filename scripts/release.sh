#!/usr/bin/env bash
# Builds the release ZIP, Lorvane-<version>-win32.zip, into build/release and checks what it holds.
#   release.sh [build folder]      (default build/mingw)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-$ROOT/build/mingw}
[[ -f $BUILD/CPackConfig.cmake ]] || { cmake --preset mingw -B "$BUILD" >/dev/null; }
cmake --build "$BUILD" --target Lorvane >/dev/null
mkdir -p "$ROOT/build/release"
(cd "$ROOT/build/release" && cpack --config "$BUILD/CPackConfig.cmake" -B "$ROOT/build/release" >/dev/null)
zip=$(ls -t "$ROOT"/build/release/Lorvane-*-win32.zip | head -n 1)
listing=$(unzip -Z1 "$zip")
for member in Lorvane.exe README.txt; do
  grep -q "/$member\$" <<<"$listing" || { echo "release: $member missing from $zip"; exit 1; }
done
echo "release: $zip"
sed 's/^/release:   /' <<<"$listing"
