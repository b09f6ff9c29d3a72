#!/usr/bin/env bash
# Sets up what is missing, builds the editor (Release) and starts it. Arguments go to mes.
set -euo pipefail
# A document named relative to where the user stands must still be found after the cd below.
args=()
for a in "$@"; do
    if [ -e "$a" ]; then args+=("$(realpath "$a")"); else args+=("$a"); fi
done
cd "$(dirname "$0")"
tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target mes mes-cli
exec build/bin/mes "${args[@]}"
