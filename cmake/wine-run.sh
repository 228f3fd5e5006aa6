#!/bin/sh
# Runs a Windows program under Wine, in the repository's prefix for the virtual display unless
# WINEPREFIX says otherwise. Windows need an X display: ./test.sh provides a virtual one.
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:=$(dirname "$here")/build/wineprefix-headless}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

# A Wine server that outlives each program, so that a program never starts while the server of the
# one before is shutting down ("wine client error: recvmsg"). A server already running is kept;
# a new one ends by itself a minute after its last program.
wineserver -p60 >/dev/null 2>&1 </dev/null

# Wine may start its own background services from this program, and they would inherit and hold
# open whatever pipe our output goes to, so a caller reading it would wait for ever. The program
# writes to files instead, passed on once it has ended.
out=$(mktemp) err=$(mktemp)
wine "$@" >"$out" 2>"$err" </dev/null
status=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $status
