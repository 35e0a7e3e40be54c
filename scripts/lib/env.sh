# Shared settings of the project's scripts. Sourced, not run.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD_ROOT="${KO_BUILD_ROOT:-$ROOT/build}"
NATIVE_BUILD="$BUILD_ROOT/native"
NATIVE_RELEASE_BUILD="$BUILD_ROOT/native-release"
WINDOWS_BUILD="$BUILD_ROOT/windows"
BENCH_BUILD="$BUILD_ROOT/bench"
WINE_HOME="$BUILD_ROOT/wine"
JOBS="${KO_JOBS:-$(nproc 2>/dev/null || echo 2)}"
# Warnings stop a build only where the project's own checks ask for it: scripts/test exports
# KO_WARNINGS_AS_ERRORS=ON, and every build it makes, through the scripts it calls too, passes
# this option. Without it a build directory keeps what it was configured with.
KO_WARNING_OPTIONS=()
if [ "${KO_WARNINGS_AS_ERRORS:-}" = ON ]; then KO_WARNING_OPTIONS=(-DKO_WARNINGS_AS_ERRORS=ON); fi

# The Debian packages the build, the tests and the demo need.
KO_PACKAGES=(
    g++ cmake ninja-build googletest libbenchmark-dev
    g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth x11-utils imagemagick xdotool
    fonts-ipafont-gothic locales
    fonts-wine
    pandoc weasyprint poppler-utils zip unzip
    chromium python3
    clang libclang-rt-14-dev
    hyperfine time
)

ko_log() { printf '== %s\n' "$*" >&2; }

# A field of the version's one home, resources/version.h: MAJOR, MINOR, PATCH, BUILD or TITLE.
ko_version() {
    sed -n "s/^#define KO_VERSION_$1 \"\{0,1\}\([^\"]*\)\"\{0,1\}\$/\1/p" "$ROOT/resources/version.h"
}

# Configures the Windows build (Release, mingw-w64, tests run under Wine) in WINDOWS_BUILD.
ko_configure_windows() {
    cmake -S "$ROOT" -B "$WINDOWS_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$ROOT/scripts/wine-run" "${KO_WARNING_OPTIONS[@]}" >/dev/null
}

# Installs whatever of KO_PACKAGES is missing; does nothing when all are there.
ko_install_packages() {
    local missing=() pkg
    for pkg in "${KO_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    ko_log "installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -q >/dev/null
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# The environment every Wine run uses: a private prefix inside the build folder, a Japanese
# locale (code page 932, as on a Japanese Windows), no debug output, no Mono/Gecko prompts.
ko_wine_env() {
    export WINEPREFIX="$WINE_HOME/prefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export LOCPATH="$WINE_HOME/locale"
    export WINEARCH=win64
}

# Runs Wine's loader with the Japanese locale. LC_ALL is set for the child only: this shell's own
# C library never sees LOCPATH and would warn.
ko_wine() { env LC_ALL=ja_JP.UTF-8 "$(ko_wine_binary)" "$@"; }

ko_wine_binary() {
    if [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64; else command -v wine64 || command -v wine; fi
}

# Starts Xvfb (screen KO_SCREEN, by default 1280x1024x24) on a free display unless DISPLAY
# already works; sets KO_XVFB_PID.
ko_start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 "${KO_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
    KO_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    ko_log "Xvfb did not start"
    return 1
}

ko_stop_display() {
    if [ -n "${KO_XVFB_PID:-}" ]; then kill "$KO_XVFB_PID" 2>/dev/null; wait "$KO_XVFB_PID" 2>/dev/null; fi
    KO_XVFB_PID=""
}
