#!/usr/bin/env bash
# The cloud gallery as run.sh serves it: mes-gallery-server on a free loopback port, the editor
# pointed at it. The gallery button opens the dialog, a category and a design (its name has a
# space) are chosen and downloaded, and the design arrives as a layer: saved through the menu's
# shortcut and read back by mes-cli, the layer has the design's stitches.
source "$(dirname "$0")/lib.sh"
e2e_init "$1"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
"$E2E_BIN/mes-gallery-server" --port "$port" >"$E2E_OUT/server.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; e2e_cleanup' EXIT
e2e_start --gallery "http://127.0.0.1:$port"
canvas="40 60 700 560"

before=$(e2e_shot before)
e2e_click 145 17                      # "Embroidery on Cloud"
opened=$(e2e_shot opened)
[ "$(e2e_diff "$before" "$opened" $canvas)" -gt 10000 ] || e2e_fail "no gallery dialog"
e2e_click 114 $((114 + 40 * 2))       # the third category, Names
e2e_click 339 $((112 + 36 * 1))       # its second design, "Baby Mali"
chosen=$(e2e_shot chosen)
e2e_click 617 304                     # Download
for i in $(seq 1 40); do
    grep -q "Baby Mali.pes -> 200" "$E2E_OUT/server.log" && break
    sleep 0.25
done
grep -q "GET /Names/Baby Mali.pes -> 200" "$E2E_OUT/server.log" ||
    e2e_fail "the server saw no request: $(cat "$E2E_OUT/server.log")"
sleep 1
arrived=$(e2e_shot arrived)
[ "$(e2e_diff "$before" "$arrived" 784 366 240 64)" -gt 500 ] || e2e_fail "no layer in the list"

# The layer's stitches are the design's: save the project (Ctrl+S, the desktop's save dialog).
if [ -x "$E2E_BIN/mes-file-dialog" ]; then
    e2e_key ctrl+s
    win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Save\.\.\.$' | head -1) ||
        e2e_fail "no save dialog"
    xdotool windowfocus --sync "$win"
    sleep 0.5
    e2e_key ctrl+a
    e2e_type "$E2E_TMP/gallery-design"
    e2e_key Return
    for i in $(seq 1 50); do
        [ -f "$E2E_TMP/gallery-design.mpes" ] && break
        sleep 0.1
    done
    [ -f "$E2E_TMP/gallery-design.mpes" ] || e2e_fail "the project was not written"
    want=$("$E2E_BIN/mes-cli" info "$E2E_BIN/gallery/Names/Baby Mali.pes" | grep '^stitches:')
    got=$("$E2E_BIN/mes-cli" info "$E2E_TMP/gallery-design.mpes" | grep '^stitches:')
    [ -n "$want" ] && [ "$want" = "$got" ] || e2e_fail "design '$want', layer '$got'"
fi
e2e_stop
