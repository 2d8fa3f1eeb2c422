#!/usr/bin/env bash
# Runs one end-to-end scenario under Wine:  run_scenario.sh <wine-run> <driver> <scenario>
# <VestroFile.exe> <output folder> [--program-files]. On failure the driver's screenshot (BMP)
# becomes a PNG beside it, for a person to look at.
set -uo pipefail

wine_run=$1
driver=$2
scenario=$3
[ -n "$scenario" ] || { echo "run_scenario.sh: no scenario named" >&2; exit 2; }
output=$5

if [ -z "${DISPLAY:-}" ]; then
    echo "end-to-end scenario $scenario needs an X display: run ctest under xvfb-run -a" >&2
    exit 1
fi

# The prefix wine-run will use. A failed run may leave Unix links in its folder, which only the
# Unix side can remove as links, so the scenario's folder is cleared from here first.
if [ -z "${WINEPREFIX:-}" ]; then
    build_dir=$(cd "$(dirname "$driver")" && pwd)
    while [ "$build_dir" != / ] && [ ! -f "$build_dir/CMakeCache.txt" ]; do
        build_dir=$(dirname "$build_dir")
    done
    export WINEPREFIX=$build_dir/wineprefix
fi
rm -rf "$WINEPREFIX/drive_c/vestro-e2e/$scenario"

screenshot=$output/screenshots/$scenario
rm -f "$screenshot.bmp" "$screenshot.png"

bash "$(dirname "$0")/wine_program.sh" "$wine_run" "$output/logs/$scenario.log" "$driver" "${@:3}"
status=$?

if [ -f "$screenshot.bmp" ]; then
    if command -v convert >/dev/null && convert "$screenshot.bmp" "$screenshot.png" 2>/dev/null; then
        rm -f "$screenshot.bmp"
        echo "screenshot: $screenshot.png"
    else
        echo "screenshot: $screenshot.bmp"
    fi
fi
exit $status
