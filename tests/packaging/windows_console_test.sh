#!/usr/bin/env bash
# The console program of the Windows zip under Wine, unpacked into a folder
# whose path holds capitals, blanks and an umlaut, against a fake network
# provider registered for the run: the system's own connection calls reach it
# with the profile's paths, the user, the password from standard input and the
# persistence, and what it answers comes back line by line.
# Usage: windows_console_test.sh BUILD_DIR PROVIDER_DLL   (exit 77: skipped)
set -euo pipefail

build=$(cd "$1" && pwd)
provider=$2
for tool in cpack unzip wine; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: needs $tool (the test command installs it)"
        exit 77
    fi
done
[ -f "$provider" ] || { echo "FAIL: no network provider at $provider" >&2; exit 1; }
work=$(mktemp -d)
order='HKLM\System\CurrentControlSet\Control\NetworkProvider\Order'
service='HKLM\System\CurrentControlSet\Services\CorvaneFake'
# The system remembers a persistent attach under HKCU\Network, in the
# emulator's profile that outlives the run: none is left behind.
forget_letters() {
    wine reg delete 'HKCU\Network\Q' /f >/dev/null 2>&1 || true
    wine reg delete 'HKCU\Network\R' /f >/dev/null 2>&1 || true
}
cleanup() {
    forget_letters
    wine reg delete "$order" /v ProviderOrder /f >/dev/null 2>&1 || true
    wine reg delete "$service" /f >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
forget_letters

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; exit 1; }
folder="$work/Unpacked Here Ü"
mkdir -p "$folder"
unzip -q "$work"/package/*.zip -d "$folder"
program_dir=$(ls -d "$folder"/Corvane2-*-windows-x64)
[ -f "$program_dir/corvane.exe" ] || fail "the zip holds no corvane.exe"
cp "$provider" "$work/fake-network-provider.dll"

wine reg add "$service\\NetworkProvider" /v ProviderPath /t REG_SZ /d "$(winepath -w "$work/fake-network-provider.dll")" /f >/dev/null
wine reg add "$service\\NetworkProvider" /v Name /t REG_SZ /d "Corvane fake network" /f >/dev/null
wine reg add "$order" /v ProviderOrder /t REG_SZ /d CorvaneFake /f >/dev/null

# A profile Work, the current one, whose second path needs credentials.
cd "$program_dir"
printf '1-2\r\nWork\r\n' >Corvane2.cfg
mkdir -p Profile
printf '2\r\nQ: \\\\corvane-fake\\pub\r\nR: \\\\corvane-fake\\secret\r\n' >Profile/Work.pro
printf '2 2.0\r\n0,\\\\corvane-fake\\pub\r\nPublic\r\n1,\\\\corvane-fake\\secret\r\nSecret' >Corvane2.net
export CORVANE_FAKE_NET_LOG
CORVANE_FAKE_NET_LOG=$(winepath -w "$work/calls.log")

# Runs corvane.exe with standard input from $2; its status, output and errors in $work.
run() {
    local status=0
    wine ./corvane.exe $1 <"${2:-/dev/null}" >"$work/out" 2>"$work/err" || status=$?
    echo "$status" >"$work/status"
    tr -d '\r' <"$work/out" >"$work/out.txt"
    tr -d '\r' <"$work/err" >"$work/err.txt"
}
expect() {
    local what=$1 expected=$2 actual
    actual=$(cat "$work/$what")
    [ "$actual" = "$expected" ] || fail "corvane $3: $what was [$actual], not [$expected] (errors: $(cat "$work/err"))"
}

run profiles
expect status 0 profiles
expect out.txt $'  Default Network Mapping List\n* Work' profiles

run show
expect status 0 show
expect out.txt $'Q: \\\\corvane-fake\\pub\tNot attached\nR: \\\\corvane-fake\\secret\tNot attached' show

printf 'p "a ss"&|x\n' >"$work/password"
run "attach --persistent --user CORP\\anna --password-stdin" "$work/password"
expect status 0 attach
expect out.txt $'Q: \\\\corvane-fake\\pub\tattached\nR: \\\\corvane-fake\\secret\tattached' attach
expect calls.log 'add local=Q: remote=\\corvane-fake\pub user=(none) password=(none) flags=1
add local=R: remote=\\corvane-fake\secret user=CORP\anna password=p "a ss"&|x flags=1' attach
grep -q 'a ss' "$work/out" "$work/err" && fail "the password showed"

# Credentials reach the system as typed, whatever the code pages: from a pipe
# in UTF-8, or else in the console's own code page (here 437, where 0x81 is ü).
rm "$work/calls.log"
printf '\xc5\x81\xc3\xb3d\xc5\xba-\xe2\x82\xac-\xc3\xbc\n' >"$work/password"
run $'attach R: --user=CORP\\\xc5\x81ukasz-j\xc3\xb6rg --password-stdin' "$work/password"
expect status 0 "attach with UTF-8 credentials"
printf 'gr\x81n\n' >"$work/password"
run "attach R: --user CORP\\anna --password-stdin" "$work/password"
expect status 0 "attach with a password in the console's code page"
expect calls.log "$(printf 'add local=R: remote=\\\\corvane-fake\\secret user=CORP\\\xc5\x81ukasz-j\xc3\xb6rg password=\xc5\x81\xc3\xb3d\xc5\xba-\xe2\x82\xac-\xc3\xbc flags=0\nadd local=R: remote=\\\\corvane-fake\\secret user=CORP\\anna password=gr\xc3\xbcn flags=0')" "attach with credentials beyond the ANSI code page"

rm "$work/calls.log"
CORVANE_FAKE_NET_STATUS=53 run "attach Q:"
expect status 1 "attach refused"
grep -q $'^Q: \\\\\\\\corvane-fake\\\\pub\tnot attached: status 53: .' "$work/out.txt" \
    || fail "the refused attach said [$(cat "$work/out.txt")]"
expect calls.log 'add local=Q: remote=\\corvane-fake\pub user=(none) password=(none) flags=0' "attach refused"

run "attach Q: Z:"
expect status 2 "with an unknown letter"
expect err.txt 'corvane: Z: is no letter of the profile "Work"' "with an unknown letter"
echo "corvane.exe listed, showed and attached through the system's calls."
