#!/usr/bin/env bash
# The editor starts in a real X window, shows its main window and ends normally when asked.
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
