#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: the platform-free parts natively
# with sanitizers, then the Windows program and its tests under Wine on a virtual display.
set -u
source "$(dirname "$0")/cmake/setup.sh"

# Clang and LLD build the Windows program a second time, so that it cannot come to rely on one
# compiler; procps finds the editors that the scripts-beside-each-other check starts.
trazos_install $TRAZOS_BUILD_PACKAGES clang lld xvfb x11-utils procps
trazos_need_wine "$TRAZOS_MINIMUM_WINE_FOR_TESTS" "running the tests"
# Some texts are checked a second time under a Cyrillic ANSI code page (1251), which Wine takes
# from this locale.
trazos_make_locale ru_RU

trazos_build native
trazos_build mingw
trazos_build mingw-clang

status=0
echo "== the Windows package, made with a contact and rebuilt by its record's commands"
"$TRAZOS_ROOT"/cmake/check-same-package.sh || status=1

echo "== the packaged program's hardening and symbols"
if cmake --build --preset mingw --target package >"$TRAZOS_ROOT/build/package.log" 2>&1; then
    "$TRAZOS_ROOT"/cmake/check-shipped-program.sh || status=1
else
    cat "$TRAZOS_ROOT/build/package.log"
    echo "trazos: packaging the program failed" >&2
    status=1
fi

echo "== the documents' links and lengths"
"$TRAZOS_ROOT"/cmake/check-documents.sh || status=1

echo "== native tests (address and undefined-behaviour sanitizers)"
ctest --preset native || status=1

trazos_start_display 1920x1200
trazos_prepare_wine headless
echo "== what the program loads before its main window is up, built by GCC and by Clang"
"$TRAZOS_ROOT"/cmake/check-start-up-loads.sh || status=1
"$TRAZOS_ROOT"/cmake/check-start-up-loads.sh "$TRAZOS_ROOT/build/mingw-clang/trazos.exe" || status=1
echo "== the scripts beside each other: displays of their own, and each stops only the Wine it started"
"$TRAZOS_ROOT"/cmake/check-scripts-side-by-side.sh || status=1
echo "== Windows tests under Wine, built by GCC"
ctest --preset mingw || status=1
echo "== Windows tests under Wine, built by Clang (the long random sessions run on GCC's build only)"
ctest --preset mingw-clang || status=1
# The random sessions print their seed and what they measured; show it whether or not they passed.
grep -hE '^(seed|[0-9]+ events|GDI objects)' "$TRAZOS_ROOT"/build/*/Testing/Temporary/LastTest.log 2>/dev/null

[ $status -eq 0 ] && echo "trazos: all tests passed" || echo "trazos: some tests failed" >&2
exit $status
