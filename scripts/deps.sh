#!/usr/bin/env bash
# Installs the Debian packages that are missing:
#   scripts/deps.sh          what building and running the programs needs;
#   scripts/deps.sh --test   that, and the tools of the test command: GoogleTest,
#                            Google Benchmark, clang with its sanitizer runtime
#                            (fuzzing), clang-format (the house layout),
#                            poppler (PDF checks), and the packaging
#                            checks (dpkg-dev, desktop-file-utils, appstream);
#   scripts/deps.sh --only PACKAGE...   just those (the page's own, for web.sh).
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-svg-dev libgl-dev qt6-qpa-plugins
    libcli11-dev nlohmann-json3-dev libcsv-dev libxlsxwriter-dev zlib1g-dev
    fonts-noto-core
)
test_packages=(
    libgtest-dev libbenchmark-dev
    clang clang-format libclang-rt-14-dev
    poppler-utils
    dpkg-dev desktop-file-utils appstream
)

case "${1:-}" in
    "") ;;
    --test) packages+=("${test_packages[@]}") ;;
    --only) shift; packages=("$@") ;;
    *) echo "usage: $0 [--test | --only PACKAGE...]" >&2; exit 2 ;;
esac

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
