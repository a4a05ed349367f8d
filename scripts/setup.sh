# Shared by scripts/run, scripts/demo and scripts/test: install what is missing, then configure and
# build.
# Sourced, not run.

SWCFG_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SWCFG_BUILD="${SWCFG_BUILD:-$SWCFG_ROOT/build}"
# ser2net: the console server the tests and the benchmark put in front of the simulator.
SWCFG_PACKAGES=(cmake g++ make qt6-base-dev qt6-serialport-dev ser2net)
# What only scripts/test needs, installed without the packages they recommend (ansible-core
# would bring the whole of Debian's ansible): ansible-core builds the Ansible collection and runs
# its playbook tests; yamllint, python3-voluptuous, python3-pycodestyle and pylint are the
# checkers of its sanity tests.
SWCFG_TEST_PACKAGES=(ansible-core yamllint python3-voluptuous python3-pycodestyle pylint)
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

# swcfg_install_missing [--no-recommends] [extra packages...]
swcfg_install_missing() {
    local missing apt_options=()
    if [ "${1:-}" = --no-recommends ]; then
        apt_options=(--no-install-recommends)
        shift
    fi
    missing="$(swcfg_missing_packages "$@")"
    [ -z "$missing" ] && return 0
    if ! command -v dpkg-query >/dev/null 2>&1; then
        echo "swcfg: this script installs with apt-get; please install: ${SWCFG_PACKAGES[*]} $*" >&2
        return 1
    fi
    if [ "$(id -u)" -eq 0 ]; then
        echo "swcfg: installing $missing" >&2
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq && apt-get install -y -qq "${apt_options[@]}" $missing >&2
    else
        echo "swcfg: missing packages; please run: sudo apt-get install $missing" >&2
        return 1
    fi
}

# swcfg_configure [--again]: --again configures an existing build folder once more, so that it
# finds what was installed since (the Ansible tools after a first scripts/run).
swcfg_configure() {
    if [ ! -f "$SWCFG_BUILD/CMakeCache.txt" ] || [ "${1:-}" = --again ]; then
        cmake -S "$SWCFG_ROOT" -B "$SWCFG_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            "${SWCFG_CMAKE_OPTIONS[@]}" >/dev/null || return 1
    fi
}

# Everything, tests included, with the build's output on the terminal.
swcfg_build() {
    swcfg_configure || return 1
    cmake --build "$SWCFG_BUILD" -j "$SWCFG_JOBS"
}

# swcfg_build_programs TARGET...: only those programs, the build's output kept in
# $SWCFG_BUILD/build.log and shown only when the build fails.
swcfg_build_programs() {
    # Built just now by the script that started this one (scripts/run before scripts/demo).
    [ "${SWCFG_PROGRAMS_BUILT:-}" = "$*" ] && return 0
    local log="$SWCFG_BUILD/build.log"
    mkdir -p "$SWCFG_BUILD"
    echo "swcfg: building $* (the first build takes a few minutes; log: $log)" >&2
    if ! { swcfg_configure && cmake --build "$SWCFG_BUILD" -j "$SWCFG_JOBS" --target "$@"; } \
        >"$log" 2>&1; then
        cat "$log" >&2
        echo "swcfg: the build failed; its output is above and in $log" >&2
        return 1
    fi
    export SWCFG_PROGRAMS_BUILT="$*"
}
