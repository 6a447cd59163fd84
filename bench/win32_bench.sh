#!/usr/bin/env bash
# The Windows benchmark as one run: win32_bench under Wine, then the Qt search_bench, on the
# same fresh Xvfb, so that the three per-trial costs can be set side by side.
#   bench/win32_bench.sh   (after building the release and mingw presets)
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'WINEPREFIX=$work/prefix wineserver --kill 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
exec 3> "$work/display"
Xvfb -displayfd 3 -noreset -screen 0 800x600x24 -nolisten tcp 2>/dev/null &
xvfb=$!
while [ ! -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" WINEPREFIX="$work/prefix" WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
wineserver --persistent
wineboot --init >/dev/null 2>&1
wine build/mingw/bench/win32_bench.exe
QT_QPA_PLATFORM=xcb build/release/bench/search_bench
