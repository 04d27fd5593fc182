#!/usr/bin/env bash
# The calculator as a static site, for phones and any browser, built with
# Debian's emscripten into build-web/site/ (WEB_BUILD_DIR to change it):
#   scripts/web.sh           installs what is missing, builds the site;
#   scripts/web.sh --serve   that, then serves it on http://127.0.0.1:8080/ (PORT);
#   scripts/web.sh --test    that, then the web tests, headless: the engine's tests
#                            and the number probe under node, the page in Chromium;
#   scripts/web.sh --bench   that, then the page's figures and the pictures of docs/web.md.
# The tests compare with the native payslip-cli: PAYSLIP_CLI names one, or it
# is built in build-web/native/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${WEB_BUILD_DIR:-$root/build-web}"
mode="${1:-}"
case "$mode" in
    "" | --serve | --test | --bench) ;;
    *) echo "usage: $0 [--serve | --test | --bench]" >&2; exit 2 ;;
esac

# --- What is missing, from Debian
packages=(emscripten libfast-float-dev cmake make python3 librsvg2-bin pngquant)
command -v node >/dev/null || packages+=(nodejs)
if [ "$mode" = --test ] || [ "$mode" = --bench ]; then
    packages+=(chromium fonts-noto-core)
    command -v npm >/dev/null || packages+=(npm)
fi
[ "$mode" = --bench ] && packages+=(poppler-utils)
if [ "$mode" = --test ]; then
    packages+=(googletest g++)
    [ -n "${PAYSLIP_CLI:-}" ] ||
        packages+=(pkg-config libcli11-dev nlohmann-json3-dev libcsv-dev libxlsxwriter-dev zlib1g-dev)
fi
bash "$root/scripts/deps.sh" --only "${packages[@]}"

# --- The engine and its binding, in wasm
export NODE_PATH=/usr/share/nodejs # em++ needs Debian's acorn
targets=(payslip-engine)
[ "$mode" = --test ] && targets+=(engine_tests number_probe)
emcmake cmake -S "$root" -B "$build" -DPAYSLIP_WEB=ON -DPAYSLIP_WINDOW=OFF -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

# --- The site: its files, the icons, and the service worker that caches
# them under a name made of their content's hash. Written beside, then put
# in place whole.
site="$build/site"
rm -rf "$site.new"
mkdir -p "$site.new"
cp "$root"/web/{index.html,style.css,page.js,engine.js,print.js,manifest.webmanifest} "$site.new/"
cp "$build"/web/payslip-engine.{js,wasm} "$site.new/"
for size in 192 512; do
    rsvg-convert -w "$size" -h "$size" "$root/window/resources/payslip.svg" -o "$site.new/icon-$size.rgba.png"
    # In a palette of 256 colours: a quarter of the bytes, the same picture to the eye.
    pngquant --strip --speed 1 --force --output "$site.new/icon-$size.png" "$site.new/icon-$size.rgba.png"
    rm "$site.new/icon-$size.rgba.png"
done
version="$(cd "$site.new" && sha256sum -- * | sha256sum | cut -c1-16)"
files="'./'$(cd "$site.new" && for f in *; do printf ", '%s'" "$f"; done)"
sed -e "s/@VERSION@/$version/" -e "s|@FILES@|$files|" "$root/web/sw.js" >"$site.new/sw.js"
rm -rf "$site"
mv "$site.new" "$site"
echo "web: $site, version $version"

if [ "$mode" = --serve ]; then
    echo "serving on http://127.0.0.1:${PORT:-8080}/"
    exec python3 -m http.server "${PORT:-8080}" --bind 127.0.0.1 --directory "$site"
fi

# The npm packages of the tests (and of the benchmark) in the build folder.
npm_install() {
    mkdir -p "$2"
    cp "$1/package.json" "$1/package-lock.json" "$2/"
    (cd "$2" && npm ci --no-audit --no-fund --loglevel=error)
}
if [ "$mode" = --bench ]; then
    npm_install "$root/web" "$build/npm"
    npm_install "$root/web/bench" "$build/npm-bench"
    WEB_BUILD="$build" node "$root/web/bench/bench.mjs"
    WEB_BUILD="$build" node "$root/web/bench/screenshots.mjs"
    exit 0
fi
[ "$mode" = --test ] || exit 0

# --- The tests
echo "== the engine's tests under node (wasm)"
(cd "$build" && node --no-experimental-fetch web/engine_tests.js --gtest_brief=1)

echo "== the number probe: the wasm's texts against the native standard library's"
g++ -std=c++20 -O2 -I"$root" "$root/web/tests/number_probe.cpp" "$root/paydata/number_text.cpp" -o "$build/number_probe"
"$build/number_probe" 50000 >"$build/probe-native.txt"
node --no-experimental-fetch "$build/web/number_probe.js" 50000 >"$build/probe-wasm.txt"
cmp "$build/probe-native.txt" "$build/probe-wasm.txt"
echo "number probe: $(wc -l <"$build/probe-native.txt") conversions, 0 differences"

if [ -z "${PAYSLIP_CLI:-}" ]; then
    cmake -S "$root" -B "$build/native" -DPAYSLIP_WINDOW=OFF -DPAYSLIP_TESTS=OFF -DPAYSLIP_BENCH=OFF \
          -DPAYSLIP_PACKAGING=OFF >/dev/null
    cmake --build "$build/native" -j"$(nproc)" --target payslip-cli
    PAYSLIP_CLI="$build/native/cli/payslip-cli"
fi

echo "== the binding under node, the page in Chromium"
npm_install "$root/web" "$build/npm"
PAYSLIP_CLI="$PAYSLIP_CLI" WEB_BUILD="$build" node --test "$root"/web/tests/*.test.mjs
