# shellcheck shell=bash
# Functions shared by the scripts of this folder; sourced, not run.

# say WORDS...: one line of progress, named after the running script.
say() { echo "$(basename "$0"): $*"; }

# skipped PART WHY [MORE...]: a loud line for a part of a run that could not
# take place. "SCRIPT: PART (WHY)" is also added as a line to the file that
# NORVEXT_SKIPPED names, where it names one (.ci/run sums them up there).
skipped() {
    local part=$1 why=$2
    shift 2
    echo "=================================================================="
    echo "SKIPPED: $part ($why)${*:+. $*}"
    echo "=================================================================="
    if [ -n "${NORVEXT_SKIPPED:-}" ]; then
        echo "$(basename "$0"): $part ($why)" >>"$NORVEXT_SKIPPED"
    fi
}

# missing_packages PACKAGE...: prints those of the Debian packages that are
# not installed, one per line.
missing_packages() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || echo "$p"
    done
}

# install_packages [--no-install-recommends] PACKAGE...: installs what is
# missing of the packages (with none of their recommended ones, if asked), as
# root; fails (naming them) when it cannot. An index that fails to refresh
# does not stop the install: the install itself says whether the packages
# could be had. i386 libraries must match the version of their amd64 twin;
# when the security suite's index could not be refreshed that match fails,
# so the install is tried once more with that suite pinned low.
install_packages() {
    local missing recommends=()
    if [ "${1:-}" = --no-install-recommends ]; then
        recommends=("$1")
        shift
    fi
    missing=$(missing_packages "$@" | tr '\n' ' ')
    [ -n "$missing" ] || return 0
    if [ "$(id -u)" != 0 ]; then
        say "missing Debian packages (install them as root): $missing" >&2
        return 1
    fi
    say "installing Debian packages: $missing"
    apt-get update -qq || true
    # shellcheck disable=SC2086  # one word per package
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${recommends[@]}" $missing && return 0
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

# The kernel's table of handlers of foreign programs, and the entry by which
# qemu-user runs i386 ELF programs. The kernel asks these handlers before its
# own ELF loader, so while the entry is enabled every i386 program runs
# emulated, even where the kernel could run it itself. F: the emulator is
# opened when registered, so the entry works in any mount namespace.
readonly BINFMT=/proc/sys/fs/binfmt_misc
readonly QEMU_I386=$BINFMT/qemu-i386
readonly QEMU_I386_RULE=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F'
# Its recommended binfmt-support would register qemu-user for every other
# architecture it emulates.
readonly QEMU_PACKAGES=(--no-install-recommends qemu-user-static)

# i386_runner: how this machine runs an i386 program: "under qemu-user",
# "natively", or not at all (empty: the kernel says "Exec format error").
# Probed with a program that only exits, made by the binutils that come with
# g++, so that nothing needs installing to find out.
i386_runner() {
    local dir
    dir=$(mktemp -d)
    # shellcheck disable=SC2016  # $1 is assembly, not a shell variable
    printf '.globl _start\n_start:\n mov $1, %%eax\n xor %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
    if as --32 "$dir/exit.s" -o "$dir/exit.o" 2>/dev/null &&
        ld -m elf_i386 "$dir/exit.o" -o "$dir/exit" 2>/dev/null &&
        "$dir/exit" 2>/dev/null; then
        if grep -qsx enabled "$QEMU_I386"; then
            echo "under qemu-user"
        else
            echo "natively"
        fi
    fi
    rm -rf "$dir"
}

# What use_qemu_i386 changed, in order, for drop_qemu_i386 to undo:
# "mount", "register" or "enable".
QEMU_I386_CHANGES=()

# use_qemu_i386: makes qemu-user the handler of i386 ELF programs, as root,
# saying on stderr what it changes before it does: installs it, mounts
# binfmt_misc where it is not, and registers the entry, or enables it where
# it is there but disabled. Fails when it cannot.
use_qemu_i386() {
    install_packages "${QEMU_PACKAGES[@]}"
    if [ ! -e "$BINFMT/register" ]; then
        say "changing this machine: mounting binfmt_misc on $BINFMT" >&2
        mount -t binfmt_misc binfmt_misc "$BINFMT"
        QEMU_I386_CHANGES+=(mount)
    fi
    if [ ! -e "$QEMU_I386" ]; then
        say "changing this machine: registering qemu-user as the handler of every i386 ELF program ($QEMU_I386)" >&2
        printf '%s' "$QEMU_I386_RULE" >"$BINFMT/register"
        QEMU_I386_CHANGES+=(register)
    elif ! grep -qsx enabled "$QEMU_I386"; then
        say "changing this machine: enabling qemu-user as the handler of every i386 ELF program ($QEMU_I386)" >&2
        echo 1 >"$QEMU_I386"
        QEMU_I386_CHANGES+=(enable)
    fi
}

# drop_qemu_i386: undoes what use_qemu_i386 changed, last first, saying so on
# stderr; what was there before stays.
drop_qemu_i386() {
    local i
    for ((i = ${#QEMU_I386_CHANGES[@]} - 1; i >= 0; i--)); do
        case ${QEMU_I386_CHANGES[i]} in
            register)
                say "changing this machine back: removing the handler $QEMU_I386" >&2
                echo -1 >"$QEMU_I386"
                ;;
            enable)
                say "changing this machine back: disabling the handler $QEMU_I386" >&2
                echo 0 >"$QEMU_I386"
                ;;
            mount)
                say "changing this machine back: unmounting binfmt_misc from $BINFMT" >&2
                umount "$BINFMT"
                ;;
        esac
    done
    QEMU_I386_CHANGES=()
}
