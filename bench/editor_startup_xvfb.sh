#!/usr/bin/env bash
# Time from starting the editor to its first complete frame in a real X server (Xvfb), measured
# from outside: the whole process of `mes --exit-after-first-frame`, which quits right after the
# first frame is presented, N times (default 11); prints each run and the median in ms.
#   bench/editor_startup_xvfb.sh build/bin [N]
set -euo pipefail
BIN=$(cd "${1:-build/bin}" && pwd)
N=${2:-11}
source "$(dirname "$0")/../app/e2e/lib.sh"
e2e_init "$BIN" 1024 673
times=()
for i in $(seq 1 "$N"); do
    t0=$(date +%s%N)
    "$BIN/mes" --exit-after-first-frame >"$E2E_OUT/run$i.log" 2>&1
    t1=$(date +%s%N)
    ms=$(((t1 - t0) / 1000000))
    times+=("$ms")
    echo "run $i: $ms ms ($(grep -o 'First frame after [0-9]* ms' "$E2E_OUT/run$i.log"))"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((N + 1) / 2))p")
echo "median start to first frame: $median ms over $N runs"
