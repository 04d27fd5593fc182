#!/usr/bin/env bash
# Builds the program and opens its window. Arguments go to the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target payslip payslip-cli
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display to open the window on; here is the start-up slip from the command line:" >&2
    exec "$build/cli/payslip-cli"
fi
exec "$build/window/payslip" "$@"
