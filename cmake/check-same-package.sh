#!/usr/bin/env bash
# Packages the current tree twice, each time from a copy of its own in a fresh folder: first with a
# contact, then later, under another time zone and umask, by the commands that the first package's
# toolchain record gives for rebuilding it. Fails unless the first package's About box and read-me
# carry the contact and not the placeholder, and names the files of the release whose bytes differ.
# Only the program is built: no tests, no benchmark.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
contact=reports@trazos.test
source "$root/cmake/setup.sh"
placeholder=$(trazos_placeholder_contact)
[ -n "$placeholder" ] || { echo "trazos: no placeholder contact found in CMakeLists.txt" >&2; exit 1; }

# package FOLDER COMMANDS: copies the tree, its git history included (the release's time is its
# commit's), into FOLDER and runs the shell commands there, in a build folder where the tests and
# the benchmark are already switched off.
package() {
    mkdir -p "$1/build/mingw" && tar -C "$root" --exclude=./build -cf - . | tar -C "$1" -xf - &&
        printf 'TRAZOS_BUILD_TESTS:BOOL=OFF\nTRAZOS_BUILD_BENCH:BOOL=OFF\n' >"$1/build/mingw/CMakeCache.txt" &&
        (cd "$1" && CMAKE_BUILD_PARALLEL_LEVEL=$(nproc) bash -e -c "$2") >"$1.log" 2>&1 ||
        { cat "$1.log"; echo "trazos: packaging the tree in $1 failed." >&2; return 1; }
}
package "$work/one/trazos" "cmake --preset mingw -DTRAZOS_CONTACT=$contact
cmake --build --preset mingw --target package" || exit 1
one=$work/one/trazos/build/mingw two=$work/two/other/trazos/build/mingw

# The contact in the About box (the dialog's texts are UTF-16) and in the read-me, never the placeholder.
carries() {
    grep -qF "$contact" <<<"$2" && ! grep -qF "$placeholder" <<<"$2" ||
        { echo "trazos: the package's $1 does not give the contact $contact, or names $placeholder" >&2; exit 1; }
}
mkdir -p "$work/one/unpacked" && (cd "$work/one/unpacked" && cmake -E tar xf "$one"/Trazos-*-win64.zip) || exit 1
carries "About box" "$(strings -el "$work"/one/unpacked/*/trazos.exe)"
carries "README.txt" "$(cat "$work"/one/unpacked/*/README.txt)"

record=$(ls "$one"/Trazos-*-toolchain.txt)
commands=$(sed -n 's/^    //p' "$record")
echo "trazos: rebuilding by the record's commands:"
sed 's/^/    /' <<<"$commands"
(umask 077 && export TZ=XYZ-14 && package "$work/two/other/trazos" "$commands") || exit 1

# The package, its symbols, their checksums and the record of the tools that built them.
files=$(cd "$one" && ls Trazos-*.zip Trazos-*.sha256 Trazos-*-toolchain.txt 2>/dev/null)
[ $(wc -w <<<"$files") -eq 5 ] || { echo "trazos: the release is not the five files it should be: $files" >&2; exit 1; }
differ=()
for file in $files; do
    cmp -s "$one/$file" "$two/$file" || differ+=("$file")
done
if [ ${#differ[@]} -eq 0 ]; then
    echo "trazos: the release, made with the contact $contact, is the same byte for byte when rebuilt from its record:"
    (cd "$one" && cat Trazos-*.sha256)
    exit 0
fi
# Which of the zipped files differ, if any, or only the zips' own records.
rm -rf "$work/one/unpacked"
inside=""
for file in "${differ[@]}"; do
    [[ "$file" == *.zip ]] || continue
    mkdir -p "$work/one/unpacked" "$work/two/unpacked"
    (cd "$work/one/unpacked" && cmake -E tar xf "$one/$file")
    (cd "$work/two/unpacked" && cmake -E tar xf "$two/$file")
done
[ -d "$work/one/unpacked" ] &&
    inside=$(cd "$work" && diff -rq one/unpacked two/unpacked | sed -E 's/^Files one\/unpacked\/(.*) and .* differ$/\1/' | paste -sd ' ')
[ -n "$inside" ] || inside="none, only the records of the zips themselves, or no zip"
echo "trazos: two builds of the same tree packaged different bytes: ${differ[*]}; inside the zips: $inside" >&2
exit 1
