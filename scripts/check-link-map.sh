#!/usr/bin/env bash
# Reads the link map of Lorvane.exe (or of any program linked as it is) and fails when the C++
# exception machinery or the threads library is linked in: the runtime's throw (___cxa_throw),
# the unwinder (_Unwind_*) or winpthreads (pthread_*). The exe is built to carry none of them.
#   check-link-map.sh MAP
set -euo pipefail
map=${1:?usage: check-link-map.sh MAP}
[[ -s $map ]] || { echo "link map: $map is missing or empty"; exit 1; }
grep -q '^Linker script and memory map' "$map" || { echo "link map: $map is no link map"; exit 1; }
# What went into the program: the map without its list of discarded sections and the names of
# the libraries searched.
linked=$(awk '/^Discarded input sections/ { skip = 1 } /^Memory Configuration/ { skip = 0 }
              !skip && !/^LOAD /' "$map")
found=$(grep -oE '_cxa_throw|_Unwind_[A-Za-z_]+|pthread_[A-Za-z_]+' <<<"$linked" | sort -u || true)
if [[ -n $found ]]; then
  echo "link map: $map links what the program must not carry:"
  for kind in _cxa_throw _Unwind_ pthread_; do
    names=$(grep -- "^$kind" <<<"$found" || true)
    [[ -z $names ]] || echo "link map:   $(wc -l <<<"$names") names like $kind: $(head -n 3 <<<"$names" | tr '\n' ' ')"
  done
  exit 1
fi
echo "link map: $map links no ___cxa_throw, _Unwind_ or pthread_"
