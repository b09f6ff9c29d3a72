#!/usr/bin/env bash
# The emoticon balloon in the editor: the emoticon button veils the window and opens the grid, a cell puts a preview on
# the canvas, L makes it Large, OK adds it and closes the balloon, giving the window back, and
# Ctrl+Z takes the emoticon away again.
source "$(dirname "$0")/lib.sh"
e2e_init "$1" 1024 673
e2e_start
W=1024 H=673 TX=$((1024 - 240)) TY=36
BX=$((W - 574)) BY=36                # the balloon's corner
canvas="40 60 400 560"               # the canvas left of the balloon
status="0 $((H - 19)) 500 18"        # the status line

# Large designs take a moment to render on a busy machine: shots are retaken until the region
# differs from the reference by more than the threshold, for up to ten seconds.
shot_until() {  # NAME REFERENCE THRESHOLD X Y W H
    local name=$1 ref=$2 limit=$3 f i
    for i in $(seq 1 20); do
        f=$(e2e_shot "$name")
        [ "$(e2e_diff "$ref" "$f" "$4" "$5" "$6" "$7")" -gt "$limit" ] && break
        sleep 0.5
    done
    echo "$f"
}

start=$(e2e_shot start)
e2e_click $((TX + 28)) $((TY + 211))  # the emoticon button
open=$(shot_until open "$start" 5000 $canvas)
[ "$(e2e_diff "$start" "$open" $canvas)" -gt 5000 ] || e2e_fail "the window behind is not veiled"
[ "$(e2e_pixel "$open" $((BX + 30)) $((BY + 370)))" != "$(e2e_pixel "$start" $((BX + 30)) $((BY + 370)))" ] ||
    e2e_fail "no balloon"

e2e_click $((BX + 37)) $((BY + 37))    # cell (0, 0): emoticon 1, Medium
preview=$(shot_until preview "$open" 2000 $canvas)
[ "$(e2e_diff "$open" "$preview" $canvas)" -gt 2000 ] || e2e_fail "no preview on the canvas"
e2e_click $((BX + 135)) $((BY + 366))  # L
large=$(shot_until large "$preview" 2000 $canvas)
[ "$(e2e_diff "$preview" "$large" $canvas)" -gt 2000 ] || e2e_fail "the preview did not grow"
e2e_click $((BX + 300)) $((BY + 366))  # OK
done=$(shot_until done "$large" 5000 $canvas)
[ "$(e2e_diff "$large" "$done" $canvas)" -gt 5000 ] || e2e_fail "the veil did not go"
[ "$(e2e_diff "$start" "$done" $status)" -gt 50 ] || e2e_fail "the status line did not change"
[ "$(e2e_diff "$open" "$done" $((BX + 14)) $((BY + 14)) 322 322)" -gt 5000 ] ||
    e2e_fail "the balloon did not close"

# The emoticon came through the undo history: Ctrl+Z takes it away.
e2e_key ctrl+z
for i in $(seq 1 20); do
    undone=$(e2e_shot undone)
    [ "$(e2e_diff "$start" "$undone" $status)" -le 10 ] && break
    sleep 0.5
done
[ "$(e2e_diff "$start" "$undone" $status)" -le 10 ] || e2e_fail "Undo did not take the emoticon away"

# Escape cancels: the balloon and its preview go, the design is as before.
e2e_click $((TX + 28)) $((TY + 211))
reopened=$(shot_until reopened "$undone" 5000 $canvas)
e2e_click $((BX + 37)) $((BY + 37))
shot_until preview2 "$reopened" 2000 $canvas >/dev/null
e2e_key Escape
for i in $(seq 1 20); do
    escaped=$(e2e_shot escaped)
    [ "$(e2e_diff "$undone" "$escaped" $canvas)" -le 50 ] && break
    sleep 0.5
done
[ "$(e2e_diff "$undone" "$escaped" $canvas)" -le 50 ] || e2e_fail "Escape left the balloon or its preview"
[ "$(e2e_diff "$undone" "$escaped" $status)" -le 10 ] || e2e_fail "Escape changed the design"
e2e_stop
echo "emoticon balloon: veiled, previewed, enlarged, added, closed, undone, cancelled"
