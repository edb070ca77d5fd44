#!/usr/bin/env bash
# Runs the tests that work on the practice's data again with the data on a PostgreSQL server:
# starts a throwaway cluster (scripts/pg-cluster.sh), prepares a database in the delivered state
# as the template of every test's own database, runs the ctest label "server" of the build
# folder given (build by default), and stops the cluster whatever happened.
#   bash tests/server/run.sh [BUILD_DIR] [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
shift || true
cluster=$(mktemp -d /tmp/orvanta-pg.XXXXXX)
chmod 755 "$cluster"
cleanup() {
    bash scripts/pg-cluster.sh stop "$cluster" || true
    rm -rf "$cluster"
}
trap cleanup EXIT
server=$(bash scripts/pg-cluster.sh start "$cluster")
psql "$server" -qc "CREATE DATABASE orv_template" >/dev/null
"$build/tools/orvanta-pgcreate" "$server dbname=orv_template" >/dev/null
export ORVANTA_TEST_SERVER="$server"
export ORVANTA_TEST_SERVER_TEMPLATE=orv_template
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest -L server --output-on-failure -j"$(nproc)" "$@")
