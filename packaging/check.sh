#!/usr/bin/env bash
# Builds the Debian package and checks it:
#   packaging/check.sh BUILD_DIR             cpack -G DEB, lintian (fails on an error),
#                                            appstreamcli validate, desktop-file-validate
#   packaging/check.sh BUILD_DIR --install   and then, as root: installs the package, starts
#                                            the launcher with a new HOME under xvfb-run, checks
#                                            ~/Orvanta, removes the package and checks the
#                                            practice folder is untouched
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [--install]" >&2; exit 2; }
build=$(cd "$1" && pwd)
install=no
[ "${2:-}" = "--install" ] && install=yes

problems=0
problem() { echo "PROBLEM: $*"; problems=$((problems + 1)); }

cd "$build"
rm -f orvanta_*.deb
cpack -G DEB > cpack.log 2>&1 || { cat cpack.log; echo "cpack failed" >&2; exit 1; }
deb=$(ls orvanta_*_*.deb)
echo "== package: $deb ($(du -h "$deb" | cut -f1), installed $(dpkg-deb -f "$deb" Installed-Size) KiB)"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
# The statistics window's charts: found by dpkg-shlibdeps from the program's own libraries.
dpkg-deb -f "$deb" Depends | grep -q 'libqt6charts6' || problem "the package does not depend on libqt6charts6"

echo "== lintian"
lintian_out=$(lintian "$deb" 2>&1 || true)
if [ -n "$lintian_out" ]; then echo "$lintian_out"; else echo "(nothing to report)"; fi
echo "$lintian_out" | grep -q '^E:' && problem "lintian reports errors"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"

echo "== the e-books schema"
(cd "$tree/usr/share/orvanta/mydata-xsd" 2>/dev/null && sha256sum -c SHA256SUMS) \
    || problem "the package carries no whole e-books schema"

echo "== appstreamcli validate"
metainfo=$(ls "$tree"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "$metainfo" || problem "AppStream metadata not valid"

echo "== desktop-file-validate"
desktop-file-validate "$tree/usr/share/applications/orvanta.desktop" || problem "desktop entry not valid"
# desktop-file-validate's exit status misses some errors; it prints them all.
desktop-file-validate "$tree/usr/share/applications/orvanta.desktop" 2>&1 | grep -q 'error:' \
    && problem "desktop entry has errors"

if [ "$install" = yes ]; then
    echo "== install, first start, removal"
    [ "$(id -u)" -eq 0 ] || { echo "--install needs root" >&2; exit 1; }
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -qq "./$deb" > apt-install.log 2>&1 || { cat apt-install.log; problem "apt-get install failed"; }
    home=$(mktemp -d)
    status=0
    # The program is looked at after 15 seconds, past the splash: the start-up notice (a message
    # box captioned with the program's title, "Orvanta created by ...") must be on the screen.
    rm -f windows.txt
    HOME=$home timeout 25 xvfb-run -a sh -c \
        'orvanta & sleep 15; xwininfo -root -tree > "$0"; wait' "$build/windows.txt" \
        > first-start.log 2>&1 || status=$?
    # 124: still running when the time was up, as it should (it waits for the first password).
    [ "$status" -eq 124 ] || [ "$status" -eq 0 ] || { cat first-start.log; problem "first start ended with status $status"; }
    grep -q '"Orvanta created by' windows.txt 2>/dev/null \
        || { cat windows.txt first-start.log 2>/dev/null; problem "the start-up notice was not shown"; }
    practice="$home/Orvanta"
    [ -s "$practice/data.mdb" ] || problem "no data.mdb in $practice"
    shipped=$(ls /usr/share/orvanta/layouts/*.RAV | wc -l)
    copied=$(ls "$practice"/*.RAV 2>/dev/null | wc -l)
    [ "$shipped" -gt 0 ] && [ "$copied" -eq "$shipped" ] || problem "$copied of $shipped layouts in $practice"
    echo "practice folder: $(ls "$practice" | tr '\n' ' ')"
    # The schema every receipt is checked against before it is sent, whole.
    (cd /usr/share/orvanta/mydata-xsd 2>/dev/null && sha256sum --quiet -c SHA256SUMS) \
        || problem "the e-books schema is missing or damaged in /usr/share/orvanta/mydata-xsd"
    before=$(cd "$practice" && find . -type f -print0 | sort -z | xargs -0 sha256sum)
    apt-get remove -y -qq orvanta > apt-remove.log 2>&1 || { cat apt-remove.log; problem "apt-get remove failed"; }
    [ ! -e /usr/bin/orvanta ] || problem "/usr/bin/orvanta still there after removal"
    after=$(cd "$practice" && find . -type f -print0 | sort -z | xargs -0 sha256sum)
    [ "$before" = "$after" ] || problem "the practice folder changed when the package was removed"
    rm -rf "$home"
fi

if [ "$problems" -gt 0 ]; then
    echo "== $problems problem(s)"
    exit 1
fi
echo "== all checks passed"
