#!/usr/bin/env bash
# Runs the scripts beside each other as a user may, and fails unless each stops only what it
# started: two virtual displays started at the same moment are two; a check run by hand, which
# starts and stops a display and Wine of its own, leaves this script's editor running; and of two
# editors started by ./run.sh on one desktop, closing the first leaves the second, and closing the
# second leaves no Wine of that prefix running a little later. Run by ./test.sh on its virtual
# display and Wine prefix, which stand for another script at work.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
[ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] ||
    { echo "trazos: run by ./test.sh, with its DISPLAY and WINEPREFIX" >&2; exit 1; }
work=$(mktemp -d)
status=0
fail() {
    echo "trazos: NO: $*"
    status=1
}
editors=()  # the Windows processes of the editors started here, ended on the way out
trap '[ ${#editors[@]} -eq 0 ] || kill "${editors[@]}" 2>/dev/null; rm -rf "$work"' EXIT

# The processes whose environment names the prefix: every Wine process of it, its server included.
wine_of() {
    grep -lzx "WINEPREFIX=$1" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3
}
# wait_for COUNT [SECONDS]: waits, 30 seconds or as long as given, until COUNT editor windows show.
wait_for() {
    local tries
    for tries in $(seq $((${2:-30} * 10))); do
        [ "$(xwininfo -root -children 2>/dev/null | grep -c '"Trazos')" -eq "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# Three displays started at one moment: each script waits for the word to go, then starts its own.
for one in 1 2 3; do
    (source "$root/cmake/setup.sh" && until [ -e "$work/go" ]; do sleep 0.01; done &&
        trazos_start_display 640x480 && echo "$DISPLAY" >"$work/display$one" && sleep 1) &
done
sleep 0.5
touch "$work/go"
wait
got=$(cat "$work"/display[123] 2>/dev/null | paste -sd ' ')
if [ "$(tr ' ' '\n' <<<"$got" | sort -u | grep -c .)" -eq 3 ]; then
    echo "trazos: three scripts that started displays at one moment got three: $got"
else
    fail "three scripts that started displays at one moment got $got as theirs"
fi

# A check run by hand beside this script's editor.
wine "$root/build/mingw/trazos.exe" >/dev/null 2>&1 </dev/null &
editors+=($!)
wait_for 1 || fail "this script's editor did not show"
(unset DISPLAY WINEPREFIX; "$root/cmake/check-start-up-loads.sh") >"$work/by-hand.log" 2>&1 ||
    { cat "$work/by-hand.log"; fail "the start-up check, run by hand beside this script, failed"; }
if kill -0 "${editors[0]}" 2>/dev/null && wait_for 1; then
    echo "trazos: a check run by hand, with a display and Wine of its own, left this script's editor running"
else
    fail "a check run by hand ended this script's editor"
fi
kill "${editors[0]}" 2>/dev/null
wait_for 0

# Two editors from ./run.sh on one desktop: this display stands for it. Each run.sh waits for its
# editor; the editor is the Windows process that run.sh started.
desktop=$root/build/wineprefix
editor_of() {
    local tries
    for tries in $(seq 300); do
        pgrep -P "$1" && return 0
        sleep 0.1
    done
}
"$root/run.sh" >"$work/first.log" 2>&1 &
first=$!
# The first start may make the prefix, which takes a while on a new machine.
wait_for 1 180 || { cat "$work/first.log"; fail "run.sh's first editor did not show"; }
"$root/run.sh" >"$work/second.log" 2>&1 &
second=$!
wait_for 2 || { cat "$work/second.log"; fail "run.sh's second editor did not show"; }
editors+=($(editor_of "$first") $(editor_of "$second"))
kill "$(editor_of "$first")" 2>/dev/null
wait "$first"
sleep 3  # time for anything the first run.sh did on its way out to reach the second
if kill -0 "$second" 2>/dev/null && wait_for 1; then
    echo "trazos: closing the first of two editors that run.sh started left the second running"
else
    fail "closing the first of two editors that run.sh started ended the second"
fi
kill "$(editor_of "$second")" 2>/dev/null
wait "$second"
for tries in $(seq 300); do
    [ -z "$(wine_of "$desktop")" ] && break
    sleep 0.1
done
left=$(wine_of "$desktop" | xargs -r ps -o comm= -p | paste -sd ' ')
if [ -z "$left" ]; then
    echo "trazos: once both were closed, no Wine of run.sh's prefix was left running"
else
    fail "30 seconds after run.sh's editors were closed, Wine of its prefix still runs: $left"
fi
exit $status
