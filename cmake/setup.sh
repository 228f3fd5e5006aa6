# Shared by run.sh and test.sh (sourced, not run): installs what is missing, builds, and provides
# the Wine prefix and a virtual X display. Needs Debian or Ubuntu, and root or sudo.

TRAZOS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Packages every build needs: the cross compiler and resource compiler, Wine with its own fonts
# (only recommended by Wine, so named here), CMake, GoogleTest's sources, a native compiler for
# the sanitizer build, and git and zip, which the release's package takes its time from and is
# written with.
TRAZOS_BUILD_PACKAGES="cmake make g++ g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev googletest wine wine64 fonts-wine git zip"

# The oldest CMake and Wine that the scripts were tried with (docs/building.md names the releases):
# CMake's is CMakeLists.txt's own minimum, which the presets need too, written alone or as the
# lower end of a range (3.20...3.28); the editor runs under Wine 6.0, and all of its tests and the
# benchmark under Wine 8.0. The compilers' minimums are checked when CMake configures
# (cmake/minimum_versions.cmake).
TRAZOS_MINIMUM_CMAKE=$(sed -nE 's/^cmake_minimum_required\(VERSION ([0-9]+(\.[0-9]+)*)(\.\.\.[0-9.]+)?( FATAL_ERROR)?\)$/\1/p' "$TRAZOS_ROOT/CMakeLists.txt")
TRAZOS_MINIMUM_WINE=6.0
TRAZOS_MINIMUM_WINE_FOR_TESTS=8.0

trazos_fail() {
    echo "trazos: $*" >&2
    exit 1
}

# trazos_install PACKAGE...: installs those of the Debian packages that are not installed yet.
trazos_install() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    command -v apt-get >/dev/null 2>&1 ||
        trazos_fail "no apt-get here: install ${missing[*]} (Debian names) by hand, or use Debian or Ubuntu."
    echo "trazos: installing ${missing[*]}"
    trazos_as_root "installing ${missing[*]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq >/dev/null ||
        trazos_fail "apt-get update failed: check the network and the package sources, then run again."
    trazos_as_root "installing ${missing[*]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
        trazos_fail "could not install ${missing[*]}: see 'apt-get install ${missing[*]}'."
}

# trazos_as_root WHAT COMMAND...: runs the command as root, through sudo where this is not root.
trazos_as_root() {
    local what=$1
    shift
    [ "$(id -u)" -eq 0 ] && { "$@"; return; }
    command -v sudo >/dev/null 2>&1 || trazos_fail "$what needs root: run this script as root or install sudo."
    sudo "$@"
}

# trazos_make_locale LANGUAGE_TERRITORY: makes a UTF-8 locale, ru_RU say, available where it is not
# yet: the locales package holds its definition, and localedef generates it.
trazos_make_locale() {
    locale -a 2>/dev/null | grep -qiE "^$1\.utf-?8$" && return 0
    trazos_install locales
    echo "trazos: generating the $1.UTF-8 locale"
    trazos_as_root "generating the $1.UTF-8 locale" localedef -i "$1" -f UTF-8 "$1.UTF-8" ||
        trazos_fail "could not generate the $1.UTF-8 locale: see 'localedef -i $1 -f UTF-8 $1.UTF-8'."
}

# trazos_placeholder_contact: the placeholder contact that CMakeLists.txt sets, or nothing.
trazos_placeholder_contact() {
    sed -n 's/.*set(TRAZOS_CONTACT_PLACEHOLDER "\([^"$]*\)").*/\1/p' "$TRAZOS_ROOT/CMakeLists.txt"
}

# trazos_at_least VERSION MINIMUM: whether the dotted version is the minimum or later.
trazos_at_least() {
    [ -n "$1" ] && [ "$(printf '%s\n%s\n' "$2" "$1" | sort -V | head -n 1)" = "$2" ]
}

# trazos_need_wine MINIMUM DOING: stops unless the Wine here is the minimum or later.
trazos_need_wine() {
    local version
    version=$(wine --version 2>/dev/null | sed -n 's/^wine-\([0-9][0-9.]*\).*/\1/p')
    trazos_at_least "$version" "$1" ||
        trazos_fail "$2 needs Wine $1 or later, and this machine has ${version:+Wine }${version:-none that answers 'wine --version'}; see docs/building.md for the releases that have it."
}

# trazos_build PRESET [TARGET...]: configures (once) and builds a CMake preset, or only the targets named.
trazos_build() {
    cd "$TRAZOS_ROOT" || exit 1
    [ -n "$TRAZOS_MINIMUM_CMAKE" ] ||
        trazos_fail "could not read CMake's minimum version from cmake_minimum_required(VERSION ...) in CMakeLists.txt."
    local cmake_version
    cmake_version=$(cmake --version 2>/dev/null | sed -n 's/^cmake version \([0-9][0-9.]*\).*/\1/p')
    trazos_at_least "$cmake_version" "$TRAZOS_MINIMUM_CMAKE" ||
        trazos_fail "the build needs CMake $TRAZOS_MINIMUM_CMAKE or later, and this machine has ${cmake_version:-none}; see docs/building.md for the releases that have it."
    if [ ! -f "build/$1/CMakeCache.txt" ]; then
        trazos_building "$1" cmake --preset "$1" >/dev/null || trazos_fail "configuring the $1 build failed."
    fi
    local targets=()
    [ $# -gt 1 ] && targets=(--target "${@:2}")
    trazos_building "$1" cmake --build --preset "$1" -j "$(nproc)" "${targets[@]}" || trazos_fail "the $1 build failed."
}

# trazos_building PRESET COMMAND...: runs the command once no other script is building that preset,
# whose build folder two builds at once would leave half-written.
trazos_building() {
    mkdir -p "$TRAZOS_ROOT/build" && flock "$TRAZOS_ROOT/build/$1.lock" "${@:2}"
}

# trazos_start_display WIDTHxHEIGHT: starts a virtual X display of 24-bit colour, exports DISPLAY,
# and stops it (and the Wine that trazos_prepare_wine started on it) when the script exits. Xvfb
# takes the first display number that is free and says which, so two scripts started at the same
# moment each get one of their own.
trazos_start_display() {
    local number tries told
    told=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$told" >/dev/null 2>&1 &
    TRAZOS_XVFB_PID=$!
    trap 'trazos_stop_display' EXIT
    for tries in $(seq 100); do
        number=$(head -n 1 "$told")  # written once the display takes connections
        [ -n "$number" ] && break
        kill -0 "$TRAZOS_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$told"
    [ -n "$number" ] || trazos_fail "the virtual display did not start."
    export DISPLAY=":$number"
}

trazos_stop_display() {
    # The headless prefix is this script's alone: ending its server ends only what the script started.
    if [ -n "${TRAZOS_WINE_SLOT:-}" ]; then
        wineserver -k >/dev/null 2>&1
        wineserver -w >/dev/null 2>&1
    fi
    [ -n "${TRAZOS_XVFB_PID:-}" ] && kill "$TRAZOS_XVFB_PID" 2>/dev/null
    wait 2>/dev/null
}

# trazos_prepare_wine desktop|headless: makes the Wine prefix for a real desktop or for the virtual
# display on first use (a few seconds).
#
# On a real desktop Wine's server is left to end by itself, a few seconds after the last program of
# the prefix: another editor started from this clone, or winecfg, runs on after the script's editor
# closes.
#
# For the virtual display each script takes a prefix of its own: build/wineprefix-headless, or
# -2, -3... while other scripts hold the first. One Wine server serves one display (its desktop
# process tells every program of the prefix that display's size), so two scripts on two virtual
# displays cannot share one; and a script that ends its own server ends nothing of another's. The
# prefix's lock, which every Wine process of the script inherits, is held until they have all
# ended. Its server runs until trazos_stop_display, so that no program started later pays for its
# start. There is no window manager there either, and a window that Wine leaves for one to manage
# takes two seconds to close, so Wine manages the windows itself.
trazos_prepare_wine() {
    local base=$TRAZOS_ROOT/build/wineprefix lock
    mkdir -p "$TRAZOS_ROOT/build"
    if [ "$1" = headless ]; then
        base+=-headless
        local slot
        for slot in $(seq 9); do
            WINEPREFIX=$base
            [ "$slot" -eq 1 ] || WINEPREFIX=$base-$slot
            exec {lock}>>"$WINEPREFIX.lock"
            flock -n "$lock" && { TRAZOS_WINE_SLOT=$slot; break; }
            exec {lock}>&-
        done
        [ -n "${TRAZOS_WINE_SLOT:-}" ] ||
            trazos_fail "nine scripts already hold the Wine prefixes under build/: end them, or what is left of them with 'WINEPREFIX=$base-N wineserver -k'."
    else
        # Held only while the prefix is made, which two scripts at once would both do.
        WINEPREFIX=$base
        exec {lock}>>"$WINEPREFIX.lock"
        flock "$lock"
    fi
    export WINEPREFIX
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "trazos: preparing the Wine prefix in $WINEPREFIX (once)"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        if [ "$1" = headless ]; then
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        fi
        # The prefix is new, so this server and its services are the making's alone.
        wineserver -k >/dev/null 2>&1
    fi
    [ "$1" = headless ] || exec {lock}>&-
    trazos_link_wine_fonts
    [ "$1" = headless ] && wineserver -p >/dev/null 2>&1 </dev/null
    return 0
}

# Wine draws the caption buttons with its own Marlett font and its dialogs with Tahoma, but Debian's
# Wine does not look for them where fonts-wine puts them, and caption buttons then show letters
# ("0", "1", "r"). Every prefix searches C:\windows\Fonts, so the fonts are linked there: at every
# start, so that a prefix made by an earlier version of these scripts gets them too.
trazos_link_wine_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
    mkdir -p "$fonts"
    for font in /usr/share/wine/fonts/*; do
        [ -f "$font" ] && [ ! -e "$fonts/${font##*/}" ] && ln -sf "$font" "$fonts/"
    done
    return 0
}
