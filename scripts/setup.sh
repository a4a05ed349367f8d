# Shared by scripts/run and scripts/test: install what is missing, then configure and build.
# Sourced, not run.

SWCFG_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SWCFG_BUILD="${SWCFG_BUILD:-$SWCFG_ROOT/build}"
SWCFG_PACKAGES=(cmake g++ make qt6-base-dev qt6-serialport-dev)
SWCFG_CMAKE_OPTIONS=() # more -D options for a build folder's first configuration
SWCFG_JOBS="$(nproc 2>/dev/null || echo 2)"

swcfg_missing_packages() {
    local missing=() pkg
    for pkg in "${SWCFG_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    echo "${missing[@]}"
}

# swcfg_install_missing [extra packages...]
swcfg_install_missing() {
    local missing
    missing="$(swcfg_missing_packages "$@")"
    [ -z "$missing" ] && return 0
    if ! command -v dpkg-query >/dev/null 2>&1; then
        echo "swcfg: this script installs with apt-get; please install: ${SWCFG_PACKAGES[*]} $*" >&2
        return 1
    fi
    if [ "$(id -u)" -eq 0 ]; then
        echo "swcfg: installing $missing" >&2
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq && apt-get install -y -qq $missing >&2
    else
        echo "swcfg: missing packages; please run: sudo apt-get install $missing" >&2
        return 1
    fi
}

swcfg_build() {
    if [ ! -f "$SWCFG_BUILD/CMakeCache.txt" ]; then
        cmake -S "$SWCFG_ROOT" -B "$SWCFG_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            "${SWCFG_CMAKE_OPTIONS[@]}" >/dev/null || return 1
    fi
    cmake --build "$SWCFG_BUILD" -j "$SWCFG_JOBS"
}
