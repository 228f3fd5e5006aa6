#!/usr/bin/env bash
# Installs what is missing, builds and starts the editor under Wine; Wine ends by itself a few
# seconds after the last program of the prefix closes. With no X display it starts the editor on a
# virtual one instead, saves a screenshot to build/screenshot.png and ends it.
set -u
source "$(dirname "$0")/cmake/setup.sh"

trazos_install $TRAZOS_BUILD_PACKAGES
trazos_need_wine "$TRAZOS_MINIMUM_WINE" "running the editor"
trazos_build mingw trazos  # the program alone: the tests and the benchmark are test.sh's and bench.sh's
program="$TRAZOS_ROOT/build/mingw/trazos.exe"

if [ -n "${DISPLAY:-}" ]; then
    trazos_prepare_wine desktop
    wine "$program"
    exit
fi

trazos_install xvfb imagemagick x11-utils
trazos_start_display 1024x768
trazos_prepare_wine headless
wine "$program" >/dev/null 2>&1 &
for tries in $(seq 100); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Trazos' && break
    sleep 0.1
done
sleep 1  # let the first paint reach the screen
screenshot="$TRAZOS_ROOT/build/screenshot.png"
import -window root "$screenshot" || trazos_fail "could not take the screenshot."
echo "trazos: no display here, so the editor ran on a virtual one; its picture is $screenshot"
