#!/usr/bin/env bash
# Packs the build as a Debian package, checks it as Debian and AppStream do,
# unpacks it into a staging root, and uses the installed program as a user
# would, from a bin/ nobody can write: the files it keeps must land in the
# user's own folder, and nothing beside the program.
# Usage: installed_package_test.sh BUILD_DIR   (exit 77: skipped)
set -euo pipefail

if [ "${1:-}" = --inside ]; then
    work=$2
    root=$work/root
    # Read-only for everyone, the superuser too, and only in this namespace.
    mount --make-rprivate /
    mount --bind "$root/usr/bin" "$root/usr/bin"
    mount -o remount,bind,ro "$root/usr/bin"
    if touch "$root/usr/bin/probe" 2>/dev/null; then
        echo "FAIL: bin/ is still writable" >&2
        exit 1
    fi
    ls -la "$root/usr/bin" >"$work/bin-before"

    export HOME=$work/home XDG_CONFIG_HOME=$work/config CORVANE_DRIVES_DIR=$work/drives
    export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb LANG=C.UTF-8
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$CORVANE_DRIVES_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    source "$(dirname "$0")/virtual_display.sh"
    start_virtual_display "$work"

    # A sanitizer build's program: libxkbcommon's strndup reads past what it uses.
    ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}intercept_strndup=0 "$root/usr/bin/Corvane2" >"$work/program.log" 2>&1 &
    program=$!
    trap 'kill $program $xvfb 2>/dev/null || true' EXIT

    window() { xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
    if ! main=$(wait_for_main_window 300); then
        echo "FAIL: the main window never showed" >&2
        cat "$work/program.log" >&2
        exit 1
    fi
    xdotool windowfocus --sync "$main"
    eval "$(xdotool getwindowgeometry --shell "$main")"
    # The Add button of the catalogue: panel at 8,66, button at 8,352, 104 by 27.
    xdotool mousemove --sync $((X + 8 + 8 + 52)) $((Y + 66 + 352 + 13)) click 1
    dialog=$(window "Select Network path")
    xdotool windowfocus --sync "$dialog"
    xdotool type --delay 20 '\\nas\Media Share'
    xdotool key Tab Tab
    xdotool type --delay 20 'Films'
    xdotool key Return
    sleep 0.5
    # Exit, at 632,466, 82 by 32.
    xdotool mousemove --sync $((X + 632 + 41)) $((Y + 466 + 16)) click 1
    for _ in $(seq 100); do kill -0 $program 2>/dev/null || break; sleep 0.1; done
    if kill -0 $program 2>/dev/null; then
        echo "FAIL: the program did not close" >&2
        exit 1
    fi

    expected=$(printf '1 2.0\r\n0,\\\\nas\\Media Share\r\nFilms')
    actual=$(cat "$XDG_CONFIG_HOME/Corvane/Corvane2.net" 2>/dev/null || echo "(no file)")
    if [ "$actual" != "$expected" ]; then
        echo "FAIL: the catalogue in the user's folder holds: $actual" >&2
        cat "$work/program.log" >&2
        exit 1
    fi
    [ "$(cat "$XDG_CONFIG_HOME/Corvane/Corvane2.cfg")" = "0-1" ] || { echo "FAIL: no configuration" >&2; exit 1; }
    # The installed console program reads what the window kept, in the same folder.
    listed=$("$root/usr/bin/corvane" catalogue </dev/null)
    [ "$listed" = $'\\\\nas\\Media Share\tFilms\t-' ] || { echo "FAIL: corvane catalogue printed: $listed" >&2; exit 1; }
    [ "$("$root/usr/bin/corvane" profiles </dev/null)" = "* Default Network Mapping List" ] \
        || { echo "FAIL: corvane profiles" >&2; exit 1; }
    ls -la "$root/usr/bin" >"$work/bin-after"
    diff "$work/bin-before" "$work/bin-after" >&2 || { echo "FAIL: something was written into bin/" >&2; exit 1; }
    echo "The installed program kept its files in the user's folder."
    exit 0
fi

build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for tool in cpack dpkg-deb lintian appstreamcli desktop-file-validate Xvfb xdotool unshare; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: needs $tool (the test command installs it)"
        exit 77
    fi
done

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/package/*.deb)
echo "Package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libglib2.0-0 gvfs-backends gvfs-fuse; do
    grep -q "$needed" <<<"$depends" || { echo "FAIL: the package does not depend on $needed" >&2; exit 1; }
done
lintian --fail-on error --suppress-tags-from-file /dev/null "$deb"
dpkg-deb -x "$deb" "$work/root"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.corvane.Corvane2.metainfo.xml"
# Hints too: two main categories would show the program twice in a menu.
said=$(desktop-file-validate "$work/root/usr/share/applications/org.corvane.Corvane2.desktop" 2>&1) \
    || { echo "FAIL: desktop-file-validate: $said" >&2; exit 1; }
[ -z "$said" ] || { echo "FAIL: desktop-file-validate: $said" >&2; exit 1; }
[ -f "$work/root/usr/share/man/man1/corvane.1.gz" ] || { echo "FAIL: no manual page of corvane" >&2; exit 1; }
for size in 16 32 48 256; do
    [ -f "$work/root/usr/share/icons/hicolor/${size}x${size}/apps/corvane2.png" ] || { echo "FAIL: no ${size}px icon" >&2; exit 1; }
done
# The installed network command runs and lists no letters in an empty drives folder.
mkdir "$work/drives"
listed=$(CORVANE_DRIVES_DIR="$work/drives" "$work/root/usr/bin/corvane-net" use </dev/null)
[ "$listed" = $'There are no entries in the list.\n\nThe command completed successfully.' ] \
    || { echo "FAIL: corvane-net use printed: $listed" >&2; exit 1; }

if ! unshare -m true 2>/dev/null; then
    echo "SKIP: no read-only mount can be made here (needs the superuser and mount namespaces)"
    exit 77
fi
unshare -m bash "$0" --inside "$work"
