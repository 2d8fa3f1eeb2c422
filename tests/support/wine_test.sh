#!/usr/bin/env bash
# Runs a test program under Wine: wine_test.sh <wine-run> <program> [arguments...]. Its output
# goes through a log file, which Wine's services cannot hold open; a crash ends the program
# instead of starting Wine's debugger.
set -uo pipefail
wine_run=$1
shift
log=$1.log
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};winedbg.exe=d"
# Names that differ only in letter case, which Wine would take for one: made here, on the Unix
# side, and read by the program through Wine's Z: drive.
case_folder=$(mktemp -d)
mkdir "$case_folder/docs"
for name in Résumé.txt RÉSUMÉ.TXT other.txt; do echo "$name" >"$case_folder/docs/$name"; done
export VESTRO_CASE_DUPLICATES="Z:${case_folder//\//\\}"
"$wine_run" "$@" >"$log" 2>&1 </dev/null
status=$?
rm -rf "$case_folder"
cat "$log"
exit $status
