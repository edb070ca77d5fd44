#!/usr/bin/env bash
# Tries the README on brand-new Debian 12 machines, as a new user would meet them:
#   1. a minimal Debian 12 root (debootstrap minbase) on a Greek system (LANG=el_GR.UTF-8) gets
#      a clone of this repository and runs exactly the README's two commands: the run command
#      without a display (it must build and say it needs one), then under xvfb-run until the
#      start-up notice is on the screen, and the test command, which must pass;
#   2. the Debian package built there is installed with apt in a second fresh root, and the
#      launcher is started by a user who is not root, with a new home, under xvfb-run.
#
#   bash scripts/fresh-check.sh [WORK_DIR]          (as root; WORK_DIR: /var/tmp/orvanta-fresh)
#
# What may be kept is kept inside the run: both roots come from one debootstrap, they share one
# folder of downloaded packages, and the first root compiles through the host's compile cache at
# the same path as the clone here, so a tree the host has already built compiles from the cache.
# FRESH_COMMIT names the commit to try (HEAD by default); FRESH_MIRROR the Debian mirror;
# FRESH_DEB=PATH tries only the second step, with a package built elsewhere.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/var/tmp/orvanta-fresh}
mirror=${FRESH_MIRROR:-http://deb.debian.org/debian}
commit=${FRESH_COMMIT:-HEAD}
[ "$(id -u)" -eq 0 ] || { echo "fresh-check: run as root (debootstrap and chroot)" >&2; exit 2; }

started=$(date +%s)
say() { echo "== fresh: $1 ($(( $(date +%s) - started )) s)"; }

if ! command -v debootstrap >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
fi

# Everything inside one private mount and process namespace: the mounts into the roots and every
# process started in them end with this script, whatever happens.
if [ -z "${FRESH_INSIDE:-}" ]; then
    exec env FRESH_INSIDE=1 unshare --mount --pid --fork --propagation private -- \
        bash "$0" "$@"
fi
mount -t proc proc /proc

rm -rf "$work/base" "$work/build-root" "$work/user-root"
mkdir -p "$work/debs"
say "debootstrap"
debootstrap --variant=minbase bookworm "$work/base" "$mirror" > "$work/debootstrap.log" 2>&1 \
    || { tail -30 "$work/debootstrap.log"; echo "fresh-check: debootstrap failed" >&2; exit 1; }
# The suites a Debian 12 installation has, from the same mirror; the host's own fetch settings
# (a proxy, a mirror's validity dates) are what this machine needs to reach any archive.
cat > "$work/base/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${mirror%/debian}/debian-security bookworm-security main
EOF
if [ -d /etc/apt/apt.conf.d ]; then
    grep -l '^Acquire::' /etc/apt/apt.conf.d/* 2>/dev/null | while read -r f; do
        cp "$f" "$work/base/etc/apt/apt.conf.d/"
    done
fi
cp /etc/resolv.conf "$work/base/etc/resolv.conf"
# Packages are unpacked, never started as services, as in an image being prepared.
printf '#!/bin/sh\nexit 101\n' > "$work/base/usr/sbin/policy-rc.d"
chmod 755 "$work/base/usr/sbin/policy-rc.d"
cp -a "$work/base" "$work/build-root"
cp -a "$work/base" "$work/user-root"
rm -rf "$work/base"

# Mounts what a program inside a root needs: /proc, /sys, /dev, a shared package download folder.
prepare() {
    local root=$1
    mount -t proc proc "$root/proc"
    mount -t sysfs sys "$root/sys"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
    mount --bind "$work/debs" "$root/var/cache/apt/archives"
}
# Runs a command in a root as root, with the environment of a Greek login shell.
in_root() {
    local root=$1
    shift
    chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=el_GR.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        DEBIAN_FRONTEND=noninteractive CCACHE_DIR=/var/cache/orvanta-ccache \
        /bin/bash -c "$*"
}

# Starts a program, and after 15 seconds lists the windows on the screen into /tmp/windows.txt.
cat > "$work/look.sh" <<'EOF'
"$@" &
pid=$!
sleep 15
xwininfo -root -tree > /tmp/windows.txt
kill "$pid"
wait
EOF

# --- 1. the README's two commands ---
if [ -n "${FRESH_DEB:-}" ]; then
    deb=$(realpath "$FRESH_DEB")
else
    root=$work/build-root
    prepare "$root"
    mkdir -p "$root/var/cache/orvanta-ccache"
    ccache_dir=$(ccache --get-config cache_dir 2>/dev/null || true)
    if [ -n "$ccache_dir" ]; then
        mkdir -p "$ccache_dir"
        mount --bind "$ccache_dir" "$root/var/cache/orvanta-ccache"
    fi
    mkdir -p "$root$(dirname "$repo")"
    git clone -q --no-hardlinks "$repo" "$root$repo"
    git -C "$root$repo" checkout -q --detach "$(git -C "$repo" rev-parse "$commit")"
    say "clone of $(git -C "$root$repo" log -1 --format='%h %s' | cut -c1-70)"

    say "README: bash scripts/run.sh (no display)"
    set +e
    in_root "$root" "cd '$repo' && bash scripts/run.sh" > "$work/run-nodisplay.log" 2>&1
    status=$?
    set -e
    if [ "$status" -ne 1 ] || ! grep -q 'needs a graphical display' "$work/run-nodisplay.log"; then
        tail -40 "$work/run-nodisplay.log"
        echo "fresh-check: the run command did not build and stop at the missing display" \
            "(status $status)" >&2
        exit 1
    fi

    say "README: xvfb-run -a bash scripts/run.sh"
    # The program waits for the first password after its notice; it is looked at after 15 seconds.
    cp "$work/look.sh" "$root/tmp/look.sh"
    set +e
    in_root "$root" "apt-get install -y -qq --no-install-recommends x11-utils >/dev/null && cd '$repo' \
        && timeout 60 xvfb-run -a sh /tmp/look.sh bash scripts/run.sh" > "$work/run.log" 2>&1
    set -e
    if ! grep -q '"Orvanta created by' "$root/tmp/windows.txt" 2>/dev/null; then
        tail -30 "$work/run.log"
        cat "$root/tmp/windows.txt" 2>/dev/null
        echo "fresh-check: the run command did not reach the start-up notice" >&2
        exit 1
    fi

    say "README: bash scripts/test.sh"
    if ! in_root "$root" "cd '$repo' && bash scripts/test.sh" > "$work/test.log" 2>&1; then
        grep -E 'tests passed|Failed|\*\*\*|Error' "$work/test.log" | tail -40
        echo "fresh-check: the test command failed (log: $work/test.log)" >&2
        exit 1
    fi
    grep -E 'tests passed' "$work/test.log"

    say "Debian package"
    in_root "$root" "cd '$repo/build' && rm -f orvanta_*.deb && cpack -G DEB > cpack.log 2>&1" \
        || { cat "$root$repo/build/cpack.log"; exit 1; }
    deb=$(ls "$root$repo"/build/orvanta_*.deb)
fi

# --- 2. the package on a second fresh machine, started by a user ---
user_root=$work/user-root
prepare "$user_root"
cp "$deb" "$user_root/tmp/"
say "apt-get install ./$(basename "$deb") in a second root"
in_root "$user_root" "apt-get update -qq && apt-get install -y -qq --no-install-recommends \
    locales xvfb xauth x11-utils /tmp/$(basename "$deb") > /tmp/install.log 2>&1 \
    && sed -i 's/^# *\\(el_GR.UTF-8 UTF-8\\)/\\1/' /etc/locale.gen && locale-gen >/dev/null \
    && useradd -m -s /bin/bash eleni" \
    || { tail -30 "$user_root/tmp/install.log"; echo "fresh-check: the package did not install" >&2
         exit 1; }
say "the launcher started by a user"
set +e
cp "$work/look.sh" "$user_root/tmp/look.sh"
in_root "$user_root" "runuser -u eleni -- env HOME=/home/eleni LANG=el_GR.UTF-8 timeout 40 \
    xvfb-run -a sh /tmp/look.sh orvanta" > "$work/launcher.log" 2>&1
set -e
problems=0
grep -q '"Orvanta created by' "$user_root/tmp/windows.txt" 2>/dev/null \
    || { cat "$work/launcher.log"; echo "PROBLEM: the start-up notice was not shown"; problems=1; }
[ -s "$user_root/home/eleni/Orvanta/data.mdb" ] \
    || { echo "PROBLEM: no data.mdb in the user's ~/Orvanta"; problems=1; }
owner=$(stat -c %u "$user_root/home/eleni/Orvanta/data.mdb" 2>/dev/null || echo none)
[ "$owner" = "$(stat -c %u "$user_root/home/eleni")" ] \
    || { echo "PROBLEM: data.mdb belongs to $owner"; problems=1; }
[ "$problems" -eq 0 ] || exit 1
say "both fresh machines passed"
