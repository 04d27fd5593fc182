#!/usr/bin/env bash
# Builds the program and opens its window.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -DPAYSLIP_TESTS=OFF -DPAYSLIP_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
if [ -x "$build/window/payslip" ]; then
    exec "$build/window/payslip" "$@"
fi
# No window built yet: the start-up slip from the command line.
exec "$build/cli/payslip-cli" "$@"
