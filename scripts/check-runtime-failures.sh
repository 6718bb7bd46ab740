#!/usr/bin/env bash
# Every way the C++ runtime raises an exception must end a probe linked as Lorvane.exe is with the
# program's own exit code, and the probe must run normally when nothing is raised. The same probe
# linked as an ordinary program ends through the uncaught exception and abort (exit code 3): so
# the code tells the program's own end from an exception that got past it.
#   check-runtime-failures.sh RUNNER PROBE PLAIN_PROBE     (RUNNER runs a Windows program)
set -euo pipefail
runner=${1:?} probe=${2:?} plain=${3:?}
uncaught=3  # abort's exit code, where an uncaught exception ends
run() {
  code=0
  LORVANE_TEST_TIMEOUT=60 "$runner" "$1" "$2" >out.txt 2>&1 || code=$?
  out=$(tr -d '\r' <out.txt)
  echo "$(basename "$1") $2: exit code $code${out:+, $out}"
}
run "$probe" ran
[[ $code == 0 ]] && grep -q '^ran 2, ' <<<"$out" || { echo "the probe does not run"; exit 1; }
own=$(sed -n 's/.*runtime failures end with \([0-9]*\)$/\1/p' <<<"$out")
[[ -n $own && $own != "$uncaught" ]] || { echo "no exit code of the program's own: '$own'"; exit 1; }
for what in new allocator array vector wstring null substr map function; do
  run "$probe" "$what"
  [[ $code == "$own" ]] || { echo "$what: exit code $code, not the program's own $own"; exit 1; }
  run "$plain" "$what"
  [[ $code == "$uncaught" ]] || { echo "$what: linked plainly, exit code $code, not abort's"; exit 1; }
done
