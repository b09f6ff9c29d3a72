#!/usr/bin/env bash
# The desktop's file dialog and message box as the editor shows them, in a real X server: the
# save dialog (our GTK helper) takes a typed path and the project is written there; the export
# sends to mes-stick-sim through --stick and the result box appears. The dialogs are opened by
# dialog-preview, the editor's dialogs alone, until the main menu opens them.
source "$(dirname "$0")/lib.sh"
e2e_init "$1"
if [ ! -x "$E2E_BIN/mes-file-dialog" ]; then
    echo "mes-file-dialog was not built (no GTK 3): nothing to test"
    exit 0
fi
dir=$E2E_TMP/work
mkdir -p "$dir/sub"

# Save: the GTK dialog offers Untitled.mpes in the folder; a typed path replaces it.
"$E2E_BIN/dialog-preview" save --folder "$dir" >"$E2E_OUT/save.log" 2>&1 &
E2E_MES_PID=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Save\.\.\.$' | head -1) ||
    e2e_fail "no save dialog"
xdotool windowfocus --sync "$win"
sleep 0.5
e2e_shot save-dialog >/dev/null
e2e_key ctrl+a
e2e_type "$dir/sub/e2e-design"
e2e_key Return
for i in $(seq 1 50); do
    [ -f "$dir/sub/e2e-design.mpes" ] && break
    sleep 0.1
done
[ -f "$dir/sub/e2e-design.mpes" ] || e2e_fail "the project was not written"
"$E2E_BIN/mes-cli" info "$dir/sub/e2e-design.mpes" >"$E2E_OUT/info.txt" ||
    e2e_fail "mes-cli cannot read the project"
grep -q "version: 1 layer" "$E2E_OUT/info.txt" || e2e_fail "project: $(cat "$E2E_OUT/info.txt")"
e2e_stop

# Export to the simulator on a free port.
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
"$E2E_BIN/mes-stick-sim" --port "$port" --store "$dir/stick" >"$E2E_OUT/sim.log" 2>&1 &
sim=$!
sleep 0.5
"$E2E_BIN/dialog-preview" export --stick "127.0.0.1:$port" >"$E2E_OUT/export.log" 2>&1 &
E2E_MES_PID=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Export Successful$' >/dev/null ||
    { kill "$sim"; e2e_fail "no success box: $(cat "$E2E_OUT/export.log")"; }
e2e_shot export-box >/dev/null
kill -INT "$sim"
wait "$sim" || true
grep -q "valid PES, header #PES0050" "$E2E_OUT/sim.log" || e2e_fail "stick: $(cat "$E2E_OUT/sim.log")"
[ -f "$dir/stick/mivo_emb.pes" ] || e2e_fail "nothing stored"
e2e_stop
