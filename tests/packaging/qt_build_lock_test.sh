#!/usr/bin/env bash
# Two runs of scripts/build-windows-qt at once, with a stand-in for the build:
# the second waits for the first, builds nothing, and names the same Qt.
set -euo pipefail
script=$(cd "$(dirname "$0")/../.." && pwd)/scripts/build-windows-qt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/builder" <<'BUILDER'
#!/usr/bin/env bash
# Fails when another build is under way in the same folder.
set -eu
[ ! -e "$1/building" ] || { echo "two builds at once" >&2; exit 1; }
touch "$1/building"
echo build >>"$1/builds"
sleep 2
rm "$1/building"
BUILDER
chmod +x "$work/builder"

export CORVANE_QT_MINGW="$work/Qt Ü" CORVANE_QT_MINGW_BUILDER="$work/builder"
bash "$script" >"$work/first" 2>"$work/first.log" &
first=$!
sleep 0.5
status=0
bash "$script" >"$work/second" 2>"$work/second.log" || status=$?
wait "$first" || { echo "FAIL: the first run failed: $(cat "$work/first.log")" >&2; exit 1; }
[ "$status" -eq 0 ] || { echo "FAIL: the second run failed: $(cat "$work/second.log")" >&2; exit 1; }
for run in first second; do
    [ "$(cat "$work/$run")" = "$CORVANE_QT_MINGW" ] || { echo "FAIL: the $run run named '$(cat "$work/$run")'" >&2; exit 1; }
done
grep -q "Waiting for another build" "$work/second.log" || { echo "FAIL: the second run did not wait" >&2; exit 1; }
[ "$(wc -l <"$CORVANE_QT_MINGW/builds")" -eq 1 ] || { echo "FAIL: Qt was built $(wc -l <"$CORVANE_QT_MINGW/builds") times" >&2; exit 1; }
echo "one build; the second run waited and found it"
