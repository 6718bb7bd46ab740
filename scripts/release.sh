#!/usr/bin/env bash
# Builds the release ZIP, Lorvane-<version>-win32.zip, into the build folder's release/ and checks
# what it holds.
#   release.sh [build folder]      (default $LORVANE_BUILD_DIR, else build/mingw)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/scripts/lib.sh"
BUILD=${1:-$BUILD}
[[ -f $BUILD/CPackConfig.cmake ]] || { cmake --preset mingw -B "$BUILD" >/dev/null; }
cmake --build "$BUILD" --target Lorvane >/dev/null
OUT=$BUILD/release
mkdir -p "$OUT"
(cd "$OUT" && cpack --config "$BUILD/CPackConfig.cmake" -B "$OUT" >/dev/null)
# The name and the version come from the project's version, through the CPack configuration.
name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
zip=$OUT/$name.zip
[[ -n $name && -n $version && -f $zip ]] || { echo "release: no $name.zip"; exit 1; }
listing=$(unzip -Z1 "$zip")
for member in Lorvane.exe README.txt; do
  grep -q "/$member\$" <<<"$listing" || { echo "release: $member missing from $zip"; exit 1; }
done
# The read-me names the version it came with, after its byte-order mark.
first=$(unzip -p "$zip" "$name/README.txt" | head -n 1 | tr -d '\r')
[[ $first == $'\xEF\xBB\xBF'"Lorvane $version" ]] || { echo "release: read-me begins '$first'"; exit 1; }
echo "release: $zip"
sed 's/^/release:   /' <<<"$listing"
