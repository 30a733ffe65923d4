#!/usr/bin/env bash
# Fuzz campaign: builds the libFuzzer targets with clang (ASan + UBSan) and runs each
# for the given seconds (default 600) on its corpus in fuzz/corpus/, which grows with
# what the campaign finds. Findings (crash-*, timeout-*) land in the current folder.
#
#   bash scripts/fuzz.sh [seconds per target] [targets...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
seconds=${1:-600}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(timeresp solvers exact dialogue)

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFV_FUZZ=ON -DFV_TESTS=OFF -DFV_BENCH=OFF -DFV_GRAPHICS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target $(printf 'fuzz_%s ' "${targets[@]}")

# A single solver call may take one second, a dialogue pass ten (each target checks
# its own calls and aborts beyond that); libFuzzer's own limit is a safety net.
declare -A limit=([timeresp]=5 [solvers]=30 [dialogue]=60 [exact]=60)
for t in "${targets[@]}"; do
    mkdir -p "fuzz/corpus/$t"
    build-fuzz/fuzz/fuzz_"$t" "fuzz/corpus/$t" -max_total_time="$seconds" \
        -timeout="${limit[$t]}" -rss_limit_mb=4096 -print_final_stats=1
done
