#!/usr/bin/env bash
# Long soak of the window under a private Xvfb: 100,000 frames (keys and redraws as
# fast as the program draws them), zoom keys, and a return to the console every 2,500
# frames; memory, the ring, time and state are checked, and ESC must end with status 0.
#
#   bash scripts/soak.sh [frames] [frames between console passes]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target fv_soak
tests/support/with_xvfb.sh build/tests/fv_soak "${1:-100000}" "${2:-2500}"
echo "soak: ended with status 0"
