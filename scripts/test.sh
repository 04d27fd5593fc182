#!/usr/bin/env bash
# Builds and runs every test, headless:
#   0. every C++ file in the house layout (.clang-format);
#   1. the normal build, warnings as errors: unit, window, report and packaging tests;
#   2. the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. a short run of each libFuzzer target (clang) from its seed corpus;
#   4. the page for phones: the engine in wasm under node, the page in headless
#      Chromium (scripts/web.sh --test);
#   5. the Windows build under Wine, when its libraries are cached.
# `scripts/test.sh --quick` runs step 1 only.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
jobs="$(nproc)"
fuzz_seconds="${FUZZ_SECONDS:-60}"

bash "$root/scripts/deps.sh" --test
export QT_QPA_PLATFORM=offscreen

echo "== layout (clang-format)"
(cd "$root" && { git ls-files '*.cpp' '*.h' 2>/dev/null ||
    find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print; } | xargs clang-format --dry-run --Werror)

echo "== normal build"
cmake -S "$root" -B "$build" -DPAYSLIP_WERROR=ON -DPAYSLIP_TESTS=ON -DPAYSLIP_BENCH=ON -DPAYSLIP_PACKAGING=ON >/dev/null
cmake --build "$build" -j"$jobs"
(cd "$build" && ctest --output-on-failure -j"$jobs")

[ "${1:-}" = "--quick" ] && exit 0

echo "== sanitizer build (ASan + UBSan)"
cmake -S "$root" -B "$build-asan" -DPAYSLIP_WERROR=ON -DPAYSLIP_SANITIZE=ON \
      -DPAYSLIP_TESTS=ON -DPAYSLIP_BENCH=OFF -DPAYSLIP_PACKAGING=OFF >/dev/null
cmake --build "$build-asan" -j"$jobs"
# Leaks are checked for the project's own code; the desktop libraries keep
# caches for the life of the process, which LeakSanitizer would report.
(cd "$build-asan" &&
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
    LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    PAYSLIP_SOAK_ACTIONS=10000 \
    ctest --output-on-failure -j"$jobs")

echo "== fuzzing, ${fuzz_seconds}s a target"
CXX=clang++ cmake -S "$root" -B "$build-fuzz" -DPAYSLIP_FUZZ=ON -DPAYSLIP_SANITIZE=ON -DPAYSLIP_WINDOW=OFF \
      -DPAYSLIP_TESTS=OFF -DPAYSLIP_BENCH=OFF >/dev/null
cmake --build "$build-fuzz" -j"$jobs"
for target in amount_fuzz recalc_fuzz; do
    corpus="$build-fuzz/corpus-${target%_fuzz}"
    mkdir -p "$corpus"
    (cd "$build-fuzz" && "./fuzz/$target" -max_total_time="$fuzz_seconds" -timeout=5 -print_final_stats=1 \
        "$corpus" "$root/fuzz/corpus/${target%_fuzz}" 2>&1 | tail -n 12)
done
echo "fuzz: 2 passed, 0 failed"

echo "== the page: the engine in wasm under node, the page in headless Chromium"
PAYSLIP_CLI="$build/cli/payslip-cli" bash "$root/scripts/web.sh" --test

# The Windows build under Wine, when its cross-built libraries are already in
# the cache (a first build of Qt for Windows takes the better part of an hour,
# so only scripts/windows.sh --test ever starts one).
echo "== Windows, under Wine, if its libraries are cached"
BUILD_DIR="$build-windows" bash "$root/scripts/windows.sh" --if-cached
