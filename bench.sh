#!/usr/bin/env bash
# Installs what is missing, builds, and runs the benchmark under Wine on a virtual display large
# enough for a 3840 x 2160 client area and its frame. Prints the tables and writes them, headed by
# the date, the commit measured and whether the tree had changes, the machine and the load, to
# build/bench.md.
set -u
source "$(dirname "$0")/cmake/setup.sh"

trazos_install $TRAZOS_BUILD_PACKAGES xvfb
trazos_need_wine "$TRAZOS_MINIMUM_WINE_FOR_TESTS" "running the benchmark"
trazos_build mingw trazos_bench
trazos_start_display 4096x2400
trazos_prepare_wine headless

cpu=$(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
family=$(grep -m1 '^cpu family' /proc/cpuinfo | cut -d: -f2- | tr -d ' ')
model=$(grep -m1 '^model[[:space:]]*:' /proc/cpuinfo | cut -d: -f2- | tr -d ' ')
megahertz=$(grep -m1 '^cpu MHz' /proc/cpuinfo | cut -d: -f2- | tr -d ' ' | cut -d. -f1)
grep -qw hypervisor /proc/cpuinfo && virtual=", virtual machine" || virtual=""

# What was measured: the commit, whether the tree differed from it, and the build type.
measured="a tree that is not a git checkout"
if commit=$(git -C "$TRAZOS_ROOT" rev-parse --short=12 HEAD 2>/dev/null); then
    changed=$(git -C "$TRAZOS_ROOT" status --porcelain | wc -l)
    measured="commit $commit with nothing uncommitted"
    [ "$changed" -eq 0 ] || measured="commit $commit with uncommitted changes ($changed paths in git status)"
fi
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$TRAZOS_ROOT/build/mingw/CMakeCache.txt")
# Other work on the machine slows every figure; the load when the run starts says how quiet it was.
load=$(cut -d' ' -f1 /proc/loadavg)
echo "trazos: running the benchmark (about four minutes)" >&2
tables=$(mktemp)
"$TRAZOS_ROOT/cmake/wine-run.sh" "$TRAZOS_ROOT/build/mingw/trazos_bench.exe" >"$tables" ||
    trazos_fail "the benchmark did not finish."

report="$TRAZOS_ROOT/build/bench.md"
{
    echo "Measured on $(date -u '+%Y-%m-%d'), $measured, on ${cpu:-an unknown processor} (family ${family:-?}, model ${model:-?}," \
        "${megahertz:-?} MHz$virtual), $(nproc) cores; $(wine --version) on Xvfb at 24 bits;" \
        "built by $(x86_64-w64-mingw32-g++-posix -dumpfullversion 2>/dev/null | sed 's/^/MinGW-w64 GCC /') as ${build_type:-no build type};" \
        "load average $load when the run began."
    echo
    cat "$tables"
} >"$report"
rm -f "$tables"
cat "$report"
