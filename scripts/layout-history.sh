#!/usr/bin/env bash
# Writes packaging/layouts-shipped.sha256: the checksum of every version of every report layout
# the repository's history holds, one "SUM  NAME.RAV" a line, so that the launcher can tell a
# practice's layout the program once shipped (and the user never changed) from one the user
# edited. Run after changing a layout; tests/packaging checks the current ones are listed.
set -euo pipefail
cd "$(dirname "$0")/.."
out=packaging/layouts-shipped.sha256
{
    [ -f "$out" ] && cat "$out"
    for rev in $(git rev-list HEAD -- layouts/); do
        for path in $(git ls-tree --name-only "$rev" layouts/ | grep '\.RAV$'); do
            printf '%s  %s\n' "$(git show "$rev:$path" | sha256sum | cut -d' ' -f1)" \
                "$(basename "$path")"
        done
    done
    for path in layouts/*.RAV; do
        printf '%s  %s\n' "$(sha256sum < "$path" | cut -d' ' -f1)" "$(basename "$path")"
    done
} | sort -u -k2,2 -k1,1 > "$out.tmp"
mv "$out.tmp" "$out"
echo "$(wc -l < "$out") layout versions in $out"
