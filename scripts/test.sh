#!/usr/bin/env bash
# Builds everything and runs every test: the fuzz corpus once under ASan and UBSan
# (clang's libFuzzer), then all tests in the normal build, the web page in headless
# Chromium against the desktop program (the Python module's tests are the ctest "python"),
# then all tests again under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh web browser python
jobs=$(nproc)

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFV_FUZZ=ON -DFV_TESTS=OFF -DFV_BENCH=OFF -DFV_GRAPHICS=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzz_dialogue fuzz_solvers fuzz_timeresp fuzz_exact
for t in timeresp solvers exact; do
    build-fuzz/fuzz/fuzz_"$t" fuzz/corpus/"$t" -runs=0 -timeout=60 2>&1 | tail -n 1
done
# A dialogue input that reaches group (3) computes all 22 curves: the kept inputs are
# shared out over the cores.
mapfile -t inputs < <(ls fuzz/corpus/dialogue/* | sort)
pids=()
for ((w = 0; w < jobs; w++)); do
    share=()
    for ((i = w; i < ${#inputs[@]}; i += jobs)); do share+=("${inputs[i]}"); done
    ((${#share[@]})) || continue
    build-fuzz/fuzz/fuzz_dialogue -timeout=60 "${share[@]}" >"build-fuzz/dialogue-$w.log" 2>&1 &
    pids+=($!)
done
for p in "${pids[@]}"; do
    wait "$p" || { cat build-fuzz/dialogue-*.log; exit 1; }
done
echo "fuzz corpus: ${#inputs[@]} dialogue inputs passed"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFV_PYTHON=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

bash scripts/web.sh --build-only
/usr/bin/python3 tests/web/browser_test.py build-web/site build/frictionvib

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DFV_SANITIZE=ON -DFV_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
