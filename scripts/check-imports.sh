#!/usr/bin/env bash
# The exe must run on a bare Windows: it may import system DLLs only.
#   check-imports.sh <Lorvane.exe>
set -euo pipefail
exe=$1
allowed='^(KERNEL32|USER32|GDI32|SHELL32|ADVAPI32|COMCTL32|msvcrt|api-ms-win-crt-[a-z0-9-]+)\.dll$'
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[[ -n $dlls ]] || { echo "check-imports: no import table read from $exe"; exit 1; }
bad=0
while read -r dll; do
  if [[ $dll =~ $allowed ]]; then echo "import: $dll"; else echo "import NOT ALLOWED: $dll"; bad=1; fi
done <<<"$dlls"
exit $bad
