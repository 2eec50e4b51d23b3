# Shared by the scripts: the Debian packages the build needs, installed when
# missing (as root) or named with the exact apt-get line (otherwise).

ZARVEN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# xvfb, xauth and x11-utils (xprop): the window title and fit tests run under
# a virtual X display; qt6-translations-l10n: Qt's own texts in Russian;
# libzip-dev and pkg-config: the support bundle's zip file;
# qt6-multimedia-dev: the signal monitor's tone; libqt6sql6-sqlite: the
# SQLite driver of Qt SQL, which keeps the journal; the fonts after DejaVu:
# the window fit test runs with each font set a desktop may have (those
# that ordinary packages such as ImageMagick pull in, and Noto core and
# Liberation 2 besides; tests/CMakeLists.txt).
ZARVEN_PACKAGES=(build-essential cmake ninja-build qt6-base-dev libgl-dev fonts-dejavu-core
    xvfb xauth x11-utils qt6-translations-l10n libzip-dev pkg-config qt6-multimedia-dev
    libqt6sql6-sqlite fonts-urw-base35 gsfonts fonts-droid-fallback fonts-noto-mono
    fonts-noto-core fonts-liberation2)
# Building the Debian package and checking it.
ZARVEN_PACKAGE_TOOLS=(dpkg-dev file lintian desktop-file-utils appstream)
# clang with libFuzzer and the sanitizer runtimes, for scripts/fuzz.sh.
ZARVEN_FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)

zarven_missing_packages() {
    local missing=() p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    echo "${missing[@]}"
}

zarven_ensure_packages() {
    local missing
    missing=$(zarven_missing_packages "$@")
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing Debian packages: $missing"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        # shellcheck disable=SC2086
        apt-get install -y -qq --no-install-recommends $missing
    else
        echo "These Debian packages are missing: $missing" >&2
        echo "Install them with:" >&2
        echo "  sudo apt-get install -y $missing" >&2
        exit 1
    fi
}

# Configures (once) and builds one build tree; extra arguments go to cmake.
# "zarven_build DIR --target T -- ARGS" builds only target T.
zarven_build() {
    local dir="$1"; shift
    local build_args=()
    if [ "${1:-}" = "--target" ]; then
        build_args=(--target "$2")
        shift 3
    fi
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$ZARVEN_ROOT" -B "$dir" -G Ninja "$@"
    fi
    cmake --build "$dir" -j "$(nproc)" "${build_args[@]}"
}
