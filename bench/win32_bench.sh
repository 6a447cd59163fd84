#!/usr/bin/env bash
# The Windows benchmark as one run: win32_bench under Wine, then the Qt search_bench, on the
# same fresh Xvfb, so that the three per-trial costs can be set side by side. Wine runs in
# $WINEPREFIX where one is set (its server kept up), else in a throw-away prefix.
usage="usage: bench/win32_bench.sh   (after building the release and mingw presets)"
set -euo pipefail
case "${1:-}" in
-h | --help) echo "$usage" && exit 0 ;;
"") ;;
*) echo "$usage" >&2 && exit 2 ;;
esac
cd "$(dirname "$0")/.."
for program in build/mingw/bench/win32_bench.exe build/release/bench/search_bench; do
    [ -x "$program" ] || { echo "win32_bench.sh: no $program; $usage" >&2 && exit 1; }
done
work=$(mktemp -d)
given_prefix=${WINEPREFIX:-}
trap 'if [ -z "$given_prefix" ]; then wineserver --kill 2>/dev/null || true; fi
      kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
exec 3>"$work/display"
Xvfb -displayfd 3 -noreset -screen 0 800x600x24 -nolisten tcp 2>/dev/null &
xvfb=$!
while [ ! -s "$work/display" ]; do sleep 0.1; done
DISPLAY=":$(cat "$work/display")"
export DISPLAY WINEPREFIX="${WINEPREFIX:-$work/prefix}" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ -z "$given_prefix" ]; then
    mkdir -p "$WINEPREFIX"
    wineserver --persistent
    wineboot --init >/dev/null 2>&1
fi
wine build/mingw/bench/win32_bench.exe
QT_QPA_PLATFORM=xcb build/release/bench/search_bench
