#!/usr/bin/env bash
# Runs one Windows program under Wine on a private virtual X display.
# The loader matches the program: a 64-bit (PE32+) program needs Wine's 64-bit loader and server,
# called directly because the plain `wine` command prefers the 32-bit loader whenever installed.
# The Wine prefix is private to the build tree (LREVERB_WINEPREFIX); it is created on first use
# by the same loader, with window management off, so hiding a window does not stall without a
# window manager.
set -u
prefix=${LREVERB_WINEPREFIX:-${PWD}/wineprefix}
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="

# The optional header's magic: 10b for PE32, 20b for PE32+.
pe_magic() {
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null) || return
  od -An -tx2 -j$((header + 24)) -N2 "$1" 2>/dev/null | tr -d ' '
}

if [[ $(pe_magic "$1") == 020b ]]; then
  loader=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64
  export WINESERVER=$server
else
  loader=wine server=wineserver
fi

if [[ ! -f $prefix/.ready ]]; then
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.lock"
  flock 9
  if [[ ! -f $prefix/.ready ]]; then
    "$loader" wineboot -i >/dev/null 2>&1
    "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$server" -w
    touch "$prefix/.ready"
  fi
  exec 9>&-
fi

# The server leaves as soon as the program does, so the X server is never pulled from under it.
# A program that never reached the server (its loader failed to start) would leave it waiting
# for a first client forever, so after a grace period it is ended instead.
exec xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
  loader=$1 server=$2
  shift 2
  "$server" -p0
  "$loader" "$@"
  rc=$?
  timeout 30 "$server" -w || "$server" -k
  exit $rc' wine-run "$loader" "$server" "$@"
