#!/usr/bin/env bash
# Packages the current tree twice, each time from a copy of its own in a fresh folder, the second
# later, under another time zone and umask, and fails naming the files of the release whose bytes
# differ. Only the program is built: no tests, no benchmark.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# package FOLDER: copies the tree, its git history included (the release's time is its commit's),
# into FOLDER and packages it there.
package() {
    mkdir -p "$1" && tar -C "$root" --exclude=./build -cf - . | tar -C "$1" -xf - &&
        (cd "$1" && cmake --preset mingw -DTRAZOS_BUILD_TESTS=OFF -DTRAZOS_BUILD_BENCH=OFF &&
            cmake --build --preset mingw -j "$(nproc)" --target package) >"$1.log" 2>&1 ||
        { cat "$1.log"; echo "trazos: packaging the tree in $1 failed." >&2; return 1; }
}
package "$work/one/trazos" || exit 1
(umask 077 && export TZ=XYZ-14 && package "$work/two/other/trazos") || exit 1

one=$work/one/trazos/build/mingw two=$work/two/other/trazos/build/mingw
# The package, its symbols, their checksums and the record of the tools that built them.
files=$(cd "$one" && ls Trazos-*.zip Trazos-*.sha256 Trazos-*-toolchain.txt 2>/dev/null)
[ $(wc -w <<<"$files") -eq 5 ] || { echo "trazos: the release is not the five files it should be: $files" >&2; exit 1; }
differ=()
for file in $files; do
    cmp -s "$one/$file" "$two/$file" || differ+=("$file")
done
if [ ${#differ[@]} -eq 0 ]; then
    echo "trazos: the release is the same, byte for byte, from two builds:"
    (cd "$one" && cat Trazos-*.sha256)
    exit 0
fi
# Which of the zipped files differ, if any, or only the zips' own records.
inside=""
for file in "${differ[@]}"; do
    [[ "$file" == *.zip ]] || continue
    mkdir -p "$work/one/unpacked" "$work/two/unpacked"
    (cd "$work/one/unpacked" && cmake -E tar xf "$one/$file")
    (cd "$work/two/unpacked" && cmake -E tar xf "$two/$file")
done
[ -d "$work/one/unpacked" ] &&
    inside=$(cd "$work" && diff -rq one/unpacked two/unpacked | sed -E 's/^Files one\/unpacked\/(.*) and .* differ$/\1/')
[ -n "$inside" ] || inside="none, only the records of the zips themselves, or no zip"
echo "trazos: two builds of the same tree packaged different bytes: ${differ[*]}; inside the zips: $inside" >&2
exit 1
