#!/usr/bin/env bash
# The calculator as a static site, for phones and any browser, built with
# Debian's emscripten into build-web/site/ (WEB_BUILD_DIR to change it):
#   scripts/web.sh           installs what is missing, builds the site;
#   scripts/web.sh --serve   that, then serves it on http://127.0.0.1:8080/ (PORT).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${WEB_BUILD_DIR:-$root/build-web}"
mode="${1:-}"
case "$mode" in
    "" | --serve) ;;
    *) echo "usage: $0 [--serve]" >&2; exit 2 ;;
esac

# --- What is missing, from Debian
packages=(emscripten libfast-float-dev cmake make python3 librsvg2-bin)
command -v node >/dev/null || packages+=(nodejs)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo_cmd apt-get update -q
    $sudo_cmd apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# --- The engine and its binding, in wasm
export NODE_PATH=/usr/share/nodejs # em++ needs Debian's acorn
targets=(payslip-engine)
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
    rsvg-convert -w "$size" -h "$size" "$root/window/resources/payslip.svg" -o "$site.new/icon-$size.png"
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
