#!/usr/bin/env bash
# make windows-test: the Windows build's tests under Wine, in the build's own Wine prefix.
#   windows-test.sh [CTEST OPTIONS]      the tests
#   windows-test.sh --run COMMAND...     COMMAND instead, with the same prefix and Wine session
set -euo pipefail
cd "$(dirname "$0")/.."

export WINEPREFIX=$PWD/build/windows/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
# The 64-bit loader by its path, for this script and every Wine command the tests start: Debian's
# wine wrapper would take the 32-bit one whenever wine32 is installed, and a machine may not run
# 32-bit programs at all.
export WINELOADER=/usr/lib/wine/wine64 WINEARCH=win64
# A prefix made by the earlier 32-bit build cannot run 64-bit programs: it is made anew.
if grep -qs '^#arch=win32' "$WINEPREFIX/system.reg"; then
    rm -rf "$WINEPREFIX"
fi
# A new prefix is made in place by wineboot below, but the server needs its folder to start in.
mkdir -p "$WINEPREFIX"
# The GUI tests' windows go to a virtual X display of this run's own; Wine's services, started
# below, take it too.
display_file=$(mktemp)
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$display_file" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    [[ -s $display_file ]] && break
    sleep 0.1
done
export DISPLAY=:$(cat "$display_file")
rm -f "$display_file"
trap 'kill $xvfb' EXIT
# A server left running in this prefix by an earlier run or by hand goes first.
wineserver -k 2>/dev/null && wineserver -w
# A new prefix is made by a session of its own that ends before the tests start: the registry
# reaches its files only when the server ends, and each testbed copies those files.
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    "$WINELOADER" wineboot -i >/dev/null 2>&1
    wineserver -w
fi
# The same prefix at 125 % and 150 % display scaling, for the layout tests and screenshots at
# those DPIs: Wine takes the DPI from LogPixels. Each is made anew, as the prefix may have changed:
# hard links cost nothing, but the registry, which Wine rewrites in place, is a copy of its own.
for dpi in 120 144; do
    scaled=$WINEPREFIX-${dpi}dpi
    WINEPREFIX=$scaled wineserver -k 2>/dev/null || true
    rm -rf "$scaled"
    cp -al "$WINEPREFIX" "$scaled"
    cp --remove-destination "$WINEPREFIX"/*.reg "$scaled"/
    WINEPREFIX=$scaled "$WINELOADER" reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
        /t REG_DWORD /d $dpi /f >/dev/null 2>&1
    WINEPREFIX=$scaled wineserver -w
done
# One Wine session for the whole run: its server and services start here, with their output away
# from the pipes through which ctest reads each test (they would hold them open), and the first
# start of a new prefix (half a minute) is not charged to a test.
wineserver -p
trap 'wineserver -k; kill $xvfb' EXIT
"$WINELOADER" wineboot -i >/dev/null 2>&1
if [[ ${1:-} == --run ]]; then
    shift
    "$@"
else
    ctest --preset windows -j2 "$@"
fi
