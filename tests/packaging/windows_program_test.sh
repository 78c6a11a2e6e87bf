#!/usr/bin/env bash
# Packs the Windows program as its zip, unpacks it into a fresh folder whose
# path holds capitals, blanks and an umlaut, and starts Corvane2.exe from there
# under Wine on a virtual display, as a user who unpacked it would: the main
# window shows, closes, and leaves the first start's files beside the program.
# Nothing from the build is on Wine's path: the zip must carry all it needs.
# Usage: windows_program_test.sh BUILD_DIR   (exit 77: skipped)
set -euo pipefail

build=$(cd "$1" && pwd)
for tool in cpack unzip wine Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: needs $tool (the test command installs it)"
        exit 77
    fi
done
work=$(mktemp -d)
cleanup() {
    kill "${program:-}" "${xvfb:-}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; exit 1; }
zip=$(ls "$work"/package/*.zip)
echo "Zip: $(basename "$zip"), $(stat -c %s "$zip") bytes"
folder="$work/Unpacked Here Ü"
mkdir -p "$folder"
unzip -q "$zip" -d "$folder"
program_dir=$(ls -d "$folder"/Corvane2-*-windows-x64)
before=$(ls "$program_dir")

unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM QT_QPA_FONTDIR
source "$(dirname "$0")/virtual_display.sh"
start_virtual_display "$work"

(cd "$program_dir" && exec wine ./Corvane2.exe) >"$work/program.log" 2>&1 &
program=$!

# Wine starts slowly.
if ! main=$(wait_for_main_window 1200); then
    echo "FAIL: the main window never showed" >&2
    cat "$work/program.log" >&2
    exit 1
fi
echo "The main window showed: $(xdotool getwindowname "$main")"
if [ -n "${CORVANE_SCREENSHOT:-}" ]; then
    sleep 1
    import -window root "$CORVANE_SCREENSHOT"
fi

xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key alt+F4
for _ in $(seq 150); do
    kill -0 "$program" 2>/dev/null || break
    box=$(visible "Confirmation")
    [ -n "$box" ] && { xdotool windowfocus --sync "$box" 2>/dev/null && xdotool key Return || true; }
    sleep 0.2
done
if kill -0 "$program" 2>/dev/null; then
    echo "FAIL: the program did not close" >&2
    exit 1
fi

after=$(ls "$program_dir")
written=$(comm -13 <(echo "$before") <(echo "$after"))
echo "Written beside the program: $(echo $written)"
for file in Corvane2.cfg Corvane2.net; do
    [ -f "$program_dir/$file" ] || { echo "FAIL: no $file beside the program" >&2; exit 1; }
done
[ "$(cat "$program_dir/Corvane2.cfg")" = "0-1" ] || { echo "FAIL: Corvane2.cfg holds $(cat "$program_dir/Corvane2.cfg")" >&2; exit 1; }
echo "The unpacked program started, closed, and kept its files beside itself."
