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
