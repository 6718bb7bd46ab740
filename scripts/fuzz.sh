#!/usr/bin/env bash
# Hostile settings files at scale: FILES generated Lorvane.ini files (default 1000, one in 100 of
# about 10 MB), each run through the real Lorvane.exe. Failing files are kept in build/fuzz-failures.
#   fuzz.sh [FILES] [SEED]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
FILES=${1:-1000}
SEED=${2:-$(date +%s)}
source "$ROOT/scripts/lib.sh"
lorvane_build_and_wine_up Lorvane ini_fuzz
cd "$ROOT"
mkdir -p build/fuzz-failures
echo "fuzz: $FILES files, seed $SEED"
start=$(date +%s)
timeout 7200 wine "$BUILD/bin/ini_fuzz.exe" "$(winepath -w "$BUILD/bin/Lorvane.exe")" --seed "$SEED" \
  --files "$FILES" --huge-every 100 --keep-failures "$(winepath -w build/fuzz-failures)" \
  </dev/null 2>&1 | tr -d '\r'
echo "fuzz: $(($(date +%s) - start)) s"
