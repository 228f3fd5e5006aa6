#!/usr/bin/env bash
# Reads the program in the package as a user and a security reviewer receive it, and fails unless
# its header, sections and imports are hardened and its symbols work: ASLR with the relocations it
# needs and with high entropy, DEP, Terminal Server awareness, no section both writable and
# executable, imports from the four Windows DLLs that docs/checking.md names and no other, the stack
# protector in every source file of the program's own but the guard's, with a guard of the
# program's own that its entry point seeds, no debug information in the program itself, and symbols
# beside it that turn an address into a source line. Reads the package of the version that
# build/mingw is configured for and the symbols zip beside it, or the package (and symbols zip) given.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -ge 1 ]; then
    package=$1
else
    # Not any Trazos-*.zip there: one of an earlier version may still lie beside it.
    name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$root/build/mingw/CPackConfig.cmake" 2>/dev/null)
    package=$root/build/mingw/${name:-Trazos-?-win64}.zip
fi
[ -f "$package" ] || { echo "trazos: no package $package to read; build it with: cmake --build --preset mingw --target package" >&2; exit 1; }
symbols=${2:-${package%.zip}-symbols.zip}
tools=x86_64-w64-mingw32
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$package" && { [ ! -f "$symbols" ] || cmake -E tar xf "$symbols"; })
program=$(find "$work" -name trazos.exe | head -n 1)
[ -n "$program" ] || { echo "trazos: no trazos.exe in ${package##*/}" >&2; exit 1; }

status=0
# row PASSED TEXT: prints one row of the report; a row that did not pass fails the check.
row() {
    if [ "$1" = yes ]; then echo "  yes  $2"; else echo "  NO   $2"; status=1; fi
}
yes_if() { "$@" && echo yes || echo no; }

header=$("$tools-objdump" -p "$program")
flags=$((16#$(awk '/^DllCharacteristics/ { print $2 }' <<<"$header")))
flag() { yes_if test $((flags & $1)) -ne 0; }
relocations=$((16#$(awk '/Base Relocation Directory/ { print $4 }' <<<"$header")))
echo "trazos: trazos.exe in ${package##*/}, DllCharacteristics $(printf '0x%04x' $flags)"
# Without relocations the loader cannot move the program, whatever the header asks.
row "$(yes_if test "$(flag 0x40)" = yes -a "$relocations" -gt 0)" "ASLR: DYNAMIC_BASE, with the relocations it needs ($relocations bytes)"
row "$(flag 0x20)" "high-entropy ASLR: HIGH_ENTROPY_VA"
row "$(flag 0x100)" "DEP: NX_COMPAT"
row "$(flag 0x8000)" "Terminal Server aware: TERMINAL_SERVICE_AWARE"

# objdump marks a section executable as CODE and one that cannot be written as READONLY.
sections=$("$tools-objdump" -h "$program" | awk '/^ +[0-9]+ / { name = $2; getline; print name ": " $0 }')
writable_code=$(grep CODE <<<"$sections" | grep -v READONLY | cut -d: -f1 | tr '\n' ' ')
row "$(yes_if test -z "$writable_code")" "no section both writable and executable${writable_code:+: $writable_code}"

# The imports that docs/checking.md names, no more and no fewer: a new one is a change for the page
# (and, for a DLL outside Windows' known DLLs, for the DLL search at start-up) to answer for.
expected="gdi32.dll kernel32.dll msvcrt.dll user32.dll"
imports=$(awk '/DLL Name:/ { print tolower($3) }' <<<"$header" | sort -u | paste -sd ' ')
row "$(yes_if test "$imports" = "$expected")" "imports KERNEL32, USER32, GDI32 and msvcrt alone: ${imports:-none found}"

debug_sections=$(grep DEBUGGING <<<"$sections" | cut -d: -f1 | grep -vx .gnu_debuglink | tr '\n' ' ')
# Read alone: objdump of binutils 2.38 follows the debug link to the symbols unzipped beside it.
mkdir "$work/alone" && cp "$program" "$work/alone/"
no_symbols=$(yes_if grep -qx 'no symbols' <<<"$("$tools-objdump" -t "$work/alone/trazos.exe")")
row "$(yes_if test "$no_symbols" = yes -a -z "$debug_sections")" \
    "stripped: no symbol table, and no debug section but the debug link${debug_sections:+: $debug_sections}"
link=$("$tools-objdump" -s -j .gnu_debuglink "$program" 2>/dev/null | grep -o 'trazos\.exe\.debug' | head -n 1)
debug=$program.debug
if [ ! -f "$debug" ]; then
    row no "symbols: no trazos.exe.debug in ${symbols##*/}"
    row no "stack protector: no symbols to tell by"
    echo "trazos: the shipped program lacks some of the above"
    exit 1
fi

# The debug link names the file and holds its CRC: addr2line, given the stripped program, finds the
# symbols only through a link that matches.
winmain=$("$tools-nm" "$debug" | awk '$3 == "WinMain" { print $1 }')
line=$("$tools-addr2line" -e "$program" "0x$winmain")
row "$(yes_if grep -q '^\./app/main\.cpp:[0-9]' <<<"$line")" \
    "symbols: ${symbols##*/}; the program's debug link names ${link:-nothing}, and WinMain's address 0x$winmain turns into $line"

# GCC records each source file's options in its debug information; the program's own are those of
# the folders app, draw, edit and model.
dwarf=$("$tools-objdump" --dwarf=info "$debug")
units=$(awk '
    /DW_TAG_compile_unit/ { producer = "" }
    /DW_AT_producer/ { producer = $0 }
    /DW_AT_name/ && producer != "" { print $NF "\t" producer; producer = "" }' <<<"$dwarf" | grep -E '(^|/)(app|draw|edit|model)/')
own=$(grep -c . <<<"$units")
# Of a file's stack protector options the last holds. The guard's own file goes without: its seeding
# changes the guard that a check of its own would compare against.
unprotected="" guard_protected=""
while IFS=$'\t' read -r name producer; do
    last=$(grep -oE -- '-f(no-)?stack-protector[a-z-]*' <<<"$producer" | tail -n 1)
    if [ "$name" = app/stack_guard.cpp ]; then
        [ "$last" = -fno-stack-protector ] || guard_protected="; but app/stack_guard.cpp is built with ${last:-the default}"
    elif [ "$last" != -fstack-protector-strong ]; then
        unprotected+="$name "
    fi
done <<<"$units"
[ "$own" -gt 0 ] || unprotected="(none of the program's own source files found)"
handler=$("$tools-nm" "$debug" | awk '$3 == "__stack_chk_fail" { print $1 }' | sed 's/^0*//')
checks=0
[ -n "$handler" ] && checks=$("$tools-objdump" -d "$program" | grep -cE "call +(0x)?0*$handler\b")
built="all $((own - 1)) of the program's own source files built with -fstack-protector-strong, the guard's without$guard_protected"
[ -z "$unprotected" ] || built="not built with -fstack-protector-strong: $unprotected"
row "$(yes_if test -z "$unprotected$guard_protected" -a "$checks" -gt 0)" "stack protector: $built; $checks calls to its handler"

# GCC's own runtime for the stack protector, libssp, would seed the guard before WinMain by loading
# cryptographic DLLs; the program's own guard loads none, and the entry point seeds it first thing.
# A symbol is the program's own where a source file's debug information holds its definition (a
# variable with its place, a function with its code); a library's have none. (nm -l, which reads
# the same, finds no file for the guard variable as GCC 13 and later describe it.)
defined_in() {
    awk -v name="$1" '
        /DW_TAG_compile_unit/ { unit = ""; in_unit = 1 }
        /: Abbrev Number/ && !/DW_TAG_compile_unit/ { in_unit = 0; symbol = "" }
        /DW_AT_name/ { if (in_unit) unit = $NF; else symbol = $NF }
        /DW_AT_location|DW_AT_low_pc/ && symbol == name { print "./" unit; exit }' <<<"$dwarf"
}
start=$("$tools-objdump" -f "$program" | awk '/^start address/ { print $3 }')
entry=$("$tools-nm" "$debug" | awk -v address="$(printf '%016x' "$start")" '$1 == address && $2 == "T" { print $3; exit }')
guard_source=$(defined_in __stack_chk_guard)
handler_source=$(defined_in __stack_chk_fail)
own=./app/stack_guard.cpp seeding=StartWindowsProgramWithAFreshStackGuard
wrong=""
[ "$guard_source" = $own ] || wrong+="__stack_chk_guard is from ${guard_source:-a library}; "
[ "$handler_source" = $own ] || wrong+="__stack_chk_fail is from ${handler_source:-a library}; "
[ "$entry" = $seeding ] || wrong+="the entry point ($start) is ${entry:-no symbol of its own}; "
row "$(yes_if test -z "$wrong")" \
    "stack guard: the program's own, __stack_chk_guard and __stack_chk_fail from $own, seeded by the entry point $seeding${wrong:+; but ${wrong%; }}"

if [ $status -ne 0 ]; then
    echo "trazos: the shipped program lacks some of the above"
else
    echo "trazos: the shipped program is hardened and its symbols work"
fi
exit $status
