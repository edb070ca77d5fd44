#!/usr/bin/env bash
# The launcher in an installed tree: first start, later starts, layouts shipped anew,
# folders it cannot use, and its options.
#   launcher_test.sh LAUNCHER MAKEDB LAYOUTS_DIR VERSION
set -uo pipefail
launcher=$1 makedb=$2 layouts=$3 version=$4

tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
failures=0
check() { # DESCRIPTION COMMAND...
    local what=$1; shift
    if ! "$@"; then echo "FAIL: $what"; failures=$((failures + 1)); fi
}

# An installed tree whose program writes down where and how it was started.
root="$tmp/usr"
mkdir -p "$root/bin" "$root/libexec/orvanta" "$root/share/orvanta/layouts"
cp "$launcher" "$root/bin/orvanta"
cp "$makedb" "$root/bin/orvanta-makedb"
cat > "$root/libexec/orvanta/orvanta" <<'PROGRAM'
#!/bin/sh
printf '%s|%s\n' "$PWD" "$#" >> "$ORVANTA_TEST_LOG"
PROGRAM
chmod +x "$root/libexec/orvanta/orvanta"
cp "$layouts/LIST.RAV" "$layouts/NOTES.RAV" "$root/share/orvanta/layouts/"
export ORVANTA_TEST_LOG="$tmp/started"
launch() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen HOME="$tmp/home" "$root/bin/orvanta" "$@"; }
started() { [ -f "$ORVANTA_TEST_LOG" ] && wc -l < "$ORVANTA_TEST_LOG" || echo 0; }

# First start: the default folder is made, with a database and the layouts.
mkdir -p "$tmp/home"
launch > "$tmp/out" 2>&1
check "first start succeeds" test $? -eq 0
practice="$tmp/home/Orvanta"
check "data.mdb created" test -s "$practice/data.mdb"
check "SQLite database" bash -c "head -c 15 '$practice/data.mdb' | grep -q 'SQLite format 3'"
check "layouts copied" cmp -s "$layouts/LIST.RAV" "$practice/LIST.RAV"
check "layouts copied" cmp -s "$layouts/NOTES.RAV" "$practice/NOTES.RAV"
check "program started in the practice folder" test "$(cat "$ORVANTA_TEST_LOG")" = "$practice|0"
check "first start says nothing about layouts" bash -c "! grep -q RAV '$tmp/out'"

# The user's data and changed layout are kept; a shipped layout differing from it goes beside.
echo "user's change" >> "$practice/LIST.RAV"
cp "$practice/LIST.RAV" "$tmp/list-mine"
printf 'kept' > "$practice/data.mdb"
rm "$practice/NOTES.RAV"
launch > "$tmp/out" 2>&1
check "second start succeeds" test $? -eq 0
check "data.mdb never replaced" test "$(cat "$practice/data.mdb")" = kept
check "user's layout kept" cmp -s "$tmp/list-mine" "$practice/LIST.RAV"
check "shipped layout put beside" cmp -s "$layouts/LIST.RAV" "$practice/LIST.RAV.new"
check "one line of notice" test "$(grep -c 'LIST.RAV.new' "$tmp/out")" -eq 1
check "a removed layout comes back" cmp -s "$layouts/NOTES.RAV" "$practice/NOTES.RAV"
check "no .new for an unchanged layout" test ! -e "$practice/NOTES.RAV.new"
check "started twice" test "$(started)" -eq 2
launch > "$tmp/out" 2>&1
check "the notice is not repeated" bash -c "! grep -q RAV '$tmp/out'"
check "the changed layout is named for the program, once" \
    test "$(cat "$practice/.orvanta-older-layouts")" = LIST.RAV

# An upgrade: a practice made with an earlier receipt layout gets the program's, with the MARK
# and the QR code; the layout the user changed stays as it was.
sums="$(dirname "$layouts")/packaging/layouts-shipped.sha256"
earlier="$(dirname "$0")/earlier"
for f in "$layouts"/*.RAV; do
    check "$(basename "$f") is listed as shipped" \
        grep -qx "$(sha256sum < "$f" | cut -d' ' -f1)  $(basename "$f")" "$sums"
done
cp "$layouts/APODEIKSEIS.RAV" "$root/share/orvanta/layouts/"
cp "$sums" "$root/share/orvanta/"
cp "$earlier/APODEIKSEIS.RAV" "$practice/APODEIKSEIS.RAV"
rm -f "$practice/.orvanta-older-layouts"
launch > "$tmp/out" 2>&1
check "an earlier shipped layout is replaced" \
    cmp -s "$layouts/APODEIKSEIS.RAV" "$practice/APODEIKSEIS.RAV"
check "the receipt now prints the QR code" grep -q "qrcode" "$practice/APODEIKSEIS.RAV"
check "nothing beside a replaced layout" test ! -e "$practice/APODEIKSEIS.RAV.new"
check "the user's layout kept after the upgrade" cmp -s "$tmp/list-mine" "$practice/LIST.RAV"
check "a replaced layout is not named as older" test ! -e "$practice/.orvanta-older-layouts"

# A folder given on the command line, with a space in its name, in both spellings.
launch --practice "$tmp/other place" > /dev/null 2>&1
check "--practice DIR" test -s "$tmp/other place/data.mdb"
check "started in --practice DIR" test "$(tail -n1 "$ORVANTA_TEST_LOG")" = "$tmp/other place|0"
(cd "$tmp" && launch --practice=rel > /dev/null 2>&1)
check "--practice=DIR relative to the current folder" test -s "$tmp/rel/data.mdb"
check "started in the relative folder" test "$(tail -n1 "$ORVANTA_TEST_LOG")" = "$tmp/rel|0"

# A folder that cannot be made: a Greek message, a failure, nothing started.
before=$(started)
touch "$tmp/a-file"
launch --practice "$tmp/a-file/practice" > "$tmp/out" 2> "$tmp/err"
check "impossible folder fails" test $? -ne 0
check "message in Greek names the folder" grep -q "δεν μπορεί να δημιουργηθεί.*a-file/practice" "$tmp/err"
check "nothing started" test "$(started)" -eq "$before"
if [ "$(id -u)" -ne 0 ]; then
    mkdir "$tmp/locked" && chmod a-w "$tmp/locked"
    launch --practice "$tmp/locked" > /dev/null 2> "$tmp/err"
    check "read-only folder fails" test $? -ne 0
    check "read-only message" grep -q "εγγραφή" "$tmp/err"
    check "no database in a read-only folder" test ! -e "$tmp/locked/data.mdb"
fi
check "nothing started either" test "$(started)" -eq "$before"

# A folder that lost its data.mdb but holds a practice kept by a restore: no new, empty practice
# is made over it; the launcher names the file the practice can be restored from, and stops.
for kept in "data-before-restore-2026-03-06-090507.mdb" ".data.mdb.restoring.part" \
            "data-before-restore-2026-03-06-090507.mdb .data.mdb.restoring.part"; do
    folder="$tmp/restored $(echo "$kept" | tr -cd 'a-z0-9')"
    mkdir -p "$folder"
    for f in $kept; do printf 'practice' > "$folder/$f"; done
    launch --practice "$folder" > "$tmp/out" 2> "$tmp/err"
    check "[$kept] the launcher stops" test $? -ne 0
    check "[$kept] no new practice made" test ! -e "$folder/data.mdb"
    for f in $kept; do
        check "[$kept] names $f" grep -qF "$folder/$f" "$tmp/err"
        check "[$kept] $f left as it was" test "$(cat "$folder/$f")" = practice
    done
    check "[$kept] says the practice may be restored from it" grep -q "μπορεί να επανέλθει" "$tmp/err"
    check "[$kept] says no empty practice was made" grep -q "Δεν δημιουργήθηκε νέο, άδειο ιατρείο" "$tmp/err"
    check "[$kept] nothing started" test "$(started)" -eq "$before"
done
# Beside a data.mdb, a practice kept by an earlier restore changes nothing.
folder="$tmp/restored before"
mkdir -p "$folder"
printf 'kept' > "$folder/data-before-restore-2026-03-06-090507.mdb"
"$makedb" "$folder" > /dev/null
launch --practice "$folder" > /dev/null 2>&1
check "a folder with data.mdb and a set-aside practice starts" test $? -eq 0
check "started there" test "$(tail -n1 "$ORVANTA_TEST_LOG")" = "$folder|0"
before=$(started)

# Without a display the program is not started, but the folder is ready.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$tmp/home2" "$root/bin/orvanta" > /dev/null 2> "$tmp/err"
check "no display fails" test $? -ne 0
check "no display says so" grep -q "DISPLAY" "$tmp/err"
check "no display: folder prepared all the same" test -s "$tmp/home2/Orvanta/data.mdb"
check "no display: nothing started" test "$(started)" -eq "$before"

# Options.
check "--version" test "$(launch --version)" = "orvanta $version"
check "--help mentions --practice" bash -c "'$root/bin/orvanta' --help | grep -q -- --practice"
launch --bogus > /dev/null 2> "$tmp/err"
check "unknown option is a usage error" test $? -eq 2
launch --practice > /dev/null 2>&1
check "--practice without a folder is a usage error" test $? -eq 2
check "options start nothing" test "$(started)" -eq "$before"
check "--help made no folder" test ! -e "$tmp/home/Orvanta/--help"

[ "$failures" -eq 0 ] && echo "all launcher checks passed"
exit $((failures > 0))
