#!/usr/bin/env bash
# The editor starts in a real X window, shows its main window and ends normally when closed.
source "$(dirname "$0")/lib.sh"
e2e_init "$1"
e2e_start
shot=$(e2e_shot start)
# The canvas is grey.
[ "$(e2e_pixel "$shot" 100 300)" = "707070" ] || e2e_fail "canvas colour $(e2e_pixel "$shot" 100 300)"
e2e_stop
