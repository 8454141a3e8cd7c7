#!/usr/bin/env bash
# Runs one Win32 program under Wine on a private virtual X display.
# The Wine prefix is private to the build tree (LREVERB_WINEPREFIX); it is created on first use
# with window management off, so hiding a window does not stall without a window manager.
set -u
prefix=${LREVERB_WINEPREFIX:-${PWD}/wineprefix}
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="

if [[ ! -f $prefix/.ready ]]; then
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.lock"
  flock 9
  if [[ ! -f $prefix/.ready ]]; then
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$prefix/.ready"
  fi
  exec 9>&-
fi

# The server leaves as soon as the program does, so the X server is never pulled from under it.
exec xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
  wineserver -p0
  wine "$@"
  rc=$?
  wineserver -w
  exit $rc' wine-run "$@"
