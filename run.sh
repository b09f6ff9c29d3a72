#!/usr/bin/env bash
# Sets up what is missing, builds the editor (Release) and starts it. Arguments go to mes.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target mes mes-cli
exec build/bin/mes "$@"
