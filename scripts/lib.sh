#!/usr/bin/env bash
# Sourced by the scripts that build and run the program under Wine: the packages, the build
# folder, a build of the targets they name, and the Wine prefix on its display.
#   LORVANE_BUILD_DIR     the cross-build's folder (default build/mingw, the preset's own)
#   LORVANE_WINE_WORKERS  how many tests run side by side under Wine (default: one more than the
#                         cores)
ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
BUILD=${LORVANE_BUILD_DIR:-$ROOT/build/mingw}

# Installs what is missing, once for a script and the scripts it starts.
lorvane_setup() {
  [[ ${LORVANE_SETUP_DONE:-} == 1 ]] && return 0
  bash "$ROOT/scripts/setup.sh"
  export LORVANE_SETUP_DONE=1
}

# Installs what is missing, configures the cross-build in $BUILD and builds the targets named
# (everything when none is), then brings up Wine with its display.
lorvane_build_and_wine_up() {
  lorvane_setup
  cmake --preset mingw -S "$ROOT" -B "$BUILD" -DLORVANE_WINE_WORKERS="${LORVANE_WINE_WORKERS:-}" \
    >/dev/null
  if (($#)); then
    cmake --build "$BUILD" --target "$@"
  else
    cmake --build "$BUILD"
  fi
  source "$ROOT/scripts/wine-env.sh"
  lorvane_wine_up
}
