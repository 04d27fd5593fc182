#!/usr/bin/env bash
# Builds the Windows program on Debian, cross-compiled with MinGW-w64:
#   scripts/windows.sh          payslip-<version>-win64.zip and -setup.exe in build-windows/;
#   scripts/windows.sh --test   that, then the Windows tests under Wine;
#   scripts/windows.sh --deps   only the cross-built libraries (Qt, libcsv,
#                               libxlsxwriter), into the cache;
#   scripts/windows.sh --if-cached
#                               --test when those libraries are already in the
#                               cache, otherwise nothing (the test command's
#                               way: it never waits an hour for Qt).
# Qt (its base: Debian offers no source of its SVG module to fetch, and the
# window draws its picture from a PNG without it) and the C libraries are
# built from Debian's own source packages, once:
# they are kept in $PAYSLIP_WIN_CACHE (default ~/.cache/payslip-windows),
# under a folder named after their versions and configure options, so a
# second run only builds the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-windows}"
cache="${PAYSLIP_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/payslip-windows}"
jobs="$(nproc)"
mode="${1:-}"
case "$mode" in "" | --test | --deps | --if-cached) ;; *) echo "usage: $0 [--test|--deps|--if-cached]" >&2; exit 2 ;; esac
if_cached=""
if [ "$mode" = --if-cached ]; then
    if_cached=1
    mode=--test
    if ! dpkg-query -W -f='${Status}' g++-mingw-w64-x86-64-posix 2>/dev/null | grep -q "install ok installed"; then
        echo "== Windows tests skipped: no cross compiler, so no cached libraries (bash scripts/windows.sh --test runs them)"
        exit 0
    fi
fi
triple=x86_64-w64-mingw32
toolchain="$root/packaging/windows/mingw-w64.cmake"

log() { printf '== %s\n' "$*"; }

# --- Debian packages ---------------------------------------------------------
bash "$root/scripts/deps.sh"
packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev ninja-build
          dpkg-dev perl zip nsis)
[ "$mode" = --test ] && packages+=(wine wine64 xvfb xdotool xclip x11-utils imagemagick fonts-noto-core fonts-dejavu-core python3 poppler-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
# Source packages come from the deb-src twin of the machine's own entries.
src_list=/etc/apt/sources.list.d/payslip-deb-src.sources
need_update=""
if [ ! -f "$src_list" ] && [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $sudo_cmd tee "$src_list" >/dev/null
    need_update=1
fi
if [ ${#missing[@]} -gt 0 ] || [ -n "$need_update" ]; then
    export DEBIAN_FRONTEND=noninteractive
    $sudo_cmd apt-get update -q
    [ ${#missing[@]} -gt 0 ] && $sudo_cmd apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# --- Cross-built libraries, cached -------------------------------------------
qt_version=6.4.2
qt_options=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_xml=OFF -DFEATURE_dbus=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_testlib=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no
    -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF
    # tabletevent: Debian's source leaves out the Wintab headers it needs.
    -DFEATURE_gif=OFF -DFEATURE_tabletevent=OFF -DFEATURE_system_zlib=ON -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_sql_sqlite=OFF
)
key="$( { echo "qt $qt_version"; printf '%s\n' "${qt_options[@]}"; cat "$toolchain";
          echo "libcsv 3.0.3 libxlsxwriter 1.1.4";
          dpkg-query -W -f='${Version}\n' g++-mingw-w64-x86-64-posix libz-mingw-w64-dev; } |
        sha256sum | cut -c1-12)"
prefix="$cache/deps-$qt_version-$key"
if [ -n "$if_cached" ] && ! { [ -f "$prefix/.libcsv-done" ] && [ -f "$prefix/.xlsx-done" ] && [ -f "$prefix/.qtbase-done" ]; }; then
    echo "== Windows tests skipped: no cached libraries in $prefix (bash scripts/windows.sh --test builds them)"
    exit 0
fi
src="$cache/src"

fetch_source() { # package folder-glob
    mkdir -p "$src"
    if ! compgen -G "$src/$2" >/dev/null; then
        (cd "$src" && apt-get source -q "$1") >&2
    fi
    compgen -G "$src/$2" | head -n 1
}

build_qtbase() {
    local dir; dir="$(fetch_source qt6-base 'qt6-base-6.4.2*')"
    log "Qt $qt_version base for Windows (from Debian's source; about an hour on two cores)"
    # A build stopped half-way goes on where it stopped: the work folder is
    # kept until the libraries are installed.
    local work="$cache/work-qtbase"
    if [ "$(cat "$work/.key" 2>/dev/null)" != "$key" ]; then rm -rf "$work"; mkdir -p "$work"; echo "$key" >"$work/.key"; fi
    cmake -G Ninja -S "$dir" -B "$work" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        "${qt_options[@]}" >"$work.configure.log"
    cmake --build "$work" -j"$jobs"
    cmake --install "$work" >/dev/null
    rm -rf "$work" "$work.configure.log"
}

build_libcsv() {
    local dir; dir="$(fetch_source libcsv 'libcsv-3.0.3*')"
    log "libcsv for Windows"
    mkdir -p "$prefix/lib" "$prefix/include"
    "$triple-gcc-posix" -O2 -c "$dir/libcsv.c" -I"$dir" -o "$cache/libcsv.o"
    "$triple-ar" rcs "$prefix/lib/libcsv.a" "$cache/libcsv.o"
    cp "$dir/csv.h" "$prefix/include/"
    rm -f "$cache/libcsv.o"
}

build_libxlsxwriter() {
    local dir; dir="$(fetch_source libxlsxwriter 'libxlsxwriter-1.1.4*')"
    log "libxlsxwriter for Windows"
    rm -rf "$cache/work-xlsx"
    cmake -G Ninja -S "$dir" -B "$cache/work-xlsx" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
        -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF -DUSE_SYSTEM_MINIZIP=OFF -DUSE_OPENSSL_MD5=OFF \
        -DUSE_NO_MD5=OFF >"$cache/work-xlsx.configure.log"
    cmake --build "$cache/work-xlsx" -j"$jobs"
    cmake --install "$cache/work-xlsx" >/dev/null
    rm -rf "$cache/work-xlsx"
}

started=$(date +%s)
mkdir -p "$cache"
[ -f "$prefix/.libcsv-done" ] || { build_libcsv; touch "$prefix/.libcsv-done"; }
[ -f "$prefix/.xlsx-done" ] || { build_libxlsxwriter; touch "$prefix/.xlsx-done"; }
[ -f "$prefix/.qtbase-done" ] || { build_qtbase; touch "$prefix/.qtbase-done"; }
log "libraries ready in $prefix ($(( $(date +%s) - started )) s)"
[ "$mode" = --deps ] && exit 0

# The header-only libraries, beside the others in the target's prefix: their
# CMake files would otherwise put the building machine's /usr/include on the
# compiler's path.
stage_headers() {
    mkdir -p "$prefix/include" "$prefix/share/cmake"
    cp -r /usr/include/nlohmann /usr/include/CLI "$prefix/include/"
    cp -r /usr/share/cmake/nlohmann_json /usr/share/cmake/CLI11 "$prefix/share/cmake/"
}
stage_headers

# --- The program ---------------------------------------------------------------
version="$(sed -n 's/^project(payslip VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
started=$(date +%s)
# The icons are rendered by render_icons built for this machine.
log "render_icons for this machine"
cmake -S "$root" -B "$build/host" -DPAYSLIP_TESTS=OFF -DPAYSLIP_BENCH=OFF >/dev/null
cmake --build "$build/host" -j"$jobs" --target render_icons >/dev/null
log "payslip $version for Windows"
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig:/usr/$triple/lib/pkgconfig"
export PKG_CONFIG_SYSROOT_DIR=/
cmake -G Ninja -S "$root" -B "$build/program" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DPAYSLIP_TESTS=OFF -DPAYSLIP_BENCH=OFF -DPAYSLIP_PACKAGING=ON -DPAYSLIP_WERROR=ON \
    -DPAYSLIP_HOST_RENDER_ICONS="$build/host/packaging/render_icons" \
    >/dev/null
cmake --build "$build/program" -j"$jobs"
log "program built ($(( $(date +%s) - started )) s)"

# --- The portable folder, the zip and the installer -----------------------------
# What goes in: the two programs, the Qt plugins they load (the Windows
# platform, the offscreen platform the command line prints on, the native
# widget style), and every DLL these import that Windows itself does not have,
# found by reading their import tables.
stage="$build/payslip-$version-win64"
rm -rf "$stage"
mkdir -p "$stage/platforms" "$stage/styles"
# Qt puts the programs beside each other at the top of the build, as
# Windows finds DLLs beside a program.
cp "$build/program/payslip.exe" "$build/program/payslip-cli.exe" "$stage/"
cp "$prefix/plugins/platforms/qwindows.dll" "$prefix/plugins/platforms/qoffscreen.dll" "$stage/platforms/"
cp "$prefix/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
dll_dirs=("$prefix/bin" "$prefix/lib" /usr/lib/gcc/$triple/12-posix /usr/$triple/lib /usr/$triple/bin)
find_dll() {
    local d
    for d in "${dll_dirs[@]}"; do
        [ -f "$d/$1" ] && { echo "$d/$1"; return 0; }
    done
    return 1
}
queue=("$stage"/*.exe "$stage"/platforms/*.dll "$stage"/styles/*.dll)
while [ ${#queue[@]} -gt 0 ]; do
    file="${queue[0]}"
    queue=("${queue[@]:1}")
    while read -r dll; do
        [ -f "$stage/$dll" ] && continue
        if path="$(find_dll "$dll")"; then
            cp "$path" "$stage/$dll"
            queue+=("$stage/$dll")
        fi # not ours to ship: a system DLL of Windows
    done < <("$triple-objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p')
done
"$triple-strip" --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll
cp "$root/LICENSE" "$stage/LICENSE.txt"
zipfile="$build/payslip-$version-win64.zip"
rm -f "$zipfile"
(cd "$build" && zip -qr -9 "$zipfile" "$(basename "$stage")")
log "$(basename "$zipfile"): $(du -k "$zipfile" | cut -f1) KiB"

setup="$build/payslip-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" \
    -DICON="$build/program/packaging/icons/org.example.payslip.ico" \
    "$root/packaging/windows/installer.nsi"
log "$(basename "$setup"): $(du -k "$setup" | cut -f1) KiB"
log "done in $(( $(date +%s) - started )) s after the libraries"

[ "$mode" = --test ] && exec bash "$root/scripts/windows_test.sh" "$build" "$version"
exit 0
