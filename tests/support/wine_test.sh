#!/usr/bin/env bash
# Runs a test program under Wine: wine_test.sh <wine-run> <program> [arguments...]. Its output
# goes through a log file, which Wine's services cannot hold open; a crash ends the program
# instead of starting Wine's debugger.
set -uo pipefail
wine_run=$1
shift
log=$1.log
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};winedbg.exe=d"
"$wine_run" "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
exit $status
