#!/usr/bin/env bash
# Installs what is missing, builds, prepares the practice folder ./practice (a fresh data.mdb,
# left alone when it exists, and the report layouts) and starts the program in it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
mkdir -p practice
./build/tools/orvanta-makedb practice
if compgen -G "layouts/*.RAV" > /dev/null; then
    cp -u layouts/*.RAV practice/
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Orvanta needs a graphical display (DISPLAY or WAYLAND_DISPLAY is not set); try: xvfb-run -a $0" >&2
    exit 1
fi
cd practice
exec ../build/src/app/orvanta
