#!/usr/bin/env bash
# Sets up what is missing, builds the editor (Release) and starts it. Arguments go to mes.
# The cloud gallery's designs are served on this computer while the editor runs: the local
# gallery server starts in the background when its port is free and stops when the editor ends.
set -euo pipefail
# A document named relative to where the user stands must still be found after the cd below.
args=()
for a in "$@"; do
    if [ -e "$a" ]; then args+=("$(realpath "$a")"); else args+=("$a"); fi
done
cd "$(dirname "$0")"
tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target mes mes-cli mes-gallery-server

GALLERY_PORT=8090
gallery_pid=""
if ! (exec 3<>/dev/tcp/127.0.0.1/$GALLERY_PORT) 2>/dev/null; then
    build/bin/mes-gallery-server --port "$GALLERY_PORT" >build/gallery-server.log 2>&1 &
    gallery_pid=$!
fi
stop_gallery() {
    if [ -n "$gallery_pid" ]; then
        kill "$gallery_pid" 2>/dev/null || true
        wait "$gallery_pid" 2>/dev/null || true
    fi
}
trap stop_gallery EXIT

# The editor runs in the background of this script so that an interrupt or a termination of the
# script reaches it as a request to end, and the server is stopped after it in every case.
build/bin/mes "${args[@]}" &
mes_pid=$!
trap 'kill -TERM "$mes_pid" 2>/dev/null || true' INT TERM
status=0
wait "$mes_pid" || status=$?
while kill -0 "$mes_pid" 2>/dev/null; do  # the wait was interrupted by a signal
    status=0
    wait "$mes_pid" || status=$?
done
exit "$status"
