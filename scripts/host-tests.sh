#!/usr/bin/env bash
# The platform-free logic on this machine: builds it with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, runs its unit tests and a short libFuzzer run (preset
# "host-sanitize", build/host). Installs what is missing first (scripts/setup.sh: Debian, as root).
# Extra arguments go to ctest.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

source "$ROOT/scripts/lib.sh"
lorvane_setup

cd "$ROOT"
cmake --preset host-sanitize >/dev/null
cmake --build --preset host-sanitize
ctest --preset host-sanitize -j2 "$@"
