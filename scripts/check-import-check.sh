#!/usr/bin/env bash
# The import check must reject an exe that imports functions newer than Windows 7 SP1 or a DLL it
# lacks, and name each of them. PROBE imports some of each.
#   check-import-check.sh PROBE
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
probe=${1:?usage: check-import-check.sh PROBE}
out=$(bash "$ROOT/scripts/check-imports.sh" "$probe") && { echo "accepted: $out"; exit 1; }
echo "$out"
for name in 'KERNEL32.dll GetSystemTimePreciseAsFileTime' 'USER32.dll GetDpiForSystem' \
            'SHCORE.dll GetDpiForMonitor' 'SHCORE.dll$'; do
  grep -q "NOT ALLOWED: $name" <<<"$out" || { echo "not rejected: $name"; exit 1; }
done
