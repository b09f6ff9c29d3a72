#!/usr/bin/env bash
# A user's first minute: a shape from the Shape panel, then a text layer with a Thai word typed
# into it. Thread must appear on the canvas and the status line must follow each step; the menu's
# Exit ends the editor normally.
source "$(dirname "$0")/lib.sh"
e2e_init "$1" 1024 673
e2e_start
W=1024 H=673 TX=$((1024 - 240)) TY=36
canvas="40 60 700 560"          # x y w h of the canvas left of the zoom slider
status="0 $((H - 19)) 500 18"   # the status line

start=$(e2e_shot start)
e2e_click $((TX + 180)) $((TY + 18))   # Shape tab
e2e_click $((TX + 174)) $((TY + 246))  # Create
shape=$(e2e_shot shape)
[ "$(e2e_diff "$start" "$shape" $canvas)" -gt 500 ] || e2e_fail "no thread on the canvas after Create"
[ "$(e2e_diff "$start" "$shape" $status)" -gt 50 ] || e2e_fail "the status line did not change"

# The shortcuts of every editor: undo takes the shape away, redo brings it back.
e2e_key ctrl+z
undone=$(e2e_shot undone)
[ "$(e2e_diff "$start" "$undone" $canvas)" -lt 50 ] || e2e_fail "Ctrl+Z left the shape"
e2e_key ctrl+shift+z
redone=$(e2e_shot redone)
[ "$(e2e_diff "$shape" "$redone" $canvas)" -lt 50 ] || e2e_fail "Ctrl+Shift+Z did not bring it back"

# The menu closes when the canvas is pressed.
e2e_click 23 17
opened=$(e2e_shot opened)
e2e_click 500 600
closed=$(e2e_shot closed)
[ "$(e2e_diff "$opened" "$closed" 0 40 240 500)" -gt 1000 ] || e2e_fail "the menu stayed open"
# Escape closes it as well, and leaves the shape where it was.
e2e_click 23 17
e2e_key Escape
escaped=$(e2e_shot escaped)
[ "$(e2e_diff "$closed" "$escaped" 0 40 240 500)" -lt 50 ] || e2e_fail "Escape left the menu open"

e2e_click $((TX + 60)) $((TY + 18))    # Font tab
e2e_click $((TX + 138)) $((H - 35))    # add text (layer tool bar)
text=$(e2e_shot text)
[ "$(e2e_diff "$shape" "$text" $canvas)" -gt 200 ] || e2e_fail "no text layer on the canvas"
e2e_click $((TX + 118)) $((TY + 66))   # the typing box
e2e_key End
for i in 1 2 3 4 5 6; do e2e_key BackSpace; done
e2e_type "สวัสดี"
typed=$(e2e_shot typed)
[ "$(e2e_diff "$text" "$typed" $canvas)" -gt 500 ] || e2e_fail "the Thai word did not change the canvas"
[ "$(e2e_diff "$text" "$typed" $status)" -gt 50 ] || e2e_fail "the status line did not follow the text"
# The word is stitched: the layer's row shows a thumbnail with thread colours in it.
[ "$(e2e_diff "$text" "$typed" $TX $((TY + 330)) 240 140)" -gt 100 ] ||
    e2e_fail "the layer list did not follow the text"

e2e_click 23 17                        # the menu
menu=$(e2e_shot menu)
[ "$(e2e_pixel "$menu" 5 200)" != "$(e2e_pixel "$typed" 5 200)" ] || e2e_fail "no menu"
# Exit is the last row; the menu is as high as the room below the top bar allows.
e2e_click 60 $((TY + 602 - 16))
local_status=0
wait "$E2E_MES_PID" || local_status=$?
E2E_MES_PID=
[ "$local_status" -eq 0 ] || e2e_fail "Exit ended the editor with status $local_status"
