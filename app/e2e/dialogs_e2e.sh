#!/usr/bin/env bash
# The file dialog and the stick through the editor's own menu, in a real X server: a shape is
# made and saved through the desktop's save dialog (our GTK helper) with a typed path, and
# mes-cli finds the layer in the project; then the project is opened from the command line and
# exported to mes-stick-sim through --stick, and the simulator stores a version 5 PES.
source "$(dirname "$0")/lib.sh"
e2e_init "$1"
if [ ! -x "$E2E_BIN/mes-file-dialog" ]; then
    echo "mes-file-dialog was not built (no GTK 3): nothing to test"
    exit 0
fi
TX=$((1024 - 240)) TY=36
dir=$E2E_TMP/work
mkdir -p "$dir/sub"

# Save: the shape, then the menu's fifth row (New, Open..., Import..., ---, Save...).
e2e_start
e2e_click $((TX + 180)) $((TY + 18))   # Shape tab
e2e_click $((TX + 174)) $((TY + 246))  # Create
e2e_click 23 17                        # the menu
for i in 1 2 3 4; do e2e_key Down; done
e2e_key Return
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

# Export: with --stick the menu has "Export to MivoStick" as its sixth row.
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
"$E2E_BIN/mes-stick-sim" --port "$port" --store "$dir/stick" >"$E2E_OUT/sim.log" 2>&1 &
sim=$!
sleep 0.5
e2e_start "$dir/sub/e2e-design.mpes" --stick "127.0.0.1:$port"
e2e_click 23 17
for i in 1 2 3 4 5; do e2e_key Down; done
e2e_key Return
timeout 30 xdotool search --sync --onlyvisible --name '^Export Successful$' >/dev/null ||
    { kill "$sim"; e2e_fail "no success box"; }
e2e_shot export-box >/dev/null
kill -INT "$sim"
wait "$sim" || true
grep -q "valid PES, header #PES0050" "$E2E_OUT/sim.log" || e2e_fail "stick: $(cat "$E2E_OUT/sim.log")"
[ -f "$dir/stick/mivo_emb.pes" ] || e2e_fail "nothing stored"
"$E2E_BIN/mes-cli" check "$dir/stick/mivo_emb.pes" --hoop 100x100 >"$E2E_OUT/check.txt" ||
    e2e_fail "the stored design would stop a machine: $(cat "$E2E_OUT/check.txt")"
e2e_stop
