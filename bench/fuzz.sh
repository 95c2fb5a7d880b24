#!/usr/bin/env bash
# Fuzzes the readers of outside bytes for a while and prints what came of it.
#   bench/fuzz.sh SECONDS [TARGET...]    e.g. bench/fuzz.sh 600 clip unit_link
# TARGET is a file name in tests/fuzz/ without .cpp; none = every target.
# FUZZ_JOBS targets run side by side (default 2). Each starts from a copy of
# its corpus tests/fuzz/corpus/TARGET/, so the repository gets no new files;
# the grown corpus, the log and any crash, leak or timeout input stay in
# build-asan/fuzz-runs/<time>/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:?usage: bench/fuzz.sh SECONDS [TARGET...]}
shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for f in tests/fuzz/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
jobs=${FUZZ_JOBS:-2}

cmake --preset asan >/dev/null
cmake --build --preset asan --target "${targets[@]/#/fuzz_}" >/dev/null

runs=build-asan/fuzz-runs/$(date +%Y%m%d-%H%M%S)
tmp=/tmp
[ -d /dev/shm ] && tmp=/dev/shm  # the settings writer syncs every file it writes

fuzz_one() {  # $1 = target
    local dir=$runs/$1
    mkdir -p "$dir/corpus" "$dir/findings"
    cp tests/fuzz/corpus/"$1"/* "$dir/corpus/" 2>/dev/null || true
    TMPDIR=$tmp QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
        build-asan/tests/fuzz/fuzz_"$1" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$dir/findings/" "$dir/corpus" >"$dir/log" 2>&1 || true
}

for t in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
    fuzz_one "$t" &
done
wait

printf '%-14s %6s %10s %8s %6s %7s %7s  %s\n' target time execs exec/s cov ft corpus findings
for t in "${targets[@]}"; do
    log=$runs/$t/log
    stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -1; }
    last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1)
    field() { sed -n "s/.* $1: \([^ ]*\).*/\1/p" <<<"$last"; }
    found=$(find "$runs/$t/findings" -type f -printf '%f ' | sed 's/ $//')
    printf '%-14s %5ss %10s %8s %6s %7s %7s  %s\n' "$t" "$seconds" "$(stat number_of_executed_units)" \
        "$(stat average_exec_per_sec)" "$(field cov)" "$(field ft)" "$(find "$runs/$t/corpus" -type f | wc -l)" \
        "${found:-none}"
done
echo "logs, corpora and findings: $runs"
