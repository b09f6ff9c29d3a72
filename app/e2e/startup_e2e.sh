#!/usr/bin/env bash
# The editor starts in a real X window and shows its main window; a PES design named on the
# command line arrives as a layer, and the editor ends normally when asked.
source "$(dirname "$0")/lib.sh"
e2e_init "$1"
e2e_start
shot=$(e2e_shot start)
expect_pixel() {  # X Y RRGGBB what
    local got
    got=$(e2e_pixel "$shot" "$1" "$2")
    [ "$got" = "$3" ] || e2e_fail "$4 at $1,$2 is $got, not $3"
}
expect_pixel 5 5 182539 "top bar"
expect_pixel 300 665 E3E3E3 "bottom bar"
expect_pixel 800 400 FFFFFF "layer list"
expect_pixel 1020 250 EEF0F4 "toolbox"
e2e_stop

# A design given at start is imported: thread on the canvas, a row in the layer list.
"$E2E_BIN/mes-cli" shape Rectangle --width 6 --height 4 -o "$E2E_TMP/box.pes" >/dev/null
e2e_start "$E2E_TMP/box.pes"
withDesign=$(e2e_shot design)
[ "$(e2e_diff "$shot" "$withDesign" 40 60 700 560)" -gt 1000 ] || e2e_fail "no design on the canvas"
[ "$(e2e_diff "$shot" "$withDesign" 784 366 240 64)" -gt 500 ] || e2e_fail "no row in the layer list"
e2e_stop
grep -q "importPESW($E2E_TMP/box.pes);" "$E2E_OUT/mes.log" || e2e_fail "the design was not imported"
