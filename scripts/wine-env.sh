#!/usr/bin/env bash
# Sourced by the run and test scripts: a private Wine prefix on a private display, with the
# Japanese ANSI code page (932) and Wine's virtual desktop, booted once and kept running.
ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

# A display of our own, unless one is already given.
lorvane_display() {
  if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then return; fi
  local n=${LORVANE_DISPLAY_NUMBER:-77}
  while [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]]; do
    if DISPLAY=:$n xdpyinfo >/dev/null 2>&1; then export DISPLAY=:$n; return; fi
    n=$((n + 1))
  done
  Xvfb ":$n" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
  export DISPLAY=:$n
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
  echo "wine-env: Xvfb on $DISPLAY did not come up" >&2
  return 1
}

# Whether the virtual desktop of this prefix is up (its explorer.exe runs).
lorvane_desktop_alive() {
  local pid
  for pid in $(pgrep -f 'explorer.exe /desktop' 2>/dev/null); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}

# Boots the prefix once; after that the wineserver stays up so that each program starts fast.
lorvane_wine_up() {
  lorvane_display || return 1
  mkdir -p "$(dirname "$WINEPREFIX")"
  local fresh=0
  [[ -f $WINEPREFIX/system.reg ]] || fresh=1
  wineserver -p >/dev/null 2>&1 </dev/null || true
  timeout 300 wine wineboot -u </dev/null >/dev/null 2>&1 || true
  if ((fresh)) || ! grep -q '"Default"="1024x768"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    # Wine's virtual desktop: message boxes and the notification area behave as on Windows,
    # and no window close stalls for lack of a window manager.
    timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1 || true
    timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >/dev/null 2>&1 || true
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    wineserver -p >/dev/null 2>&1 </dev/null || true
    timeout 120 wine wineboot </dev/null >/dev/null 2>&1 || true
  fi
  if ! lorvane_desktop_alive; then
    # The desktop in a session of its own: when a test's process group ends, the desktop that
    # the first window of the test would have started ends with it, and later windows fail.
    (setsid wine explorer.exe /desktop=Default,1024x768 </dev/null >/dev/null 2>&1 &)
    local _
    for _ in $(seq 100); do lorvane_desktop_alive && break; sleep 0.1; done
  fi
  if ! grep -q 'ShowCrashDialog' "$WINEPREFIX/user.reg" 2>/dev/null; then
    # A crash ends the process with its exception code instead of waiting in a dialog.
    timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      </dev/null >/dev/null 2>&1 || true
  fi
  if ! grep -q 'IPAPGothic' "$WINEPREFIX/user.reg" 2>/dev/null; then
    # Without Windows' Japanese fonts, the faces the program asks for are drawn with the IPA
    # fonts: proportional where the Windows face is proportional.
    local face
    for face in 'ＭＳ Ｐゴシック' 'MS PGothic' 'MS UI Gothic'; do
      timeout 60 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d IPAPGothic /f \
        </dev/null >/dev/null 2>&1 || true
    done
    for face in 'ＭＳ ゴシック' 'MS Gothic'; do
      timeout 60 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d IPAGothic /f \
        </dev/null >/dev/null 2>&1 || true
    done
  fi
}

# One Wine worker of the tests that run side by side, in the folder given: a copy of the
# project's prefix with its own wineserver, its own Xvfb and its own virtual desktop, so that no
# window, input, foreground or file of one worker reaches another. Their output goes to the
# folder's worker.log. Brought up once, under a lock; later calls only check that it still runs.
# Sets WINEPREFIX and DISPLAY to the worker's; an inherited DISPLAY is never taken.
lorvane_worker_up() {
  local dir template=$WINEPREFIX n pid _
  mkdir -p "$1"
  dir=$(cd "$1" && pwd)
  local log=$dir/worker.log
  exec 9>"$dir/lock"
  flock 9
  export WINEPREFIX=$dir/prefix
  unset DISPLAY
  # The worker's own Xvfb, if it still runs: the process recorded, answering on the number it
  # took. -displayfd lets the server take the first free number itself, so that two workers,
  # of this clone or another, never race for one.
  pid=$(cat "$dir/xvfb.pid" 2>/dev/null) n=$(cat "$dir/display" 2>/dev/null)
  if [[ -n $pid && -n $n && $(cat "/proc/$pid/comm" 2>/dev/null) == Xvfb ]] &&
    DISPLAY=:$n xdpyinfo >/dev/null 2>&1; then
    export DISPLAY=:$n
  else
    : >"$dir/display"
    setsid Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp \
      3>"$dir/display" </dev/null >>"$log" 2>&1 9>&- &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 100); do [[ $(cat "$dir/display") == *$'\n' ]] && break; sleep 0.1; done
    n=$(tr -d '\n' <"$dir/display")
    if [[ -z $n ]]; then
      echo "wine-env: the Xvfb of worker $dir did not come up (log: $log)" >&2
      exec 9>&-
      return 1
    fi
    export DISPLAY=:$n
  fi
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    lorvane_worker_template "$(dirname "$dir")/template" "$template" || { exec 9>&-; return 1; }
    # Wine's own programs and libraries are linked to the copy, not copied: they take most of
    # the 600 MB, and nothing runs in the copy to change them. Every other file is the worker's own.
    rm -rf "$WINEPREFIX.new"
    cp -al "$(dirname "$dir")/template" "$WINEPREFIX.new" &&
      find "$WINEPREFIX.new" -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' \
        -o -iname '*.sys' -o -iname '*.ocx' -o -iname '*.acm' -o -iname '*.cpl' -o -iname '*.tlb' \) \
        -exec sh -c 'for f; do cp -p "$f" "$f.own" && mv "$f.own" "$f"; done' sh {} + &&
      mv "$WINEPREFIX.new" "$WINEPREFIX"
  fi
  # The desktop may be closing as it is looked at (Wine closes it once its last program has
  # ended): a desktop seen and then gone is started again, a few times before the worker gives up.
  local try
  for try in 1 2 3; do
    if ! lorvane_desktop_alive; then
      # The server first, so that neither it nor Wine's services hold the test's output open.
      # On a loaded machine a start has taken over ten seconds.
      wineserver -p </dev/null >>"$log" 2>&1 9>&- || true
      timeout 120 wine wineboot </dev/null >>"$log" 2>&1 9>&- || true
      (setsid wine explorer.exe /desktop=Default,1024x768 </dev/null >>"$log" 2>&1 9>&- &)
      for _ in $(seq 600); do lorvane_desktop_alive && break; sleep 0.1; done
    fi
    lorvane_desktop_alive && break
    echo "wine-env: the desktop of worker $dir was gone after try $try" >>"$log"
  done
  exec 9>&-
  lorvane_desktop_alive || { echo "wine-env: no desktop in worker $dir (log: $log)" >&2; return 1; }
}

# The copy the workers' prefixes are made from, once: the project's prefix booted, its
# wineserver stopped so that the whole registry is on disk, and the prefix copied. A copy, since
# the project's prefix is booted again and again (wineboot -u rewrites Wine's libraries in place).
lorvane_worker_template() {
  local copy=$1 template=$2
  exec 8>"$copy.lock"
  flock 8
  if [[ ! -f $copy/system.reg ]]; then
    (
      export WINEPREFIX=$template
      lorvane_wine_up 8>&- 9>&- >/dev/null 2>&1
      wineserver -k </dev/null >/dev/null 2>&1 || true
      wineserver -w </dev/null >/dev/null 2>&1 || true
    )
    rm -rf "$copy.new"
    cp -a "$template" "$copy.new" && mv "$copy.new" "$copy"
  fi
  exec 8>&-
  [[ -f $copy/system.reg ]] || { echo "wine-env: no prefix to copy at $template" >&2; return 1; }
}
