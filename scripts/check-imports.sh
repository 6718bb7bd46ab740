#!/usr/bin/env bash
# The exe must load on a bare Windows 7 SP1: it may import only DLLs that ship with it, and no
# function that came later (those are looked up at run time, where they exist).
#   check-imports.sh <exe>
# Lists every import; exits 1 if any is not allowed, or if no import table can be read.
set -euo pipefail
exe=$1

# System DLLs of Windows 7 SP1. Not api-ms-win-* nor ucrtbase: Windows 7 has them only with the
# Universal C Runtime update.
allowed_dll='^(kernel32|user32|gdi32|shell32|advapi32|comctl32|comdlg32|ole32|oleaut32|shlwapi|uxtheme|version|winmm|msvcrt)\.dll$'

# Functions added after Windows 7 SP1: the resolution (DPI) family of Windows 8.1 and 10, and
# others that runtimes like to use when they find them.
newer_function='(ForDpi$|^GetDpiFor|DpiAwarenessContext|^(Set|Get)ProcessDpiAwareness$'
newer_function+='|^EnableNonClientDpiScaling$|^GetSystemTimePreciseAsFileTime$|^CreateFile2$'
newer_function+='|^(Set|Get)ThreadDescription$|^WaitOnAddress$|^WakeByAddress(Single|All)$'
newer_function+='|^SetDefaultDllDirectories$|^(Add|Remove)DllDirectory$'
newer_function+='|^GetCurrentThreadStackLimits$|^(Set|Get)ProcessMitigationPolicy$'
newer_function+='|^PrefetchVirtualMemory$|^SetCoalescableTimer$)'

# "DLL Name: X" starts a DLL's list; each import follows as "<vma> <hint> <name>".
listing=$(i686-w64-mingw32-objdump -p "$exe" | awk '
  /^[ \t]*DLL Name: / { dll = $3; print "dll " dll; next }
  /^[ \t]*$/ { dll = "" }
  dll != "" && /^[ \t]*[0-9a-f]+[ \t]+[0-9]+([ \t]|$)/ { print "fn " dll " " ($3 == "" ? "<ordinal " $2 ">" : $3) }
')
grep -q '^dll ' <<<"$listing" || { echo "check-imports: no import table read from $exe"; exit 1; }

bad=0
while read -r kind dll name; do
  lower=${dll,,}
  if [[ $kind == dll ]]; then
    if [[ $lower =~ $allowed_dll ]]; then echo "import: $dll"; else echo "import NOT ALLOWED: $dll"; bad=1; fi
  elif [[ $name == "<ordinal"* || $name =~ $newer_function ]]; then
    echo "import NOT ALLOWED: $dll $name (not in Windows 7 SP1)"
    bad=1
  fi
done <<<"$listing"
functions=$(grep -c '^fn ' <<<"$listing" || true)
echo "check-imports: $functions functions checked"
exit $bad
