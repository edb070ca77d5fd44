#!/usr/bin/env bash
# Builds the fuzz targets with clang into ./build-fuzz and runs each on its seed corpus.
#   bash fuzz/run.sh                        every target for 20 seconds (what CI runs)
#   bash fuzz/run.sh -t 600 dialect         one target for ten minutes
#   bash fuzz/run.sh -n 10000000 layout     one target for ten million executions
#   bash fuzz/run.sh -n 10000000 -t 900     each for ten million, or 15 minutes if that comes first
# A crash or a broken property ends the run with a non-zero status and keeps the input in
# build-fuzz/artifacts/. The inputs a run finds go to build-fuzz/corpus/TARGET, never into the
# repository: copy one into fuzz/corpus/TARGET when it should be replayed by the tests.
# FUZZ_WORK=DIR puts corpus, logs and artifacts in DIR instead (two runs side by side).
# FUZZ_SEED=N starts every target from the same random seed, so that a run can be repeated
# (CI uses a fixed seed: a run that fails there fails again the same way).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=20
seconds_given=""
runs=""
while getopts "t:n:" opt; do
    case $opt in
        t) seconds=$OPTARG; seconds_given=1 ;;
        n) runs=$OPTARG ;;
        *) echo "usage: $0 [-t SECONDS | -n EXECUTIONS] [TARGET...]" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(layout dialect sqltext amount greektext mydatareply)

if [ ! -f build-fuzz/build.ninja ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORVANTA_FUZZ=ON -DORVANTA_BUILD_TESTS=OFF -DORVANTA_BUILD_BENCH=OFF
fi
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

# Longest input tried: enough for each reader's texts, short enough to keep the runs fast.
declare -A maxlen=([layout]=2048 [dialect]=512 [sqltext]=64 [amount]=64 [greektext]=256 [mydatareply]=4096)
work=${FUZZ_WORK:-build-fuzz}
mkdir -p "$work/artifacts" "$work/logs"
export QT_QPA_PLATFORM=offscreen
status=0
for t in "${targets[@]}"; do
    [ -n "${maxlen[$t]:-}" ] || { echo "unknown fuzz target: $t" >&2; exit 2; }
    mkdir -p "$work/corpus/$t"
    args=(-max_len="${maxlen[$t]}" -artifact_prefix="$work/artifacts/$t-" -print_final_stats=1)
    [ -f "fuzz/$t.dict" ] && args+=(-dict="fuzz/$t.dict")
    [ -n "$runs" ] && args+=(-runs="$runs")
    [ -n "${FUZZ_SEED:-}" ] && args+=(-seed="$FUZZ_SEED")
    [ -z "$runs" ] || [ -n "$seconds_given" ] && args+=(-max_total_time="$seconds")
    log="$work/logs/$t.log"
    started=$(date +%s)
    if "./build-fuzz/fuzz/fuzz_$t" "${args[@]}" "$work/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
        result="ok"
    else
        result="FAILED (see $log and $work/artifacts/)"
        status=1
        grep -A3 -E "property failed|ERROR:|runtime error" "$log" | head -20 >&2 || true
    fi
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    corpus=$(grep -o 'corp: [0-9]*/[0-9a-zA-Z]*' "$log" | tail -1 | cut -d' ' -f2)
    echo "fuzz_$t: ${execs:-?} executions in $(( $(date +%s) - started )) s, corpus ${corpus:-?} (inputs/bytes): $result"
done
exit $status
