#!/usr/bin/env bash
# Checks the documents a newcomer reads: every relative link in README.md and docs/ leads to a file
# that is there, and to a heading of it where the link names one; README.md stays a front page of at
# most 150 lines, and every page under docs/ within 1200 words outside its tables; the read-me in
# the zip, as built, stays within 80 lines and never sends reports to the placeholder contact, which
# CMakeLists.txt must give. Run after the mingw build, which writes that read-me.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
status=0
fail() {
    echo "trazos: $*" >&2
    status=1
}

# The anchor that a Markdown heading gets: lower case, punctuation dropped, spaces as hyphens.
anchors() {
    sed -n 's/^#\{1,6\} \(.*\)$/\1/p' "$1" | tr '[:upper:]' '[:lower:]' | sed 's/[^a-z0-9 _-]//g; s/ /-/g'
}

documents=(README.md docs/*.md)
links=0
for document in "${documents[@]}"; do
    folder=$(dirname "$document")
    # Every [text](target) outside code, but for addresses on the web and mail.
    while IFS= read -r target; do
        links=$((links + 1))
        path=${target%%#*}
        anchor=""
        [[ "$target" == *"#"* ]] && anchor=${target#*#}
        file=$document
        [ -n "$path" ] && file=$folder/$path
        if [ ! -e "$file" ]; then
            fail "$document links to $target, which is not there"
        elif [ -n "$anchor" ] && ! anchors "$file" | grep -qx -- "$anchor"; then
            fail "$document links to $target, but $file has no heading for #$anchor"
        fi
    done < <(grep -v '^    ' "$document" | sed 's/`[^`]*`//g' | grep -o '\](\([^)]*\))' | sed 's/^](\(.*\))$/\1/' |
        grep -vE '^(https?:|mailto:)')
done

lines=$(wc -l <README.md)
[ "$lines" -le 150 ] || fail "README.md has $lines lines; a front page has at most 150, the rest goes under docs/"
# A page that grows past this is read by no one: split it, or say it once and link.
for page in docs/*.md; do
    words=$(grep -v '^|' "$page" | wc -w)
    [ "$words" -le 1200 ] || fail "$page has $words words outside its tables; a page has at most 1200"
done

readme=build/mingw/generated/README.txt
source "$root/cmake/setup.sh"
placeholder=$(trazos_placeholder_contact)
[ -n "$placeholder" ] ||
    fail "no set(TRAZOS_CONTACT_PLACEHOLDER \"...\") in CMakeLists.txt, so the read-me cannot be checked for it"
if [ ! -f "$readme" ]; then
    fail "no $readme: build the mingw preset first"
else
    readme_lines=$(wc -l <"$readme")
    [ "$readme_lines" -le 80 ] || fail "the read-me in the zip has $readme_lines lines; at most 80"
    [ -n "$placeholder" ] && grep -qF "$placeholder" "$readme" &&
        fail "the read-me in the zip sends reports to the placeholder $placeholder"
fi

[ $status -eq 0 ] && echo "trazos: ${#documents[@]} documents, $links relative links, all resolve;" \
    "README.md $lines lines, the read-me in the zip ${readme_lines:-?}"
exit $status
