#!/usr/bin/env bash
# Fails when a C++ file is not formatted as the repository's .clang-format says, and names the
# places. Without arguments it checks every C++ file the repository tracks.
#   check-format.sh [FILE...]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if (($# == 0)); then
  mapfile -t files < <(git -C "$ROOT" ls-files '*.cpp' '*.h')
  set -- "${files[@]/#/$ROOT/}"
fi
(($# > 0)) || { echo "format: no files"; exit 1; }
clang-format --dry-run --Werror --style="file:$ROOT/.clang-format" "$@"
echo "format: $# files as .clang-format says"
