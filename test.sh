#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs every test headless (SDL's dummy driver).
# Under CI (CI=true) warnings are errors, and the tests run a second time under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
unset DISPLAY WAYLAND_DISPLAY
jobs=$(nproc)
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMES_WERROR=$werror >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

if [ "${CI:-}" = "true" ] || [ "${MES_SANITIZE:-}" = "1" ]; then
    # Warnings are errors in the build above; the sanitizers' instrumentation makes g++ report
    # uninitialised values in library code that are not there, so this build only shows them.
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMES_WERROR=OFF \
        -DMES_SANITIZE=ON -DMES_BUILD_BENCH=OFF >/dev/null
    cmake --build build-asan -j "$jobs"
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure -j "$jobs"
fi
