#!/usr/bin/env bash
# The Windows build under Wine, after scripts/windows.sh has built it:
#   windows_test.sh BUILD VERSION
# 1. payslip-cli.exe against the Linux build of the same sources
#    (packaging/windows/wine_test.py);
# 2. payslip.exe on a virtual display: its window and the comparison window
#    photographed into BUILD/screenshots (copied into docs/ by hand), and a
#    zone allowance typed in changes the net pay;
# 3. the installer: silent install, the installed program starts, the
#    uninstaller removes everything.
# Ends with "windows: N passed, N failed".
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
version="$2"
stage="$build/payslip-$version-win64"
export WINEPREFIX="$build/wineprefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
passed=0
failed=()
check() { # name, then a command that succeeds when the check holds
    local name="$1"; shift
    if "$@"; then passed=$((passed + 1)); echo "ok: $name"; else failed+=("$name"); echo "FAILED: $name"; fi
}

echo "== the Linux build to compare with"
cmake --build "$build/host" -j"$(nproc)" --target payslip-cli >/dev/null
linux_cli="$build/host/cli/payslip-cli"

echo "== the Wine prefix"
if [ ! -f "$WINEPREFIX/.payslip-ready" ]; then
    rm -rf "$WINEPREFIX"
    # Without 32-bit Wine, wineboot reports the missing syswow64 helpers and
    # may exit non-zero; the 64-bit prefix is made all the same.
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    [ -d "$WINEPREFIX/drive_c/windows/Fonts" ] || { echo "windows_test: wineboot made no prefix" >&2; exit 1; }
    touch "$WINEPREFIX/.payslip-ready"
fi
# Wine brings no font that writes Arabic. A Windows machine has Arial, with
# Arabic, Latin and the signs between them; these together cover as much.
cp /usr/share/fonts/truetype/noto/NotoNaskhArabic-Regular.ttf \
   /usr/share/fonts/truetype/noto/NotoNaskhArabic-Bold.ttf \
   /usr/share/fonts/truetype/noto/NotoSans-Regular.ttf \
   /usr/share/fonts/truetype/noto/NotoSans-Bold.ttf \
   /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
   /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf "$WINEPREFIX/drive_c/windows/Fonts/"

echo "== payslip-cli.exe against the Linux build"
if python3 "$root/packaging/windows/wine_test.py" "$root" "$stage" "$linux_cli"; then
    passed=$((passed + 1))
else
    failed+=("payslip-cli.exe against the Linux build")
fi

echo "== payslip.exe on a virtual display"
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1600x1100x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done

shots="$build/screenshots"
mkdir -p "$shots"
wait_window() { # class name, then the seconds to wait: prints the window's id
    local id
    for _ in $(seq "$((${2:-60} * 5))"); do
        id="$(xdotool search --onlyvisible --classname "$1" 2>/dev/null | tail -n 1 || true)"
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}
copied_slip() { # the slip as the window copies it (Ctrl+Shift+C)
    # xclip stays behind to serve the selection: keep it off the caller's pipe.
    xclip -selection clipboard -i </dev/null >/dev/null 2>&1
    xdotool key --window "$1" --clearmodifiers ctrl+shift+c 2>/dev/null
    sleep 1
    xclip -selection clipboard -o -t UTF8_STRING 2>/dev/null || true
}
net_pay() { grep -E 'صافي' | grep -Eo '[0-9]+\.[0-9]{2}' | tail -n 1; }

(cd "$stage" && wine payslip.exe >"$shots/payslip.log" 2>&1 &)
if window="$(wait_window payslip.exe 90)"; then
    passed=$((passed + 1))
    sleep 3
    import -window "$window" "$shots/window.png"
    before="$(copied_slip "$window")"
    # The zone allowance (Text10): the middle of its field, in pixels of the
    # window's inside (group Frame11 at 4560,0 twips, the field at 240,240
    # in it, 2175 by 405; 15 twips a pixel), below Wine's own title bar.
    zone_x=$(( (4560 + 240 + 2175 / 2) / 15 ))
    zone_y=$(( (0 + 240 + 405 / 2) / 15 + ${WINE_TITLE_BAR:-0} ))
    xdotool mousemove --window "$window" "$zone_x" "$zone_y" click --repeat 3 1 2>/dev/null
    xdotool key --window "$window" ctrl+a 2>/dev/null
    xdotool type --window "$window" --delay 80 "5000" 2>/dev/null
    sleep 1
    after="$(copied_slip "$window")"
    import -window "$window" "$shots/window-typed.png"
    net_before="$(printf '%s\n' "$before" | net_pay || true)"
    net_after="$(printf '%s\n' "$after" | net_pay || true)"
    echo "net pay before: ${net_before:-?}, after typing 5000 as the zone allowance: ${net_after:-?}"
    check "typing a zone allowance changes the net pay" \
        test -n "$net_before" -a -n "$net_after" -a "$net_before" != "$net_after"
    linux_after="$("$linux_cli" --zone 5000 --json | python3 -c 'import json,sys; d=json.load(sys.stdin); print(d["Text21"])' 2>/dev/null || true)"
    check "the net pay after typing is the Linux program's" test "$net_after" = "$linux_after"
    # The comparison window, from its shortcut.
    xdotool key --window "$window" ctrl+m 2>/dev/null
    sleep 3
    if compare="$(xdotool search --onlyvisible --classname payslip.exe | grep -vx "$window" | tail -n 1)" && [ -n "$compare" ]; then
        import -window "$compare" "$shots/compare.png"
        passed=$((passed + 1))
    else
        failed+=("the comparison window opens")
    fi
else
    failed+=("payslip.exe opens its window")
    cat "$shots/payslip.log"
fi
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

echo "== the installer"
setup="$build/payslip-$version-setup.exe"
wine "$setup" /S
wineserver -w
installed="$(find "$WINEPREFIX/drive_c" -path '*/payslip/payslip-cli.exe' | head -n 1)"
check "the installer puts the program in place" test -n "$installed"
if [ -n "$installed" ]; then
    dir="$(dirname "$installed")"
    check "the installed program starts and computes" \
        bash -c "cd '$dir' && wine payslip-cli.exe --json | grep -q Text21"
    check "a Start-menu entry named كشف الراتب" \
        bash -c "find '$WINEPREFIX/drive_c' -name 'كشف الراتب.lnk' | grep -q ."
    check "Apps and features knows its name and version" \
        bash -c "wine reg query 'HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\payslip' /v DisplayVersion | grep -q '$version'"
    wine "$dir/uninstall.exe" /S
    wineserver -w
    sleep 2
    check "the uninstaller removes the program" test ! -e "$dir"
    check "the uninstaller removes the Start-menu entry" \
        bash -c "! find '$WINEPREFIX/drive_c' -name 'كشف الراتب.lnk' | grep -q ."
    check "the uninstaller removes its registry entry" \
        bash -c "! wine reg query 'HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\payslip' >/dev/null 2>&1"
fi

echo "windows: $passed passed, ${#failed[@]} failed"
for name in "${failed[@]}"; do echo "  failed: $name"; done
[ ${#failed[@]} -eq 0 ]
