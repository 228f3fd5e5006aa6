#!/usr/bin/env bash
# Starts the program under Wine with its DLL loads traced and fails if a cryptographic DLL loaded
# before the main window was up. Before WinMain restricts the DLL search to the system folder, a DLL
# that is not one of the system's known DLLs and is loaded by name is looked for first in the
# program's own folder, where a planted one could wait; none of these has any business loading then.
# Reads build/mingw/trazos.exe, or the program given. ./test.sh runs it on its virtual display and
# Wine prefix; run alone, it starts them itself.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/mingw/trazos.exe}
[ -f "$program" ] || { echo "trazos: no $program; build it with: cmake --build --preset mingw" >&2; exit 1; }
if [ -z "${DISPLAY:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
    source "$root/cmake/setup.sh"
    trazos_start_display 1024x768
    trazos_prepare_wine headless
fi
log=$(mktemp)
trap 'rm -f "$log"; [ -z "${TRAZOS_XVFB_PID:-}" ] || trazos_stop_display' EXIT
cryptographic="bcrypt crypt32 rsaenh cryptsp cryptbase ncrypt dssenh"

# Wine's services, started with the first program of a session, write to the same log: +pid tells
# the program's lines from theirs.
WINEDEBUG=+pid,+loaddll wine "$program" >/dev/null 2>"$log" </dev/null &
started=$!
window=no
for tries in $(seq 300); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Trazos' && { window=yes; break; }
    kill -0 "$started" 2>/dev/null || break
    sleep 0.1
done
before_window=$(cat "$log")
# Wine ends a program on SIGTERM; one that ignored it would hold up the run, so it is killed then.
kill "$started" 2>/dev/null
for tries in $(seq 100); do
    kill -0 "$started" 2>/dev/null || break
    sleep 0.1
done
kill -KILL "$started" 2>/dev/null
wait "$started" 2>/dev/null

process=$(grep -m 1 -iE "trace:loaddll:.*Loaded L\".*\\\\${program##*/}\"" <<<"$before_window" | cut -d: -f1)
[ -n "$process" ] || { echo "trazos: ${program##*/} did not start under Wine (no load traced for it)" >&2; exit 1; }
[ "$window" = yes ] || { echo "trazos: ${program##*/}'s main window did not appear within 30 seconds" >&2; exit 1; }
loaded=$(grep "^$process:[0-9a-f]*:trace:loaddll:.*Loaded L\"" <<<"$before_window" |
    sed -E 's/.*Loaded L"([^"]*\\)?([^"\\]*)".*/\2/' | tr '[:upper:]' '[:lower:]' | awk '!seen[$0]++')
# Every Windows program loads KERNEL32 before any code of its own runs: a list without it means
# that this Wine words its trace otherwise, and the list below proves nothing.
grep -qx kernel32.dll <<<"$loaded" ||
    { echo "trazos: the trace of ${program##*/}'s start names no kernel32.dll; it cannot tell what loaded" >&2; exit 1; }
found=""
for dll in $cryptographic; do
    grep -qx "$dll.dll" <<<"$loaded" && found+="$dll.dll "
done
if [ -n "$found" ]; then
    echo "trazos: NO: before its main window was up, ${program##*/} loaded the cryptographic DLLs ${found% }"
    exit 1
fi
echo "trazos: before its main window was up, ${program##*/} loaded no cryptographic DLL; it loaded" $(grep -v -x "${program##*/}" <<<"$loaded" | tr '\n' ' ')
