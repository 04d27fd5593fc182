#!/usr/bin/env bash
# Builds the program and opens its window. Arguments go to the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

bash "$root/scripts/deps.sh"
# Only the programs: the tests and the benchmarks need tools the run does not
# install (scripts/test.sh adds them).
cmake -S "$root" -B "$build" -DPAYSLIP_TESTS=OFF -DPAYSLIP_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target payslip payslip-cli
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display to open the window on; here is the start-up slip from the command line:" >&2
    exec "$build/cli/payslip-cli"
fi
exec "$build/window/payslip" "$@"
