#!/usr/bin/env bash
# Makes the release as docs/release.md says, from a copy of the tree in a fresh folder, with a contact
# in place of the page's example; then again, later, in another folder, time zone and umask, by the
# commands that the first package's toolchain record gives, run word for word in a fresh copy. Fails
# unless the first package's About box and read-me carry the contact and not the placeholder, unless
# the record's commands configure what the page's did, and names the files of the release whose
# bytes differ. Last, configures the mingw-clang preset alone and fails unless its rebuild commands
# carry nothing that its toolchain file gives.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
contact=reports@trazos.test
source "$root/cmake/setup.sh"
placeholder=$(trazos_placeholder_contact)
[ -n "$placeholder" ] || { echo "trazos: no placeholder contact found in CMakeLists.txt" >&2; exit 1; }

# The page's commands for making the release, indented under its heading "Making it".
page=$(sed -n '/^## Making it$/,/^## /p' "$root/docs/release.md" | sed -n 's/^    \(cmake .*\)$/\1/p')
example=$(grep -oE -- '-DTRAZOS_CONTACT=[^ ]+' <<<"$page" | cut -d= -f2)
[ "$(wc -l <<<"$page")" -eq 2 ] && [ -n "$example" ] ||
    { echo "trazos: docs/release.md's \"Making it\" has not the two cmake commands, with a contact, that make the release" >&2; exit 1; }

# copy FOLDER: copies the tree, its git history included (the release's time is its commit's), but
# not its builds, into FOLDER.
copy() {
    mkdir -p "$1" && tar -C "$root" --exclude=./build -cf - . | tar -C "$1" -xf -
}
# package FOLDER COMMANDS: runs the shell commands in a fresh copy of the tree in FOLDER.
package() {
    copy "$1" && (cd "$1" && CMAKE_BUILD_PARALLEL_LEVEL=$(nproc) bash -e -c "$2") >"$1.log" 2>&1 ||
        { cat "$1.log"; echo "trazos: packaging the tree in $1 failed." >&2; return 1; }
}
package "$work/one/trazos" "${page//$example/$contact}" || exit 1
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

# What each build was configured with: the project's settings, the build type and the flags. A
# record that left one out could still give the same bytes, and fail on a machine without GoogleTest.
settings() {
    grep -E '^(TRAZOS_[A-Z_]+|CMAKE_BUILD_TYPE|CMAKE_(CXX|RC|EXE_LINKER)_FLAGS[A-Z_]*|CMAKE_CXX_STANDARD_LIBRARIES):' "$1/CMakeCache.txt"
}
configured=$(diff <(settings "$one") <(settings "$two") | grep '^[<>]' | sed 's/^</  release:/; s/^>/  rebuild:/')
[ -z "$configured" ] ||
    { echo "trazos: the record's commands configure other settings than the release's:" >&2; echo "$configured" >&2; exit 1; }

# The package, its symbols, their checksums and the record of the tools that built them.
files=$(cd "$one" && ls Trazos-*.zip Trazos-*.sha256 Trazos-*-toolchain.txt 2>/dev/null)
[ $(wc -w <<<"$files") -eq 5 ] || { echo "trazos: the release is not the five files it should be: $files" >&2; exit 1; }
differ=()
for file in $files; do
    cmp -s "$one/$file" "$two/$file" || differ+=("$file")
done
if [ ${#differ[@]} -ne 0 ]; then
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
fi
echo "trazos: the release, made as docs/release.md says with the contact $contact, is the same byte for byte when rebuilt from its record:"
(cd "$one" && cat Trazos-*.sha256)

# The Clang preset, configured with nothing from the environment: its record names the preset and
# the two options alone, not the linker flags and libraries that its toolchain file gives.
clang=$work/clang/trazos
copy "$clang" && (cd "$clang" && env -u CXXFLAGS -u LDFLAGS -u RCFLAGS -u SOURCE_DATE_EPOCH \
    cmake --preset mingw-clang -DTRAZOS_BUILD_TESTS=OFF -DTRAZOS_BUILD_BENCH=OFF) >"$clang.log" 2>&1 ||
    { cat "$clang.log"; echo "trazos: configuring the mingw-clang preset failed" >&2; exit 1; }
recorded=$(sed -n '/^set(CPACK_TRAZOS_REBUILD_COMMANDS "/,/")$/p' "$clang/build/mingw-clang/CPackConfig.cmake" |
    sed 's/^set(CPACK_TRAZOS_REBUILD_COMMANDS "//; s/")$//')
expected="cmake --preset mingw-clang -DTRAZOS_BUILD_TESTS=OFF -DTRAZOS_BUILD_BENCH=OFF
cmake --build --preset mingw-clang --target package"
[ "$recorded" = "$expected" ] ||
    { echo "trazos: the mingw-clang preset's rebuild commands carry more than the preset and its options:" >&2
      sed 's/^/    /' <<<"$recorded" >&2; exit 1; }
echo "trazos: the mingw-clang preset's record carries nothing that its toolchain file gives"
