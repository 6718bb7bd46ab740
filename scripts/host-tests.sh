#!/usr/bin/env bash
# The platform-free logic on this machine: builds it with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, runs its unit tests and a short libFuzzer run (preset
# "host-sanitize", build/host). Installs what is missing first (Debian, as root).
# Extra arguments go to ctest.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
updated=0
install() {
  local need=()
  for p in "$@"; do have_pkg "$p" || need+=("$p"); done
  ((${#need[@]})) || return 0
  echo "host-tests: installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ((!updated)); then apt-get update -qq; updated=1; fi
  apt-get install -y -qq "${need[@]}" >/dev/null
}

install cmake ninja-build clang googletest
# libFuzzer and the sanitizer runtimes come in a package of their own for the installed clang.
clang_major=$(clang++ -dumpversion | cut -d. -f1)
if apt-cache show "libclang-rt-$clang_major-dev" >/dev/null 2>&1 ||
   have_pkg "libclang-rt-$clang_major-dev"; then
  install "libclang-rt-$clang_major-dev"
fi

cd "$ROOT"
cmake --preset host-sanitize >/dev/null
cmake --build --preset host-sanitize
ctest --preset host-sanitize -j2 "$@"
