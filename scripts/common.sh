# shellcheck shell=bash
# Functions shared by the scripts of this folder; sourced, not run.

# say WORDS...: one line of progress, named after the running script.
say() { echo "$(basename "$0"): $*"; }

# skipped WHY: a loud line for a part of a run that could not take place.
skipped() {
    echo "=================================================================="
    echo "SKIPPED: $*"
    echo "=================================================================="
}

# missing_packages PACKAGE...: prints those of the Debian packages that are
# not installed, one per line.
missing_packages() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || echo "$p"
    done
}

# install_packages PACKAGE...: installs what is missing of the packages, as
# root; fails (naming them) when it cannot. An index that fails to refresh
# does not stop the install: the install itself says whether the packages
# could be had. i386 libraries must match the version of their amd64 twin;
# when the security suite's index could not be refreshed that match fails,
# so the install is tried once more with that suite pinned low.
install_packages() {
    local missing
    missing=$(missing_packages "$@" | tr '\n' ' ')
    [ -n "$missing" ] || return 0
    if [ "$(id -u)" != 0 ]; then
        say "missing Debian packages (install them as root): $missing" >&2
        return 1
    fi
    say "installing Debian packages: $missing"
    apt-get update -qq || true
    # shellcheck disable=SC2086  # one word per package
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing && return 0
    say "retrying with the security suite pinned low, so that each amd64/i386 pair comes from one suite"
    local pref rc=0
    pref=$(mktemp -d)
    printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 100\n' >"$pref/pairs.pref"
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        -o Dir::Etc::PreferencesParts="$pref" $missing || rc=$?
    rm -rf "$pref"
    return "$rc"
}

# jobs: how many compile and test jobs to run at once (JOBS, else the cores).
jobs() { echo "${JOBS:-$(nproc 2>/dev/null || echo 2)}"; }

# configure_and_build DIR CMAKE_ARGS...: configures DIR from this tree and
# builds everything in it.
configure_and_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" "$@"
    cmake --build "$dir" -j "$(jobs)"
}

# run_tests DIR CTEST_ARGS...: every test of the build in DIR.
run_tests() {
    local dir=$1
    shift
    (cd "$dir" && ctest --output-on-failure -j "$(jobs)" "$@")
}
